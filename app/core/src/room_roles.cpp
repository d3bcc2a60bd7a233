#include "kestrum/core/room_roles.h"

#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_lock_guard.h"

namespace ZuvraKestrum::Roles {

std::string FirstHost(const std::vector<std::string>& hosts) {
    return hosts.empty() ? std::string() : hosts.front();
}

std::string FirstHostOf(CKestrumData& data) {
    Util::CLockGuard guard(&data.lock);
    return FirstHost(data.hosts);
}

bool IsHost(const std::string& firstHost, const std::string& uid) {
    return !firstHost.empty() && firstHost == uid;
}

bool HasOtherHost(const std::string& firstHost, const std::string& uid) {
    return !firstHost.empty() && firstHost != uid;
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
