#pragma once

#include "link/result_code.h"
#include "link/tcp_address.h"

#include <sys/socket.h>
#include <vector>

namespace ksv {

struct SocketAddress {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family = AF_UNSPEC;
};

// The addresses `address` names, best first. A numeric host resolves at once; a name is looked
// up on a thread of its own that is left behind (to finish and clean up alone) when `wakeFd`
// becomes readable or `timeoutMs` passes, since the lookup itself cannot be cut short.
// kSuccess with at least one address, kLinkClosed once woken, or a platform failure:
// ETIMEDOUT past the time, EHOSTUNREACH for a name that does not resolve.
ResultCode ResolveTcpAddress(const TcpAddress& address, int wakeFd, int timeoutMs,
                             std::vector<SocketAddress>& out);

} // namespace ksv
