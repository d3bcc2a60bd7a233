#pragma once

#include <string>
#include <vector>

#include "kestrum/records/user_info_record.h"

// The invitations this user has sent to turn a microphone or camera on, from the box's "Ok"
// until the participant turns the device on, refuses or lets the invitation time out. The
// participants panel shows a waiting animation on each waiting row.
//
// A plain value without window types, used on the UI thread by its one owner.
namespace ZuvraKestrum::Participants {

enum class Device { kMicrophone = 0, kCamera = 1 };

struct WaitEntry {
    Device device;
    std::string uid;  // the invited participant (UTF-8)

    bool operator==(const WaitEntry& other) const {
        return device == other.device && uid == other.uid;
    }
};

class InvitationWaits {
public:
    void add(Device device, const std::string& uid) { entries_.push_back({device, uid}); }

    // Drops the first entry of that device and uid; false when there was none.
    bool stop(Device device, const std::string& uid);

    // Applies a new participant list: an entry whose participant now has the device on is
    // dropped; one whose device is still off stays and is returned, so that its row shows the
    // animation again after the rows were rebuilt. An entry whose uid is not in the list stays
    // and is not returned (its row, if any, keeps what it shows). The first record of a uid
    // decides.
    std::vector<WaitEntry> reconcile(const std::vector<UserInfoRecord>& participants);

    const std::vector<WaitEntry>& entries() const { return entries_; }

private:
    std::vector<WaitEntry> entries_;
};

}  // namespace ZuvraKestrum::Participants
