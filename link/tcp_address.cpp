#include "link/tcp_address.h"

#include <algorithm>
#include <cctype>

namespace ksv {
namespace {

constexpr const char kScheme[] = "tcp://";
constexpr size_t kSchemeLength = sizeof kScheme - 1;
constexpr size_t kMaxHostLength = 253;
constexpr size_t kMaxPortDigits = 5;

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '.' || c == '_';
}

bool IsIpv6Char(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0 || c == ':' || c == '.';
}

std::optional<uint16_t> ParsePort(const std::string& text) {
    if (text.empty() || text.size() > kMaxPortDigits) {
        return std::nullopt;
    }
    if (!std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
        return std::nullopt;
    }
    const unsigned long value = std::stoul(text);
    if (value < 1 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(value);
}

// "[v6]:port" or "name:port": the host and the text after its colon.
std::optional<std::pair<std::string, std::string>> SplitHostPort(const std::string& rest) {
    if (!rest.empty() && rest.front() == '[') {
        const size_t close = rest.find(']');
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':') {
            return std::nullopt;
        }
        std::string host = rest.substr(1, close - 1);
        if (host.find(':') == std::string::npos ||
            !std::all_of(host.begin(), host.end(), IsIpv6Char)) {
            return std::nullopt;
        }
        return std::make_pair(std::move(host), rest.substr(close + 2));
    }
    const size_t colon = rest.rfind(':');
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    std::string host = rest.substr(0, colon);
    if (!std::all_of(host.begin(), host.end(), IsNameChar)) {
        return std::nullopt;
    }
    return std::make_pair(std::move(host), rest.substr(colon + 1));
}

} // namespace

bool IsTcpEntry(const std::string& entry) {
    return entry.compare(0, kSchemeLength, kScheme) == 0;
}

std::optional<TcpAddress> ParseTcpAddress(const std::string& entry) {
    if (!IsTcpEntry(entry)) {
        return std::nullopt;
    }
    const auto parts = SplitHostPort(entry.substr(kSchemeLength));
    if (!parts || parts->first.empty() || parts->first.size() > kMaxHostLength) {
        return std::nullopt;
    }
    const std::optional<uint16_t> port = ParsePort(parts->second);
    if (!port) {
        return std::nullopt;
    }
    return TcpAddress{parts->first, *port};
}

} // namespace ksv
