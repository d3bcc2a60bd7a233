#include "join_test_support.h"

#include <cstdlib>
#include <memory>

#include "app/windows/join/dui_login.h"
#include "app/windows/join/dui_set_nick_name.h"
#include "app/windows/skeleton/event_receivers.h"
#include "duilib/paint_manager_ui.h"
#include "duilib/rich_edit_ui.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_quality_upload.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/testing/win_wait.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/windowing/window/window.h"

namespace join_testing {

namespace {

// The dialogs the join windows open but that are not theirs: an empty window with a title bar.
constexpr wchar_t kStandInSkin[] =
    L"<Window size=\"360,500\" caption=\"0,0,0,36\">"
    L"<VBox name=\"MainFrame\" bkcolor=\"window_bk\">"
    L"<Label name=\"title\" text=\"stand-in\" height=\"36\"/>"
    L"</VBox></Window>";

class CStandInDialog : public CDuiWindow<CStandInDialog> {
public:
    // With a bridge, the stand-in of the meeting window: it takes the bridge's results while it
    // lives, as the meeting window does.
    explicit CStandInDialog(CKestrumCourse* course = nullptr) : course_(course) {}

    const wchar_t* GetWindowClassName() const override { return L"UIJoinTestStandIn"; }
    static CDuiMessageMap<CStandInDialog> MessageMap() {
        return StandardMessageMap(&CStandInDialog::OnCreate);
    }
    static CDuiNotifyMap<CStandInDialog> NotifyMap() { return {}; }

private:
    LRESULT OnCreate() {
        BuildSkin(kStandInSkin, nullptr);
        if (course_) registerWith(course_->targetWindow, &TargetWindow);
        return 0;
    }

    CKestrumCourse* course_;
};

class CPartsJoinHost final : public IJoinHost {
public:
    explicit CPartsJoinHost(const JoinParts& parts) : parts_(parts) {}

