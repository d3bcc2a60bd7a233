#pragma once

#include <memory>
#include <string>

#include "app/windows/join/join_form.h"
#include "app/windows/join/join_host.h"
#include "app/windows/join/room_name_input.h"
#include "app/windows/join/sign_in_flow.h"
#include "app/windows/skeleton/dui_window.h"
#include "app/windows/skeleton/program_dialogs.h"
#include "duilib/button_ui.h"
#include "duilib/edit_ui.h"
#include "duilib/label_ui.h"
#include "kestrum/core/kestrum_dump.h"

struct ConfigRoomPayload;
struct EngineQualityEvent;
struct JoinRoomPayload;
struct StringPairPayload;
struct TokenPayload;

// The join window, dialog 0 ("LoginHome"): the user types a room name and an optional password
// and joins. Its initialisation creates the engine wrapper (on the UI thread, before anything
// else can) and the course bridge, starts the engine's network probe, whose first known result
// lets the user join, and shows the version. Until the in-meeting window takes over it receives
// the bridge's sign-in, configuration and join results and the engine's probe results.
//
// The join road: the join button checks the room name (at least 3 characters), signs in first
// when no token is held (the sign-in at the start failed, or the services refused the token;
// CSignInFlow), opens the nickname window first when no nickname is stored (which posts
// WM_NICKNAME_UPDATED back), and otherwise asks the meeting service to join with the bridge as
// observer; the result opens the in-meeting window (dialog 6), which takes the bridge's results
// over, and this window stops being the bridge's target. A join or configuration request refused
// for its token is sent once more under a new token.
//
// Skin "home-en.xml" / "home-zh.xml" by the language flag; a skin without every control of the
// window is logged and leaves the window inert (no control is touched, nothing is started).
// Closing this window ends the program: its WM_DESTROY posts WM_QUIT and ends the process at once.
//
// Threads: UI thread only; the results of other threads arrive as posted messages, whose
// payloads it frees on every path (also engine and bridge messages it does not act on).
// Ownership: created with new (by the dialog factory), deletes itself with its window.
class CDuiLogin : public CDuiWindow<CDuiLogin>, public CKestrumDump, public CJoinButtonHost {
public:
    // The program's window: ProgramJoinHost().
    CDuiLogin();
    explicit CDuiLogin(IJoinHost& host);

    const wchar_t* GetWindowClassName() const override { return L"UILoginMainWnd"; }

    static CDuiMessageMap<CDuiLogin> MessageMap();
    static CDuiNotifyMap<CDuiLogin> NotifyMap();

    // Gives the join button back (the in-meeting window closed).
    void EnableJoinBtn() override;

    // The file in the skin folder that the user's own portrait is downloaded into.
    static constexpr const wchar_t* kOwnPortraitFile = L"profile picture-light1.png";

    // Decodes the pictures that this window's skin names on a thread of their own and keeps them
    // decoded for the rest of the program, so that the window's first paint, the end of the
    // program's start, finds them decoded instead of decoding each on the UI thread. Nothing
    // shown changes. UI thread, once the framework has started and the language is known; only
    // the first call starts anything.
    static void PreloadPictures();

private:
    // Messages; the bridge's and the engine's that this window does not act on only have their
    // payloads freed.
    LRESULT OnCreate();
    LRESULT OnDestroy();
    LRESULT OnKeyDown(UINT key);
    LRESULT OnSetNickName();
    LRESULT OnLastMileQuality(std::unique_ptr<EngineQualityEvent> probe);
    LRESULT OnUserCallBack(std::unique_ptr<StringPairPayload> error);
    LRESULT OnUserToken(std::unique_ptr<TokenPayload> token);
    LRESULT OnUserUpdate();
    LRESULT OnUserUpdatePhoto(std::unique_ptr<std::string> portraitId);
    LRESULT OnMeetJoinRoom(std::unique_ptr<JoinRoomPayload> join);
    LRESULT OnMeetConfigRoom(std::unique_ptr<ConfigRoomPayload> config);

    // Notifications.
    void DoInitWnd(DuiLib::TNotifyUI& notification);
    void DoMin(DuiLib::TNotifyUI& notification);
    void DoClose(DuiLib::TNotifyUI& notification);
    void DoRoomConfig(DuiLib::TNotifyUI& notification);
    void DoUserConfig(DuiLib::TNotifyUI& notification);
    void DoJoinChannel(DuiLib::TNotifyUI& notification);
    void DoPwdEditReturn(DuiLib::TNotifyUI& notification);
    void DoRoomEditChanged(DuiLib::TNotifyUI& notification);
    void DoPwdEditChanged(DuiLib::TNotifyUI& notification);
    void DoRoomEditSetFocus(DuiLib::TNotifyUI& notification);
    void DoRoomEditKillFocus(DuiLib::TNotifyUI& notification);
    void DoPwdEditSetFocus(DuiLib::TNotifyUI& notification);
    void DoPwdEditKillFocus(DuiLib::TNotifyUI& notification);
    void DoVersionSetFocus(DuiLib::TNotifyUI& notification);
    void DoVersionKillFocus(DuiLib::TNotifyUI& notification);

    void JoinChannel();
    // Drops the token held, if any, and has the bridge ask for a new one.
    void SignInAnew();
    void ShowRoomError(const wchar_t* text);
    void ShowOwnPortrait();
    void StartEngine();
    void ShowUpgradeOffer(const ConfigRoomPayload& config);
    const ZuvraKestrum::Join::JoinTexts& texts() const;
    // The course bridge, created on the first call (host_.course()).
    CKestrumCourse* Course();
    // The course bridge, with this window as its target from now on (once more after a meeting
    // took it) until a join result opens the meeting window or this window goes.
    CKestrumCourse* TargetedCourse();

    IJoinHost& host_;
    CKestrumData& meeting_;
    CKestrumCourse* course_ = nullptr;
    DuiLib::CButtonUI* roomConfigBtn_ = nullptr;
    DuiLib::CButtonUI* selfConfigBtn_ = nullptr;
    DuiLib::CButtonUI* photoBtn_ = nullptr;
    DuiLib::CButtonUI* minBtn_ = nullptr;
    DuiLib::CButtonUI* closeBtn_ = nullptr;
    DuiLib::CEditUI* roomEdit_ = nullptr;
    DuiLib::CEditUI* pwdEdit_ = nullptr;
    DuiLib::CButtonUI* joinBtn_ = nullptr;
    DuiLib::CLabelUI* signalLabel_ = nullptr;
    DuiLib::CLabelUI* signalText_ = nullptr;
    DuiLib::CLabelUI* versionTxt_ = nullptr;
    DuiLib::CLabelUI* roomError_ = nullptr;
    ZuvraKestrum::Join::CRoomNameInput roomInput_;
    std::wstring password_;
    ZuvraKestrum::Join::CSignInFlow signIn_;
    ZuvraKestrum::Join::CVersionLabel versionLabel_;
};
