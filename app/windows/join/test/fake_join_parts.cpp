#include "fake_join_parts.h"

#include <map>
#include <memory>

#include "app/windows/skeleton/dui_frame_window.h"
#include "app/windows/skeleton/window_creation.h"
#include "join_test_support.h"
#include "kestrum/core/course_exports.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_zuvra.h"

namespace join_testing {

namespace {

using Observer = ZuvraKestrum::ICallBack::CUserCallBack;
using ZuvraKestrum::socketio::CSocketIOCallBack;
using ZuvraKestrum::socketio::ISocketIOInterface;
using Hosts = std::vector<std::string>;

std::vector<std::string> g_calls;
int g_terminations = 0;
bool g_engineFirst = false;
std::unique_ptr<CKestrumCourse> g_course;

std::string Text(const char* text) { return text ? text : ""; }

void Record(Observer* observer, const std::string& call) {
    // While the bridge is being made (it signs in then) there is no other observer to pass.
    const bool bridge = !g_course || observer == static_cast<Observer*>(g_course.get());
    g_calls.push_back(bridge ? call : call + " wrong observer");
}

bool __cdecl Init() {
    // The bridge's report threads use the engine wrapper: it must exist by now.
    g_engineFirst = CSingleton<CKestrumZuvra>::existingInstance() != nullptr;
    return true;
}
void __cdecl Uninit() {}
void __cdecl SetUserInfo(const char*, const char*, const char*, const char*, const char*) {}
void __cdecl GetToken(Observer* observer, int, int, const char* name, const char*) {
    Record(observer, "getToken(" + Text(name) + ")");
}
HANDLE __cdecl GetPhoto(Observer* observer, const char* uid, const char* id, const char* path) {
    Record(observer, "getPhoto(" + Text(uid) + "," + Text(id) + "," + Text(path) + ")");
    return nullptr;
}
HANDLE __cdecl ConfigRoom(Observer* observer) {
    Record(observer, "configRoom");
    return nullptr;
}
void __cdecl UpdateRoom(Observer*, const char*, const Hosts&, int, const char*, const char*) {}
void __cdecl CtrlRoom(Observer*, const char*, const Hosts&) {}
void __cdecl Release(const char*) {}
ISocketIOInterface* __cdecl CreateSocket(CSocketIOCallBack*) { return nullptr; }
void __cdecl DestroySocket(ISocketIOInterface*) {}

void __cdecl JoinRoom(Observer* observer, const char* rid, const char* appVersion,
                      const char* platform, const char* pwd) {
    Record(observer, "joinRoom(" + Text(rid) + "," + Text(appVersion) + "," + Text(platform) + "," +
                         Text(pwd) + ")");
}
void __cdecl UpdateInfo(Observer* observer, const char* password, const char* name,
                        const char* portraitId) {
    Record(observer,
           "updateInfo(" + Text(password) + "," + Text(name) + "," + Text(portraitId) + ")");
}

void NoReport(const char*, int, unsigned) {}
void CountEnd() { ++g_terminations; }
CKestrumCourse* Course() { return &FakeCourse(); }

std::vector<std::wstring> g_notices;

class CFakeDialogTable final : public IDialogTable {
public:
    CDuiFrameWindow* dialog(unsigned id) override {
        const auto open = dialogs_.find(id);
        if (open == dialogs_.end()) return nullptr;
        // A window that went without closeDialog has deleted its object; a null window is one
        // being created, whose object may look itself up.
        HWND window = windows_[id];
        return !window || IsWindow(window) ? open->second : nullptr;
    }
    HWND dialogWindow(unsigned id) override {
        CDuiFrameWindow* open = dialog(id);
        return open ? open->GetHWND() : nullptr;
    }
    void openDialog(unsigned id) override {
        if (CDuiFrameWindow* open = dialog(id)) {
            open->ShowWindow(true, true);
            return;
        }
        CDuiFrameWindow* made = MakeDialog(id);
        dialogs_[id] = made;
        windows_[id] = nullptr;
        HWND window = ZuvraKestrum::Frame::CreateOrDelete(made, nullptr, L"JoinTestDialog",
                                                          kDialogStyle, 0, 0, 0, 360, 500);
        if (!window) {
            dialogs_.erase(id);
            return;
        }
        windows_[id] = window;
        made->CenterWindow();
        made->ShowWindow(true, true);
    }
    void closeDialog(unsigned id) override {
        if (CDuiFrameWindow* open = dialog(id)) open->Close(1);
        dialogs_.erase(id);
        windows_.erase(id);
    }
    void showMsgBox(HWND, const std::wstring& text, int code, int type) override {
        g_notices.push_back(NoticeLine(type, text, code));
    }

private:
    // The program's dialog style: WS_VISIBLE | WS_OVERLAPPEDWINDOW.
    static constexpr DWORD kDialogStyle = 0x10CF0000;
    std::map<unsigned, CDuiFrameWindow*> dialogs_;
    std::map<unsigned, HWND> windows_;
};

IDialogTable& FakeDialogs() {
    static CFakeDialogTable table;
    return table;
}

}  // namespace

CKestrumCourse& FakeCourse() {
    static const CourseExports exports = {&Init,     &Uninit,     &SetUserInfo,  &GetToken,
                                          &GetPhoto, &ConfigRoom, &UpdateRoom,   &CtrlRoom,
                                          &Release,  &Release,    &CreateSocket, &DestroySocket};
    if (!g_course) g_course = std::make_unique<CKestrumCourse>(exports, &NoReport);
    return *g_course;
}

const JoinParts& FakeParts() {
    static const JoinParts parts = {&Course,     &FakeDialogs, &JoinRoom, &UpdateInfo,
                                    &ConfigRoom, &CountEnd,    nullptr};
    return parts;
}

std::vector<std::string>& ServiceCalls() { return g_calls; }
std::vector<std::wstring>& NoticesAsked() { return g_notices; }

std::wstring NoticeLine(int type, const std::wstring& text, int code) {
    return std::to_wstring(type) + L"|" + std::to_wstring(code) + L"|" + text;
}
int Terminations() { return g_terminations; }
bool EngineExistedBeforeBridge() { return g_engineFirst; }

}  // namespace join_testing
