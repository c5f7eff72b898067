#include "link/host_resolver.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <poll.h>
#include <string>
#include <sys/eventfd.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace ksv {
namespace {

// What a lookup thread leaves for whoever still waits; the last owner closes the eventfd.
struct PendingLookup {
    PendingLookup() : doneFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~PendingLookup() {
        if (doneFd >= 0) {
            close(doneFd);
        }
    }
    PendingLookup(const PendingLookup&) = delete;
    PendingLookup& operator=(const PendingLookup&) = delete;

    const int doneFd;
    std::mutex mutex;
    bool done = false;
    int error = 0; // an errno
    std::vector<SocketAddress> addresses;
};

int ErrnoOfLookup(int gaiError) {
    switch (gaiError) {
    case 0:
        return 0;
    case EAI_SYSTEM:
        return errno != 0 ? errno : EIO;
    case EAI_MEMORY:
        return ENOMEM;
    default:
        return EHOSTUNREACH;
    }
}

// getaddrinfo into a list of copies; the errno of its failure, or 0.
int LookUpAddresses(const TcpAddress& address, int flags, std::vector<SocketAddress>& out) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    addrinfo* list = nullptr;
    const std::string port = std::to_string(address.port);
    const int result = getaddrinfo(address.host.c_str(), port.c_str(), &hints, &list);
    if (result != 0) {
        return ErrnoOfLookup(result);
    }
    for (const addrinfo* entry = list; entry; entry = entry->ai_next) {
        if (entry->ai_addrlen > sizeof(sockaddr_storage)) {
            continue;
        }
        SocketAddress copy;
        std::memcpy(&copy.storage, entry->ai_addr, entry->ai_addrlen);
        copy.length = entry->ai_addrlen;
        copy.family = entry->ai_family;
        out.push_back(copy);
    }
    freeaddrinfo(list);
    return out.empty() ? EHOSTUNREACH : 0;
}

void RunLookup(const std::shared_ptr<PendingLookup>& lookup, const TcpAddress& address) {
    std::vector<SocketAddress> found;
    const int error = LookUpAddresses(address, 0, found);
    {
        std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->error = error;
        lookup->addresses = std::move(found);
        lookup->done = true;
    }
    const uint64_t one = 1;
    const ssize_t ignored = write(lookup->doneFd, &one, sizeof one);
    (void)ignored;
}

} // namespace

ResultCode ResolveTcpAddress(const TcpAddress& address, int wakeFd, int timeoutMs,
                             std::vector<SocketAddress>& out) {
    out.clear();
    if (LookUpAddresses(address, AI_NUMERICHOST, out) == 0) {
        return kSuccess;
    }
    out.clear();
    auto lookup = std::make_shared<PendingLookup>();
    if (lookup->doneFd < 0) {
        return PlatformError(errno);
    }
    try {
        std::thread([lookup, address] { RunLookup(lookup, address); }).detach();
    } catch (const std::system_error& error) {
        return PlatformError(error.code().value());
    }
    pollfd fds[2] = {{lookup->doneFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    int ready = 0;
    do {
        ready = poll(fds, 2, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        return PlatformError(errno);
    }
    if (fds[1].revents != 0) {
        return kLinkClosed;
    }
    std::lock_guard<std::mutex> lock(lookup->mutex);
    if (!lookup->done) {
        return PlatformError(ETIMEDOUT);
    }
    if (lookup->error != 0) {
        return PlatformError(lookup->error);
    }
    out = lookup->addresses;
    return kSuccess;
}

} // namespace ksv
