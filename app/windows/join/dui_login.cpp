#include "app/windows/join/dui_login.h"

#include "app/windows/join/join_results.h"
#include "app/windows/join/upgrade_decision.h"
#include "app/windows/settings/settings_host.h"
#include "app/windows/skeleton/control_binding.h"
#include "app/windows/skeleton/event_receivers.h"
#include "app/windows/skeleton/message_families.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/engine_messages.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_system.h"
#include "kestrum/core/util_text.h"
#include "ui/base/resource/image_preload.h"

using namespace ZuvraKestrum::Join;
using ZuvraKestrum::Util::CStringToUtf8;
using ZuvraKestrum::Util::Utf8ToCString;

namespace {

constexpr wchar_t kSkinStem[] = L"home";

}  // namespace

CDuiLogin::CDuiLogin(IJoinHost& host)
    : CKestrumDump("CDuiLogin", true, false, false, L""), host_(host), meeting_(host.meeting()) {}

CDuiMessageMap<CDuiLogin> CDuiLogin::MessageMap() {
    auto table = StandardMessageMap(&CDuiLogin::OnCreate);
    table.on<WM_DESTROY>(&CDuiLogin::OnDestroy, RowMode::kPassOn)
        .on<WM_KEYDOWN>(&CDuiLogin::OnKeyDown, RowMode::kPassOn)
        .on<WM_IME_CHAR>(&CDuiFrameWindow::OnPassOn, RowMode::kPassOn)
        .on<WM_NICKNAME_UPDATED>(&CDuiLogin::OnSetNickName)
        .on<WM_ENGINE_LASTMILE_QUALITY>(&CDuiLogin::OnLastMileQuality)
        .on<WM_ACCOUNT_ERROR>(&CDuiLogin::OnUserCallBack)
        .on<WM_USER_TOKEN>(&CDuiLogin::OnUserToken)
        .on<WM_USER_UPDATE>(&CDuiLogin::OnUserUpdate)
        .on<WM_GET_PHOTO>(&CDuiLogin::OnUserUpdatePhoto)
        .on<WM_JOIN_ROOM>(&CDuiLogin::OnMeetJoinRoom)
        .on<WM_CONFIG_ROOM>(&CDuiLogin::OnMeetConfigRoom)
        .receives(kCourseMessages)
        .receives(kEngineMessages);
    return table;
}

CDuiNotifyMap<CDuiLogin> CDuiLogin::NotifyMap() {
    CDuiNotifyMap<CDuiLogin> table;
    table.add(L"windowinit", L"MainFrame", &CDuiLogin::DoInitWnd)
        .add(L"click", L"minbtn", &CDuiLogin::DoMin)
        .add(L"click", L"closebtn", &CDuiLogin::DoClose)
        .add(L"click", L"RoomConfigbtn", &CDuiLogin::DoRoomConfig)
        .add(L"click", L"photoBtn", &CDuiLogin::DoUserConfig)
        .add(L"click", L"joinbtn", &CDuiLogin::DoJoinChannel)
        .add(L"textchanged", L"roomedit", &CDuiLogin::DoRoomEditChanged)
        .add(L"textchanged", L"pwdedit", &CDuiLogin::DoPwdEditChanged)
        .add(L"setfocus", L"roomedit", &CDuiLogin::DoRoomEditSetFocus)
        .add(L"killfocus", L"roomedit", &CDuiLogin::DoRoomEditKillFocus)
        .add(L"setfocus", L"pwdedit", &CDuiLogin::DoPwdEditSetFocus)
        .add(L"killfocus", L"pwdedit", &CDuiLogin::DoPwdEditKillFocus)
        .add(L"return", L"pwdedit", &CDuiLogin::DoPwdEditReturn)
        .add(L"setfocus", L"versionTxt", &CDuiLogin::DoVersionSetFocus)
        .add(L"killfocus", L"versionTxt", &CDuiLogin::DoVersionKillFocus);
    return table;
}

void CDuiLogin::PreloadPictures() {
    // Joined at the program's end, long after it has finished.
    static ui::ImagePreload preload;
    const std::wstring skin = DuiLib::CPaintManagerUI::GetResourcePath().GetData();
    preload.Start(ui::ImagePreload::FilesNamedBy(skin + SkinFile(kSkinStem), skin));
}

void CDuiLogin::EnableJoinBtn() {
    if (ready()) joinBtn_->SetEnabled(true);
}

const JoinTexts& CDuiLogin::texts() const { return JoinTextsFor(g_language); }

CKestrumCourse* CDuiLogin::Course() {
    if (!course_) course_ = host_.course();
    return course_;
}

CKestrumCourse* CDuiLogin::TargetedCourse() {
    CKestrumCourse* course = Course();
    registerWith(course->targetWindow, &TargetWindow);
    return course;
}

