#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/windows/participants/participant_rules.h"
#include "app/windows/participants/roster.h"
#include "app/windows/skeleton/kinetic_scroll.h"
#include "duilib/button_ui.h"
#include "duilib/dialog_builder.h"
#include "duilib/list_ui.h"
#include "duilib/option_ui.h"
#include "duilib/paint_manager_ui.h"
#include "kestrum/core/kestrum_dump.h"
#include "kestrum/core/util_lock.h"
#include "kestrum/records/user_info_record.h"

class CKestrumData;

// One row's record, owned by the list. The row's controls carry its address as their tag (the
// row itself, "tick", "micStatusOpt", "cameraStatusOpt"), which is how the participants window
// learns whose row was clicked. It lives exactly as long as the row is in the list: a list
// applied without the participant frees it, so a handler that may wait (a modal question)
// copies what it needs first.
struct UserListItemInfo {
    std::string uid;       // UTF-8
    std::string nickname;  // UTF-8, widened only for the controls
    std::string portraitId;
    int status = 0;  // kStatusMicOff | kStatusCameraOff
    DuiLib::CControlUI* row = nullptr;
    // The row's named controls, found once when the row is built; null where its layout has
    // none.
    struct Parts {
        DuiLib::CControlUI* photo = nullptr;  // "userphoto"
        DuiLib::CControlUI* nick = nullptr;
        DuiLib::CControlUI* hostMark = nullptr;  // "hostmark", beside the name
        DuiLib::CButtonUI* tick = nullptr;
        DuiLib::COptionUI* mic = nullptr;  // "micStatusOpt"
        DuiLib::CControlUI* micAnim = nullptr;
        DuiLib::COptionUI* camera = nullptr;  // "cameraStatusOpt"
        DuiLib::CControlUI* cameraAnim = nullptr;
    } parts;
    // The row may show other than its record since the last list: a click, a device report or a
    // waiting look changed it. An untouched row the next list leaves as it is costs nothing.
    bool touched = false;
};

