#include "kestrum/core/room_roles.h"

namespace ZuvraKestrum::Roles {

std::string FirstHost(const std::vector<std::string>& hosts) {
    return hosts.empty() ? std::string() : hosts.front();
}

bool IsHost(const std::string& firstHost, const std::string& uid) {
    return !firstHost.empty() && firstHost == uid;
}

bool ManagesParticipants(const std::string& firstHost, const std::string& ownUid) {
    return firstHost.empty() || firstHost == ownUid;
}

bool ControlsParticipants(const std::string& firstHost, const std::string& hostName,
                          const std::string& ownUid) {
    if (!firstHost.empty()) return firstHost == ownUid;
    return hostName.empty();
}

}  // namespace ZuvraKestrum::Roles
