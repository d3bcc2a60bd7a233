#include "socketio/signalling_origin.h"

#include "service_endpoints.h"

namespace kestrum::service {
namespace {

const char kDefaultSignallingOrigin[] = "http://signal.kestrum.example";

}  // namespace

std::string SignallingOriginFrom(const std::string& configured) {
    std::string origin = configured.empty() ? kDefaultSignallingOrigin : configured;
    while (!origin.empty() && origin.back() == '/') origin.pop_back();
    return origin;
}

const std::string& SignallingOrigin() {
    static const std::string origin = SignallingOriginFrom(EnvironmentText("KESTRUM_SIGNAL_URL"));
    return origin;
}

}  // namespace kestrum::service