// ---- Messages -------------------------------------------------------------------------------

LRESULT CDuiLogin::OnCreate() {
    if (!BuildLanguageSkin(kSkinStem, nullptr, *this)) return 0;
    // Every handler relies on the controls: a skin without them leaves the window inert.
    BindControls(*this,
                 {{L"RoomConfigbtn", &CDuiLogin::roomConfigBtn_},
                  {L"SelfConfigbtn", &CDuiLogin::selfConfigBtn_},
                  {L"photoBtn", &CDuiLogin::photoBtn_},
                  {L"minbtn", &CDuiLogin::minBtn_},
                  {L"closebtn", &CDuiLogin::closeBtn_},
                  {L"roomedit", &CDuiLogin::roomEdit_},
                  {L"pwdedit", &CDuiLogin::pwdEdit_},
                  {L"joinbtn", &CDuiLogin::joinBtn_},
                  {L"signalLabel", &CDuiLogin::signalLabel_},
                  {L"signalText", &CDuiLogin::signalText_},
                  {L"versionTxt", &CDuiLogin::versionTxt_},
                  {L"roomerror", &CDuiLogin::roomError_}},
                 *this);
    return 0;
}

LRESULT CDuiLogin::OnDestroy() {
    // Closing the join window ends the program.
    host_.endProgram();
    return 0;
}

LRESULT CDuiLogin::OnKeyDown(UINT key) {
    if (key == VK_SPACE) KESTRUM_LOG(Level_Info, "(space)");
    if (key == VK_DELETE) KESTRUM_LOG(Level_Info, "(delete)");
    return 0;
}

LRESULT CDuiLogin::OnSetNickName() {
    JoinChannel();
    return 0;
}

LRESULT CDuiLogin::OnLastMileQuality(std::unique_ptr<EngineQualityEvent> probe) {
    KESTRUM_LOG(Level_Info, "(%d)", probe->quality);
    const SignalLook look = SignalLookOf(static_cast<unsigned>(probe->quality), texts());
    signalLabel_->SetBkImage(look.image);
    if (look.text) signalText_->SetText(look.text);
    // With no verdict the probe goes on and the join button stays as it is.
    if (!look.known) return 0;
    host_.engine().EnableLastmileTest(false);
    joinBtn_->SetEnabled(true);
    return 0;
}

LRESULT CDuiLogin::OnUserCallBack(std::unique_ptr<StringPairPayload> error) {
    KESTRUM_LOG(Level_Error, "(%s,%s,%d)", error->text1.c_str(), error->text2.c_str(), error->code);
    // A background request's failure is logged only; a refused token is replaced first.
    const CSignInFlow::Step step = signIn_.failed(error->text1, error->code);
    if (step == CSignInFlow::Step::kSignIn) SignInAnew();
    if (step != CSignInFlow::Step::kShowError) return 0;
    if (error->text1 == "account/update") {
        // The nickname window stored the new name before the service had it.
        ApplyRefusedUpdate(meeting_, host_.config());
    }
    host_.dialogs().showMsgBox(GetHWND(), Utf8ToCString(error->text2), error->code,
                               ProgramDialogs::kErrorBox);
    return 0;
}

LRESULT CDuiLogin::OnUserToken(std::unique_ptr<TokenPayload> token) {
    CKestrumData& data = meeting_;
    ApplySignIn(*token, CStringToUtf8(kOwnPortraitFile), data, host_.config());
    // The library writes the download beside the file and moves it into place only once it is
    // complete: the picture shown so far stays until a new one has arrived (WM_GET_PHOTO).
    // Without a portrait id there is nothing to fetch.
    CKestrumCourse* course = Course();
    if (!data.portraitId.empty()) {
        const std::wstring file =
            std::wstring(DuiLib::CPaintManagerUI::GetResourcePath().GetData()) + kOwnPortraitFile;
        course->getPhoto(data.uid, data.portraitId, CStringToUtf8(file));
    }
    // The configuration request carries the token: without one it could only be refused.
    const bool tokenHeld = !data.token.empty();
    if (tokenHeld) host_.configRoom(course);
    const CSignInFlow::Step step = signIn_.tokenArrived(tokenHeld);
    if (step == CSignInFlow::Step::kJoin) JoinChannel();
    if (step == CSignInFlow::Step::kShowError) {
        host_.dialogs().showMsgBox(GetHWND(), texts().signInRefused, 0, ProgramDialogs::kErrorBox);
    }
    return 0;
}

LRESULT CDuiLogin::OnUserUpdate() {
    ApplyAccountUpdate(meeting_, host_.config());
    return 0;
}

