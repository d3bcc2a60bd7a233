#include "connect_uri.h"

namespace ksio {
namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The host[:port] part of the origin, or false with the reason.
bool ExtractAuthority(std::string_view origin, std::string_view& authority, std::string& error) {
    if (StartsWith(origin, "https://") || StartsWith(origin, "wss://")) {
        error = "TLS origins are not supported: " + std::string(origin);
        return false;
    }
    for (std::string_view scheme : {"http://", "ws://"}) {
        if (StartsWith(origin, scheme)) {
            origin.remove_prefix(scheme.size());
            break;
        }
    }
    if (!origin.empty() && origin.back() == '/') origin.remove_suffix(1);
    if (origin.empty() || origin.find_first_of("/?#") != std::string_view::npos) {
        error = "the origin must be a scheme and host only";
        return false;
    }
    authority = origin;
    return true;
}

}  // namespace

std::string PercentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

bool BuildConnectUri(const std::string& origin, const std::map<std::string, std::string>& query,
                     std::string& uri, std::string& error) {
    std::string_view authority;
    if (!ExtractAuthority(origin, authority, error)) return false;
    std::string result = "ws://";
    result.append(authority);
    result += "/socket.io/?EIO=4&transport=websocket";
    for (const auto& [key, value] : query) {
        result += '&';
        result += PercentEncode(key);
        result += '=';
        result += PercentEncode(value);
    }
    uri = std::move(result);
    return true;
}

}  // namespace ksio
