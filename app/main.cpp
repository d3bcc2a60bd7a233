#include <windows.h>
#include <objbase.h>

#include <new>
#include <string>

#include "app/dialog_factory.h"
#include "app/dialog_windows.h"
#include "app/kestrum/kestrum.h"
#include "app/main_thread.h"
#include "app/startup_steps.h"
#include "app/windows/join/dui_login.h"
#include "duilib/paint_manager_ui.h"
#include "kestrum/common/singleton.h"
#include "kestrum/core/framework_invite_box_ui.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_quality_upload.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/video_source_transfer.h"

// The program's entry. Start-up runs on this thread, which stays the UI thread of every window;
// a second thread, MainThread, runs the UI framework. The join window drives the program from
// its creation on; closing it ends the process at once. A system close ends the message loop
// instead, and the holders below then delete the singletons in the reverse order of their
// definition: screen-share source, quality reports, course bridge, configuration, engine
// wrapper, application singleton (the log lock, the level table and the invitation boxes' mutex
// are never destroyed, so exit-time destructors can still log and answer). The meeting data and
// MainThread are never torn down.

namespace {

CSingleton<CKestrum>::CGrabo kestrumHolder;
CSingleton<CKestrumZuvra>::CGrabo zuvraHolder;
CSingleton<CKestrumConfig>::CGrabo configHolder;
CSingleton<CKestrumCourse>::CGrabo courseHolder;
CSingleton<CKestrumQualityUpload>::CGrabo qualityHolder;
CSingleton<CVideoSourceTransfer>::CGrabo videoSourceHolder;

// How long the first window waits for the framework: toasts and framework boxes need it, and a
// box's answer needs MainThread registered.
constexpr DWORD kMainThreadStartMs = 5000;

std::wstring SkinFolder() { return DuiLib::CPaintManagerUI::GetResourcePath().GetData(); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace ZuvraKestrum;

    const MainThreadStart mainThread = LaunchMainThread();

    DuiLib::CPaintManagerUI::SetInstance(instance);
    const std::wstring programFolder = DuiLib::CPaintManagerUI::GetInstancePath().GetData();
    DuiLib::CPaintManagerUI::SetResourcePath((programFolder + L"..\\Resource\\skin").c_str());
    Util::SetResourcePathSource(&SkinFolder);

    if (!Startup::TakeInstanceMutex()) {
        Startup::WarnAlreadyRunning();
        return 0;
    }
    Startup::InstallCrashHandler();
    CKestrumData::consoleTrace("WinMain");

    CSingleton<CKestrumConfig>::getInstance(nullptr);
    if (!g_kestrumData) g_kestrumData = new (std::nothrow) CKestrumData(Util::GetAppLogPath(""));

    if (!mainThread.wait(kMainThreadStartMs)) {
        CKestrumData::fileTrace("WinMain: MainThread did not start within %lu ms",
                                static_cast<unsigned long>(kMainThreadStartMs));
    }
    // The join window's pictures are decoded meanwhile, while the join window is being built.
    CDuiLogin::PreloadPictures();
    Startup::InstallDialogWindowLookup();
    // Never destroyed: an invitation may still be answered while exit-time destructors run.
    CMsgBoxAnsyManager::setBoxUi(new CFrameworkInviteBoxUi);
    CKestrum::setDialogFactory(&CreateProgramDialog);
    CSingleton<CKestrum>::getInstance(nullptr);

    if (FAILED(CoInitialize(nullptr))) return 0;
    Startup::SetUpCrashReports();
    // The crash handler is in place already; the reporter's start blocks this thread and the
    // child's own start competes with the join window's first paint, so it waits for that paint.
    Startup::AfterPendingPaints(&Startup::RestartCrashReporter);

    DuiLib::CPaintManagerUI::MessageLoop();

    CoUninitialize();
    return 0;
}
