#pragma once

#include <map>
#include <string>
#include <string_view>

namespace ksio {

// Percent-encodes every byte outside RFC 3986's unreserved set (letters, digits, "-._~"), so
// UTF-8 text, spaces and the query's own separators arrive at the server as they were given.
std::string PercentEncode(std::string_view text);

// The websocket URI of the Engine.IO endpoint for an origin such as "http://host:port":
//   ws://host:port/socket.io/?EIO=4&transport=websocket&key=value...
// with keys and values percent-encoded, in the map's order. The origin may be http:// or ws://,
// or carry no scheme; a trailing "/" is accepted. Returns false with a reason in error for an
// empty host, a path, or a TLS scheme (https://, wss://), which this client does not speak.
[[nodiscard]] bool BuildConnectUri(const std::string& origin,
                                   const std::map<std::string, std::string>& query,
                                   std::string& uri, std::string& error);

}  // namespace ksio
