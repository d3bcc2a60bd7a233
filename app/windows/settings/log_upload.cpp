#include "app/windows/settings/log_upload.h"

#include <cstring>

#include "app/windows/skeleton/dui_frame_window.h"
#include "kestrum/common/scoped_handle.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/log_uploader.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Settings {

bool StartLogUpload(HWND window, const CKestrumData& data) {
    // Wide, so that a program folder outside the ANSI code page still starts the uploader.
    std::wstring commandLine =
        ZuvraKestrum::Util::LogUploaderCommandLine(ZuvraKestrum::Util::GetExeDirW(), data, window);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    const bool created = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started);
    if (created) {
        const kestrum::common::ScopedHandle process(started.hProcess);
        const kestrum::common::ScopedHandle thread(started.hThread);
        // The uploader's answer is sent to this thread, which takes it once the wait is over;
        // the uploader then keeps running on its own.
        WaitForSingleObject(process.get(), kUploaderWaitMs);
    }
    SetTimer(window, CDuiFrameWindow::kUploadWaitTimer, kUploadWaitMs, nullptr);
    return created;
}

std::wstring UploadAnswerText(const COPYDATASTRUCT& answer, int language) {
    if (answer.dwData == 0) return language == 0 ? L"Upload succeeded" : L"上传成功";
    if (!answer.lpData) return std::wstring();
    const char* text = static_cast<const char*>(answer.lpData);
    const size_t length = strnlen(text, answer.cbData);
    return ZuvraKestrum::Util::StringToCString(std::string(text, length));
}

}  // namespace ZuvraKestrum::Settings
