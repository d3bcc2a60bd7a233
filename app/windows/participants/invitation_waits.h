#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "kestrum/records/user_info_record.h"

// The invitations this user has sent to turn a microphone or camera on, from the box's "Ok"
// until the participant turns the device on, refuses or lets the invitation time out, the server
// refuses the request, or a bounded wait ends (a request lost on its way, an answer that never
// comes). The participants panel shows a waiting animation on each waiting row.
//
// A plain value without window types, used on the UI thread by its one owner.
namespace ZuvraKestrum::Participants {

enum class Device { kMicrophone = 0, kCamera = 1 };

struct WaitEntry {
    using Clock = std::chrono::steady_clock;

    Device device;
    std::string uid;  // the invited participant (UTF-8)
    Clock::time_point deadline = Clock::time_point::max();
    // The server passed the request on ("request-result"): only the answer is awaited now.
    bool passedOn = false;

    // Entries are the same invitation by device and uid.
    bool operator==(const WaitEntry& other) const {
        return device == other.device && uid == other.uid;
    }
};

class InvitationWaits {
public:
    // Waits at most until deadline.
    void add(Device device, const std::string& uid,
             WaitEntry::Clock::time_point deadline = WaitEntry::Clock::time_point::max()) {
        entries_.push_back({device, uid, deadline, false});
    }

    // Drops the first entry of that device and uid; false when there was none.
    bool stop(Device device, const std::string& uid);
    // The server passed the first such request still on its way on.
    void passedOn(Device device, const std::string& uid);
    // The server refused a request: the entries it has not passed on end, and are returned.
    std::vector<WaitEntry> dropNotPassedOn();
    // The entries whose deadline is past at now end, and are returned.
    std::vector<WaitEntry> expire(WaitEntry::Clock::time_point now);

    // Applies a new participant list: an entry whose participant now has the device on is
    // dropped; one whose device is still off stays and is returned, so that its row shows the
    // animation again after the rows were rebuilt. An entry whose uid is not in the list stays
    // and is not returned (its row, if any, keeps what it shows). The first record of a uid
    // decides.
    std::vector<WaitEntry> reconcile(const std::vector<UserInfoRecord>& participants);

    const std::vector<WaitEntry>& entries() const { return entries_; }

private:
    // Removes the entries that drop says go; returns them in order.
    template <class Drop>
    std::vector<WaitEntry> dropIf(Drop drop) {
        std::vector<WaitEntry> dropped;
        std::vector<WaitEntry> kept;
        for (WaitEntry& entry : entries_) {
            (drop(entry) ? dropped : kept).push_back(std::move(entry));
        }
        entries_ = std::move(kept);
        return dropped;
    }

    std::vector<WaitEntry> entries_;
};

}  // namespace ZuvraKestrum::Participants
