#include "app/windows/participants/invitation_waits.h"

#include <algorithm>
#include <cstring>

#include "kestrum/core/kestrum_data.h"

namespace ZuvraKestrum::Participants {

namespace {

const UserInfoRecord* FirstWithUid(const std::vector<UserInfoRecord>& participants,
                                   const std::string& uid) {
    for (const UserInfoRecord& record : participants) {
        if (uid == record.uid) return &record;
    }
    return nullptr;
}

int OffBit(Device device) {
    return device == Device::kMicrophone ? kStatusMicOff : kStatusCameraOff;
}

}  // namespace

bool InvitationWaits::stop(Device device, const std::string& uid) {
    const auto found = std::find(entries_.begin(), entries_.end(), WaitEntry{device, uid});
    if (found == entries_.end()) return false;
    entries_.erase(found);
    return true;
}

void InvitationWaits::passedOn(Device device, const std::string& uid) {
    for (WaitEntry& entry : entries_) {
        if (entry.passedOn || !(entry == WaitEntry{device, uid})) continue;
        entry.passedOn = true;
        return;
    }
}

std::vector<WaitEntry> InvitationWaits::dropNotPassedOn() {
    return dropIf([](const WaitEntry& entry) { return !entry.passedOn; });
}

std::vector<WaitEntry> InvitationWaits::expire(WaitEntry::Clock::time_point now) {
    return dropIf([now](const WaitEntry& entry) { return entry.deadline <= now; });
}

std::vector<WaitEntry> InvitationWaits::reconcile(const std::vector<UserInfoRecord>& participants) {
    std::vector<WaitEntry> stillWaiting;
    std::vector<WaitEntry> kept;
    for (WaitEntry& entry : entries_) {
        const UserInfoRecord* record = FirstWithUid(participants, entry.uid);
        if (record && (record->status & OffBit(entry.device)) == 0) continue;
        if (record) stillWaiting.push_back(entry);
        kept.push_back(std::move(entry));
    }
    entries_ = std::move(kept);
    return stillWaiting;
}

}  // namespace ZuvraKestrum::Participants