    CKestrumData& meeting() override { return MeetingData(); }
    CKestrumCourse* course() override { return parts_.course(); }
    IDialogTable& dialogs() override { return parts_.dialogs(); }
    CKestrumZuvra& engine() override { return *CSingleton<CKestrumZuvra>::getInstance(); }
    CKestrumConfig& config() override { return *CSingleton<CKestrumConfig>::getInstance(); }
    void joinRoom(Observer* observer, const char* rid, const char* appVersion, const char* platform,
                  const char* pwd) override {
        parts_.joinRoom(observer, rid, appVersion, platform, pwd);
    }
    void updateInfo(Observer* observer, const char* password, const char* name,
                    const char* portraitId) override {
        parts_.updateInfo(observer, password, name, portraitId);
    }
    void configRoom(Observer* observer) override { parts_.configRoom(observer); }
    void reportAppStart(const std::string& appVersion) override {
        CSingleton<CKestrumQualityUpload>::getInstance()->reportAppStart(appVersion);
    }
    void markJoinStart() override {
        CSingleton<CKestrumQualityUpload>::getInstance()->markStartTick();
    }
    void endProgram() override { parts_.endProgram(); }
    void prepareMeeting() override {
        if (parts_.prepareMeeting) parts_.prepareMeeting();
    }

private:
    const JoinParts parts_;
};

std::unique_ptr<CPartsJoinHost> g_host;
std::vector<unsigned> g_opened;
std::unique_ptr<CKestrumData> g_data;

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace

void StartFramework() {
    DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    ui::ResourceHub::Start(ProgramFolder() + L"join-res\\", nullptr, false, L"themes\\default",
                           L"lang\\zh_CN");
    DuiLib::CPaintManagerUI::SetResourcePath(SkinFolder().c_str());
}

std::wstring SkinFolder() { return ProgramFolder() + L"join-res\\skin\\"; }

CKestrumData& MeetingData() {
    if (!g_data) {
        // The configuration of the program folder, as the windows reach it.
        CSingleton<CKestrumConfig>::getInstance();
        g_data = std::make_unique<CKestrumData>(L"");
        g_kestrumData = g_data.get();
    }
    return *g_data;
}

CKestrumData& PrepareSignedOutUser(const std::string& nickname) {
    CKestrumData& data = MeetingData();
    data.token = data.uid = data.portraitId = "";
    data.nickname = nickname;
    data.portraitPath = CKestrumConfig::kDefaultPortraitPath;
    data.appVersion = "1.2.0";
    data.micOff = data.cameraOff = false;
    CKestrumConfig& config = *CSingleton<CKestrumConfig>::getInstance();
    config.setAppVersion(data.appVersion);
    config.setPortraitPath(data.portraitPath);
    config.setUpdateOption("");
    config.setUpdateVersion("");
    return data;
}

void UseParts(const JoinParts& parts) { g_host = std::make_unique<CPartsJoinHost>(parts); }

IJoinHost& Host() { return *g_host; }

CDuiFrameWindow* MakeDialog(unsigned id) {
    g_opened.push_back(id);
    switch (id) {
    case ProgramDialogs::kLoginDlg:
        return new CDuiLogin(*g_host);
    case ProgramDialogs::kNickNameDlg:
        return new CDuiSetNickName(*g_host);
    case ProgramDialogs::kLiveDlg:
        return new CStandInDialog(g_host->course());
    default:
        return new CStandInDialog;
    }
}

const std::vector<unsigned>& OpenedDialogs() { return g_opened; }
void ClearOpenedDialogs() { g_opened.clear(); }

IDialogTable& Dialogs() { return g_host->dialogs(); }

CDuiLogin* JoinWindow() {
    return dynamic_cast<CDuiLogin*>(Dialogs().dialog(ProgramDialogs::kLoginDlg));
}

DuiLib::CControlUI* Control(CDuiFrameWindow* window, const wchar_t* name) {
    return window ? window->paintManager().FindControl(name) : nullptr;
}

bool ShowsImage(DuiLib::CControlUI* control, const std::wstring& file) {
    const std::wstring image = control ? control->GetBkImage() : std::wstring();
    return image.size() >= file.size() &&
           image.compare(image.size() - file.size(), file.size(), file) == 0;
}

bool PumpUntil(const std::function<bool()>& done) {
    return kestrum::testing_support::PumpUntil(done);
}

bool AwaitLaidOut(CDuiFrameWindow* window) {
    // "windowinit" follows the first layout; the controls then have their places.
    return window && PumpUntil([window] {
               DuiLib::CControlUI* root = window->paintManager().GetRoot();
               return root && root->GetPos().right > 0 && IsWindowVisible(window->GetHWND());
           });
}

namespace {

LPARAM CentreOf(DuiLib::CControlUI* control) {
    const RECT& pos = control->GetPos();
    return MAKELPARAM((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
}

}  // namespace

void Press(CDuiFrameWindow* window, DuiLib::CControlUI* control) {
    SendMessageW(window->GetHWND(), WM_MOUSEMOVE, 0, CentreOf(control));
    SendMessageW(window->GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(control));
}

void Release(CDuiFrameWindow* window, DuiLib::CControlUI* control) {
    SendMessageW(window->GetHWND(), WM_LBUTTONUP, 0, CentreOf(control));
}

void Click(CDuiFrameWindow* window, DuiLib::CControlUI* control) {
    Press(window, control);
    Release(window, control);
}

void Type(CDuiFrameWindow* window, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(window->GetHWND(), WM_CHAR, c, 0);
}

void TypeInto(CDuiFrameWindow* window, DuiLib::CControlUI* control, const std::wstring& text) {
    window->paintManager().SetFocus(control);
    if (auto* edit = dynamic_cast<DuiLib::CRichEditUI*>(control)) {
        const long end = static_cast<long>(edit->GetText().size());
        edit->SetSel(end, end);
    }
    Type(window, text);
}

bool SavePicture(CDuiFrameWindow* window, const std::wstring& name) {
    return window_testing::SavePicture(window, name + L".png");
}

}  // namespace join_testing
