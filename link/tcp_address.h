#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ksv {

// Where a TCP device listens, as a ports-folder entry names it: "tcp://HOST:PORT".
struct TcpAddress {
    std::string host; // a name, an IPv4 address, or an IPv6 address without its brackets
    uint16_t port = 0;
};

// Whether the entry asks for TCP at all (it may still be malformed).
bool IsTcpEntry(const std::string& entry);

// HOST is a host name (letters, digits, '-', '.', '_'), a dotted IPv4 address or a bracketed
// IPv6 address; PORT is 1..65535 in decimal. Anything else, trailing text included, is refused.
std::optional<TcpAddress> ParseTcpAddress(const std::string& entry);

} // namespace ksv
