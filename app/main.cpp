#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "app/windows/skeleton/dui_start_window.h"
#include "kestrum/common/singleton.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_text.h"
#include "ui/base/resource/resource_hub.h"

// The program's entry while its full start-up is being built: it starts the window framework,
// reads the language from the configuration and shows the first window until the message loop
// ends. "--smoke" closes that window as soon as it has been laid out, so that a test can run the
// program from its staged folder.

namespace {

// Deletes the configuration at exit.
CSingleton<CKestrumConfig>::CGrabo configHolder;

// Dialog table settings of the first window.
constexpr DWORD kDialogStyle = 0x10CF0000;
constexpr int kDialogWidth = 360;
constexpr int kDialogHeight = 500;

// A smoke run whose window never came up.
constexpr int kSmokeFailed = 2;

bool HasSwitch(const wchar_t* name) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return false;
    bool found = false;
    for (int i = 1; i < count && !found; ++i) found = std::wcscmp(arguments[i], name) == 0;
    LocalFree(arguments);
    return found;
}

// The framework's resources (render factory, GDI+) and DuiLib's skin folder, both on this
// thread, which runs every window.
void StartFramework(HINSTANCE instance) {
    DuiLib::CPaintManagerUI::SetInstance(instance);
    const std::wstring folder = DuiLib::CPaintManagerUI::GetInstancePath().GetData();
    ui::ResourceHub::Start(folder + L"..\\Resource\\", ui::CreateControlCallback(), false,
                           L"themes\\default", L"lang\\zh_CN");
    DuiLib::CPaintManagerUI::SetResourcePath((folder + L"..\\Resource\\skin").c_str());
}

int LanguageOfConfiguration() {
    std::string value;
    CSingleton<CKestrumConfig>::getInstance()->getLanguage(value);
    return ZuvraKestrum::Util::StringToInt(value);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const bool smoke = HasSwitch(L"--smoke");
    StartFramework(instance);
    g_language = LanguageOfConfiguration();

    auto* window = new CDuiStartWindow(smoke);
    if (!window->Create(nullptr, L"LoginHome", kDialogStyle, 0, 0, 0, kDialogWidth,
                        kDialogHeight)) {
        // Not deleted: a window that failed half-way has already deleted its object.
        return smoke ? kSmokeFailed : 0;
    }
    window->CenterWindow();
    window->ShowWindow(true, true);

    DuiLib::CPaintManagerUI::MessageLoop();
    ui::ResourceHub::Stop();
    return smoke && !CDuiStartWindow::Initialised() ? kSmokeFailed : 0;
}
