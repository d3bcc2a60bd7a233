#pragma once

#include <windows.h>

#include <string>

class CKestrumData;

// The "upload log" button of the settings windows: hands the program's log files to the
// uploader beside the program (Brisklog.exe), which reads and sends them and may answer the
// window with WM_COPYDATA. The window only waits a fixed time before it is certainly usable
// again.
namespace ZuvraKestrum::Settings {

// How long the window's thread waits for the started uploader to end.
constexpr DWORD kUploaderWaitMs = 2000;
// After this the upload wait timer (CDuiFrameWindow::kUploadWaitTimer) enables the window.
constexpr UINT kUploadWaitMs = 8000;

// Starts the uploader for window with the meeting data's log files (LogUploaderCommandLine of
// app/core, with the program's folder), without a console window; waits up to kUploaderWaitMs
// for it to end (an answer it sends meanwhile is delivered afterwards), then arms the upload
// wait timer of window for kUploadWaitMs, also when the uploader could not be started (a
// second click restarts it). True when the uploader was started. UI thread of window.
bool StartLogUpload(HWND window, const CKestrumData& data);

// The toast text of the uploader's answer: "Upload succeeded" (language 0) or its Chinese form
// for dwData 0, else the uploader's own message, zero-terminated text of the ANSI code page in
// lpData (read no further than cbData bytes). Pure.
std::wstring UploadAnswerText(const COPYDATASTRUCT& answer, int language);

}  // namespace ZuvraKestrum::Settings