LRESULT CDuiLogin::OnUserUpdatePhoto(std::unique_ptr<std::string> portraitId) {
    KESTRUM_LOG(Level_Info, "");
    ApplyOwnPortrait(*portraitId, meeting_, host_.config());
    ShowOwnPortrait();
    return 0;
}

LRESULT CDuiLogin::OnMeetJoinRoom(std::unique_ptr<JoinRoomPayload> join) {
    KESTRUM_LOG(Level_Info, "");
    signIn_.answered(CSignInFlow::kJoinApi);
    ApplyJoin(*join, meeting_, host_.config());
    join.reset();

    // The meeting window makes itself the bridge's target as it opens.
    host_.dialogs().openDialog(ProgramDialogs::kLiveDlg);
    unregister(&Course()->targetWindow);
    return 0;
}

LRESULT CDuiLogin::OnMeetConfigRoom(std::unique_ptr<ConfigRoomPayload> config) {
    KESTRUM_LOG(Level_Info, "");
    signIn_.answered(CSignInFlow::kConfigApi);
    ApplyClientConfig(*config, meeting_);
    ShowUpgradeOffer(*config);
    return 0;
}

void CDuiLogin::ShowUpgradeOffer(const ConfigRoomPayload& payload) {
    CKestrumConfig& config = host_.config();
    UpgradeInputs inputs;
    config.getAppVersion(inputs.appVersion);
    inputs.minimumVersion = payload.minimumVersion;
    inputs.minimumArgument = payload.minimumUrl;
    inputs.latestVersion = payload.latestVersion;
    inputs.latestArgument = payload.latestUrl;
    config.getUpdateOption(inputs.updateOption);
    config.getUpdateVersion(inputs.updateVersion);
    const UpgradeOffer offer = DecideUpgrade(inputs);
    ApplyUpgradeOffer(offer, config);
    if (offer.kind == UpgradeOffer::kNone || offer.argument.empty()) return;
    ShowWindow(false, false);
    host_.dialogs().showMsgBox(GetHWND(), Utf8ToCString(offer.argument), 0, offer.kind);
}

// ---- Notifications --------------------------------------------------------------------------

void CDuiLogin::DoInitWnd(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Debug, "");
    if (!ready()) return;
    joinBtn_->SetEnabled(false);
    StartEngine();
    // The bridge's first use starts the service library and signs in, asking for a token when
    // none is held; its results come here.
    signIn_ = CSignInFlow(meeting_.token.empty());
    TargetedCourse();
    roomInput_.reset(roomEdit_->GetText());
    password_ = pwdEdit_->GetText();
    ShowOwnPortrait();
    std::string appVersion;
    host_.reportAppStart(host_.config().getAppVersion(appVersion));
    host_.engine().InitDevices();
    host_.prepareMeeting();
}

// The engine wrapper is made here, on the UI thread, before the course bridge exists: the
// bridge's report threads use it only once it is there.
void CDuiLogin::StartEngine() {
    CKestrumZuvra& engine = host_.engine();
    // The meeting window hands the events back here when it goes, so they are this window's
    // until it goes itself, unless another window has taken them by then.
    registerWith(engine, &ReceiveEngineEvents, nullptr);
    std::wstring version;
    versionTxt_->SetText(engine.GetSdkVersion(version).c_str());
    const std::wstring log = ZuvraKestrum::Util::GetMediaSdkLogPath("");
    ApplyEngineLogPath(log, meeting_);
    engine.SetLogFile(log);
    engine.EnableLastmileTest(true);
    engine.ToggleEnginePairA(true);
    engine.ToggleEnginePairB(true);
    engine.EnableH264Interop(true);
}

void CDuiLogin::ShowOwnPortrait() {
    if (!ready()) return;
    const std::wstring image = Utf8ToCString(meeting_.portraitPath);
    // The image cache holds a file's picture while a control shows it: letting go first makes a
    // file that was replaced under the same name load anew.
    photoBtn_->SetNormalImage(L"");
    photoBtn_->SetNormalImage(image.c_str());
    photoBtn_->Invalidate();
}

void CDuiLogin::DoMin(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Debug, "");
    ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CDuiLogin::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Debug, "");
    host_.dialogs().closeDialog(ProgramDialogs::kLoginDlg);
}

void CDuiLogin::DoRoomConfig(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Debug, "");
    // Before a meeting there is no room to set: only the device page.
    OpenSettingsDialog(host_.dialogs(), ProgramDialogs::kSetAVDlg, false);
}

void CDuiLogin::DoUserConfig(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Debug, "");
    OpenSettingsDialog(host_.dialogs(), ProgramDialogs::kUserConfigDlg);
}

void CDuiLogin::DoJoinChannel(DuiLib::TNotifyUI&) { JoinChannel(); }

