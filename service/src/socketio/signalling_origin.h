#pragma once

#include <string>

namespace kestrum::service {

// The signalling server's origin ("http://host", plain HTTP): a compiled-in default, overridable
// by the environment variable KESTRUM_SIGNAL_URL (e.g. "http://127.0.0.1:3000"), read once on
// first use (DllMain makes that the load of the library). Safe on any thread.
const std::string& SignallingOrigin();

// The origin for a lookup result: the default when empty, else the value without trailing '/'.
std::string SignallingOriginFrom(const std::string& configured);

}  // namespace kestrum::service
