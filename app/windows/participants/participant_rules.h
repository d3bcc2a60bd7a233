#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/windows/participants/invitation_waits.h"
#include "kestrum/records/user_info_record.h"

// What the participants panel shows of each row and does on a click, apart from any window.
// Pure functions and plain values; uids and nicknames are UTF-8 as the meeting data keeps
// them, texts for controls are wide.
namespace ZuvraKestrum::Participants {

// The remove button's images: a ban mark while the user may remove that participant, the
// plain "self" mark otherwise.
inline constexpr const wchar_t* kTickEnabledImage =
    L"file='participants/Group 28_list_ban.png' source='0,0,28,28' ";
inline constexpr const wchar_t* kTickDisabledImage = L"participants/Group 28_self.png";

// How one row looks for the user who sees it.
struct RowView {
    bool ownRow = false;
    bool tickEnabled = false;  // the remove button
    const wchar_t* tickImage = kTickDisabledImage;
    bool optionsEnabled = false;  // the microphone and camera options
    // The name and the host mark beside it: a long name is cut, the mark never.
    std::wstring nickText;
    bool hostMark = false;
    std::wstring toolTip;  // the whole name, with the mark on the host's row
};

// Who looks at the list: the own uid, the room's first host and the language, which decide what
// a row shows.
struct Viewer {
    std::string ownUid;
    std::string hostUid;
    int language = 0;

    bool operator==(const Viewer& other) const {
        return ownUid == other.ownUid && hostUid == other.hostUid && language == other.language;
    }
};

// Whether every row was last set for one viewer, so that a kept row needs to be set only where
// it changed.
class RowsViewer {
public:
    // A new row was set for viewer; rowCount counts it. A row set for another viewer than the
    // others' leaves the rows' viewer unknown.
    void noteNewRow(const Viewer& viewer, int rowCount) {
        known_ = rowCount == 1 || (known_ && viewer == viewer_);
        viewer_ = viewer;
    }
    // Every row was set for viewer.
    void noteAllRows(const Viewer& viewer) {
        viewer_ = viewer;
        known_ = true;
    }
    bool allRowsFor(const Viewer& viewer) const { return known_ && viewer == viewer_; }

private:
    Viewer viewer_;
    bool known_ = false;
};

// The microphone and camera options of rowUid's row are open to ownUid: the own row, or any row
// for the host.
bool OptionsEnabled(const std::string& rowUid, const std::string& ownUid, bool isHost);

// rowUid's row as seen by ownUid; the host's row (hostUid) carries the host mark.
RowView ComputeRowView(const std::string& rowUid, const std::string& nicknameUtf8,
                       const std::string& ownUid, const std::string& hostUid, bool isHost,
                       int language);

// The status a rebuilt row starts with: a camera reported off (false in videoOn) since the
// signalling channel last reported the participant adds the camera-off bit.
int RowStatus(int status, const std::map<std::string, bool>& videoOn, const std::string& uid);

// Which of the rows shown (their uids in list order) each participant of a newly applied list
// keeps: the row's index, or kNewRow when the participant needs a new row. The n-th row of a
// uid goes to its n-th participant; a row that no participant keeps is to be removed.
inline constexpr int kNewRow = -1;
std::vector<int> MatchRows(const std::vector<std::string_view>& rowUids,
                           const std::vector<UserInfoRecord>& participants);

// What a click on a row's microphone or camera option asks for. The option's selection is read
// before the click toggles it: selected means the device is off.
enum class OptionAction {
    kSwitchOwn,     // the own device: mute when it is on, unmute when it is off
    kMuteOther,     // another participant's device that is on
    kInviteOther,   // another participant's device that is off: the invitation box
    kNotSupported,  // as kInviteOther, but that client cannot answer invitations
};
OptionAction DecideOptionClick(bool ownRow, bool selectedBeforeClick, bool featureSupported);

// What the option itself does on that click, before the request goes out.
struct OptionClick {
    OptionAction action = OptionAction::kSwitchOwn;
    // Disabled until the room echoes the change: the own option, and another's camera.
    bool disablesOption = false;
    // Shown off again until the invited participant turns the device on.
    bool clearsSelection = false;
    // The room control's value for kSwitchOwn and kMuteOther: mute a device that is on.
    bool mute = false;
};
OptionClick PlanOptionClick(Device device, bool ownRow, bool selectedBeforeClick,
                            bool featureSupported);

// The request an accepted invitation sends for device.
const char* InviteRequest(Device device);

// "Participants(3)" / "与会人(3)".
std::wstring TitleText(int count, int language);
// The remove question, naming the participant.
std::wstring RemoveQuestion(const std::string& nicknameUtf8, int language);
// The toast for a client that cannot answer invitations.
const wchar_t* NotSupportedText(int language);

}  // namespace ZuvraKestrum::Participants