void CDuiLogin::DoPwdEditReturn(DuiLib::TNotifyUI&) { JoinChannel(); }

void CDuiLogin::JoinChannel() {
    writeLine(Level_Debug, __LINE__,
              "%s=====================================", "CDuiLogin::DoJoinChannel");
    if (!ready()) return;
    roomError_->SetVisible(false);
    const JoinForm form = ReadJoinForm(roomInput_.text(), password_, texts());
    roomInput_.reset(form.room);
    password_ = form.password;
    if (form.roomTooShort) {
        roomEdit_->SetText(form.room.c_str());
        pwdEdit_->SetText(form.password.c_str());
        ShowRoomError(texts().roomTooShort);
        return;
    }
    CKestrumData& data = meeting_;
    // The request carries the token: without one the sign-in comes first, and its token joins.
    const CSignInFlow::Step step = signIn_.joinAsked(!data.token.empty());
    if (step == CSignInFlow::Step::kSignIn) SignInAnew();
    if (step != CSignInFlow::Step::kJoin) return;
    if (data.nickname.empty()) {
        host_.markJoinStart();
        host_.dialogs().openDialog(ProgramDialogs::kNickNameDlg);
        return;
    }
    CKestrumCourse* course = TargetedCourse();
    ApplyJoinForm(form, data);
    host_.joinRoom(course, data.roomName.c_str(), data.appVersion.c_str(), "win",
                   data.roomPassword.c_str());
}

void CDuiLogin::SignInAnew() {
    ApplyDroppedToken(meeting_, host_.config());
    // Its failure comes here too, also after a meeting, whose window took the results.
    TargetedCourse()->signIn();
}

void CDuiLogin::ShowRoomError(const wchar_t* text) {
    roomError_->SetText(text);
    roomError_->SetVisible(true);
}

void CDuiLogin::DoRoomEditChanged(DuiLib::TNotifyUI&) {
    const CRoomNameInput::Change change = roomInput_.textChanged(roomEdit_->GetText());
    if (change.edited) roomError_->SetVisible(false);
    if (change.kind == CRoomNameInput::Change::kNothing) return;
    // Raises "textchanged" again, which finds the text accepted.
    roomEdit_->SetText(change.text.c_str());
    roomEdit_->SetSel(change.caret, change.caret);
    if (change.tooLong) {
        host_.dialogs().showMsgBox(GetHWND(), texts().roomTooLong, 0, ProgramDialogs::kErrorBox);
    }
}

void CDuiLogin::DoPwdEditChanged(DuiLib::TNotifyUI&) {
    password_ = pwdEdit_->GetText();
    std::wstring cut = password_;
    if (!CutToLimit(cut, kMaxPasswordLength)) return;
    // Raises "textchanged" again, which stores the cut text.
    pwdEdit_->SetText(cut.c_str());
    const long end = static_cast<long>(cut.size());
    pwdEdit_->SetSel(end, end);
    host_.dialogs().showMsgBox(GetHWND(), texts().passwordTooLong, 0, ProgramDialogs::kErrorBox);
}

void CDuiLogin::DoRoomEditSetFocus(DuiLib::TNotifyUI&) {
    ZuvraKestrum::Util::SwitchToEnglishKeyboard(false);
    roomInput_.reset(roomEdit_->GetText());
    if (roomInput_.text() == texts().roomHint) {
        roomInput_.reset(std::wstring());
        roomEdit_->SetText(L"");
    }
}

void CDuiLogin::DoRoomEditKillFocus(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "");
    ZuvraKestrum::Util::SwitchToEnglishKeyboard(true);
}

void CDuiLogin::DoPwdEditSetFocus(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Debug, "");
    ZuvraKestrum::Util::SwitchToEnglishKeyboard(false);
    password_ = pwdEdit_->GetText();
    if (password_ == texts().passwordHint) {
        password_.clear();
        pwdEdit_->SetText(L"");
    }
}

void CDuiLogin::DoPwdEditKillFocus(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "");
    ZuvraKestrum::Util::SwitchToEnglishKeyboard(true);
}

void CDuiLogin::DoVersionSetFocus(DuiLib::TNotifyUI&) {
    const CKestrumData& data = meeting_;
    const std::wstring text =
        versionLabel_.next(Utf8ToCString(data.engineVersion), Utf8ToCString(data.appVersion));
    KESTRUM_LOG(Level_Info, "(%ls)", text.c_str());
    versionTxt_->SetText(text.c_str());
    // The next click on the label focuses it again.
    paintManager_.SetFocus(signalLabel_);
}

void CDuiLogin::DoVersionKillFocus(DuiLib::TNotifyUI&) { KESTRUM_LOG(Level_Info, ""); }