// The participants list: one row per participant built from "UserListItem-en.xml" /
// "UserListItem-zh.xml" (the markup is parsed for the first row and reused), with the avatar,
// the nickname with its host mark, the remove button and the microphone and camera options,
// each with a waiting look while an invitation is pending. Rows are found by uid (exact bytes;
// with duplicates the first row wins); operations on a uid without a row do nothing. The wheel
// glides (KineticScroll on control timer kScrollTimer) instead of jumping.
//
// Threads: the UI thread only, like every control; avatar results that arrive elsewhere reach
// updateUserPhoto through the in-meeting window's thread. `listLock` is re-entrant and only
// keeps the contract of the record list; nothing else takes it.
//
// Ownership: made by the participants window's builder callback, over the window's meeting
// data, which outlives it; the window's control tree owns it. The list owns its records (in its
// roster) and their rows.
class CUserList : public DuiLib::CListUI,
                  public CKestrumDump,
                  private ZuvraKestrum::Participants::Roster<UserListItemInfo>::View {
public:
    static constexpr UINT kScrollTimer = 10;
    static constexpr int kItemWidth = 250;
    static constexpr int kItemHeight = 45;

    CUserList(DuiLib::CPaintManagerUI* manager, CKestrumData& meeting);
    ~CUserList() override;

    void DoEvent(DuiLib::TEventUI& event) override;

    // Appends a row for record; nothing when the row layout cannot be built.
    void CreateListItem(const UserInfoRecord& record);
    // Removes the first row of uid and frees its record.
    void removeItem(const std::string& uid);
    void removeAllItems();
    // The rows become participants', in their order, each showing what a new row would (no
    // waiting looks, no selection). A camera reported off by updateVideoStatus keeps its row's
    // camera-off mark. A participant already listed keeps the row and its record, and only
    // what changed is set on it, so that a list arriving again with every reconnect costs
    // little more than its changes; the log has the statuses of the rows built or changed.
    // changed: the list was applied before, and only the participants at these places say
    // something new (the rows touched since are looked at too).
    void UpdateListItem(const std::vector<UserInfoRecord>& participants,
                        const std::vector<size_t>* changed = nullptr);
    // The host may have changed: every row's enabling, remove button and host mark anew, unless
    // every row was set for the same own uid, host and language already.
    void refreshHostStatus();
    // Every row shows its participant's devices as the room last listed them, its options open
    // as on a new row: what clicks changed while waiting for the room's answer (an option shown
    // off, one disabled until the echo) is undone. The waiting looks stay.
    void restoreDevices();
    // The uids of the other participants whose microphone the room lists as on, in row order.
    std::vector<std::string> othersWithMicrophoneOn() const;

    // The row's option shows the device state (selected: off); resetAnim also ends its
    // waiting look. updateVideoStatus remembers the state for rows built later, also for a
    // uid that has no row yet.
    void updateMicStatus(const std::string& uid, bool muted, bool resetAnim);
    void updateVideoStatus(const std::string& uid, bool on, bool resetAnim);
    // The waiting look in place of the option while an invitation is pending.
    void setMicAnim(const std::string& uid, bool waiting);
    void setCameraAnim(const std::string& uid, bool waiting);
    // Reloads the avatar of record.uid's row from the avatar cache (the stored portrait id).
    void updateUserPhoto(const UserInfoRecord& record);
    // The user clicked on uid's row: the next list shows the row as its record says.
    void touch(const std::string& uid);

    int itemCount() const { return roster_.size(); }
    // The record of uid's first row, null when it has none.
    const UserListItemInfo* findItem(const std::string& uid) const;
    // The record of a row control (its tag); null for a control of no row.
    static const UserListItemInfo* RecordOf(DuiLib::CControlUI* control);

    const KineticScroll& scroll() const { return scroll_; }

private:
    using Roster = ZuvraKestrum::Participants::Roster<UserListItemInfo>;
    using Item = Roster::Item;
    using Viewer = ZuvraKestrum::Participants::Viewer;
    // The own uid and the room's first host as the meeting data has them.
    Viewer CurrentViewer() const;

    DuiLib::CControlUI* buildRow();
    // What the roster asks of the rows while it applies a list.
    void removeAllRows() override { removeAllItems(); }
    void removeRow(Item item) override;
    bool insertRow(Item before, int index, const UserInfoRecord& record) override;
    bool moveRow(Item item, Item before, int index) override;
    void refreshRow(UserListItemInfo& item, const UserInfoRecord& participant, int status) override;
    void logRowStatus(const UserInfoRecord& participant, int status) override;

    // The row may show other than its record now; the next list looks at it.
    void markTouched(UserListItemInfo& item);
    // changed and the places of the rows touched since the last list, when those are few and
    // every row was set for the viewer applying it; false when the whole list is to be looked at.
    bool placesToApply(const std::vector<UserInfoRecord>& participants,
                       const std::vector<size_t>& changed, std::vector<size_t>& places) const;
    void findParts(UserListItemInfo& item);
    void fillListItem(UserListItemInfo& item);
    void showDevices(UserListItemInfo& item);
    void updateItemStatus(UserListItemInfo& item, bool isHost);
    void showPhoto(UserListItemInfo& item);

    DuiLib::CPaintManagerUI* manager_;
    CKestrumData& meeting_;
    DuiLib::CDialogBuilder rowBuilder_;
    KineticScroll scroll_;
    std::map<std::string, bool> videoOnMap_;
    Roster roster_;
    ZuvraKestrum::Participants::RowsViewer rowsViewer_;
    // While a list is applied: the viewer looking and whether every kept row was set for it.
    Viewer applyingViewer_;
    bool applyingSameViewer_ = false;
    // The uids of the rows touched since the last list, each once.
    std::vector<std::string> touchedUids_;
    ZuvraKestrum::Util::CLock listLock_;
};
