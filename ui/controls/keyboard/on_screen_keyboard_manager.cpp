#include "ui/controls/keyboard/on_screen_keyboard_manager.h"

#include <objbase.h>
#include <shellapi.h>

#include <utility>

#include "ui/base/dpi/windows_version.h"
#include "ui/base/timer/timer_manager.h"

namespace ui {
namespace {

// The keyboard service's toggle interface: one method after those of IUnknown.
struct IKeyboardToggle : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Toggle(HWND desktop) = 0;
};

// {4CE576FA-83DC-4F88-951C-9D0782B4E376}
const CLSID kKeyboardServiceClass = {
    0x4CE576FA, 0x83DC, 0x4F88, {0x95, 0x1C, 0x9D, 0x07, 0x82, 0xB4, 0xE3, 0x76}};
// {37C994E7-432B-4834-A2F7-DCE1F13B834B}
const IID kKeyboardToggleInterface = {
    0x37C994E7, 0x432B, 0x4834, {0xA2, 0xF7, 0xDC, 0xE1, 0xF1, 0x3B, 0x83, 0x4B}};

const wchar_t kProgramFolderVariable[] = L"CommonProgramW6432";
const wchar_t kProgramUnderFolder[] = L"\\microsoft shared\\ink\\TabTip.exe";
// Used as it always was, doubled separator included; the system reads it as a single one.
const wchar_t kFallbackProgramPath[] =
    L"C:\\\\Program Files\\Common Files\\microsoft shared\\ink\\TabTip.exe";

const LONG_PTR kVisibleStyle = WS_VISIBLE;
const LONG_PTR kDisabledStyle = WS_DISABLED;

class SystemPlatform : public OnScreenKeyboardManager::Platform {
 public:
  bool IsSupported() override { return IsWindows8OrLater(); }

  bool ToggleThroughService() override {
    IKeyboardToggle* toggle = nullptr;
    const HRESULT result = CoCreateInstance(
        kKeyboardServiceClass, nullptr, CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
        kKeyboardToggleInterface, reinterpret_cast<void**>(&toggle));
    if (FAILED(result) || !toggle) return false;
    toggle->Toggle(GetDesktopWindow());
    toggle->Release();
    return true;
  }

  void StartProgram(const std::wstring& path) override {
    ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
  }
};

HWND FindKeyboardWindow() { return FindWindowW(OnScreenKeyboardManager::kWindowClass, nullptr); }

}  // namespace

OnScreenKeyboardManager* OnScreenKeyboardManager::GetInstance() {
  static OnScreenKeyboardManager instance(nullptr, nullptr);
  return &instance;
}

OnScreenKeyboardManager::OnScreenKeyboardManager(std::unique_ptr<Platform> platform,
                                                 TimerManager* timers)
    : platform_(platform ? std::move(platform) : std::make_unique<SystemPlatform>()),
      timers_(timers) {}

OnScreenKeyboardManager::~OnScreenKeyboardManager() = default;

void OnScreenKeyboardManager::ShowOSK(bool show) {
  // The check is scheduled on the caller's timer manager and must find this thread's state.
  KESTRUM_CHECK_THREAD(thread_);
  if (!IsSupported()) return;
  show_requested_ = show;
  Timers().Schedule(
      AcquireWeakFlag(), [this] { CheckOSK(); }, kCheckDelayMs, 1);
}

std::wstring OnScreenKeyboardManager::KeyboardProgramPath() {
  const DWORD size = GetEnvironmentVariableW(kProgramFolderVariable, nullptr, 0);
  std::wstring folder;
  if (size > 0) {
    folder.resize(size);
    const DWORD length = GetEnvironmentVariableW(kProgramFolderVariable, &folder[0], size);
    folder.resize(length < size ? length : 0);
  }
  if (folder.empty()) return kFallbackProgramPath;
  return folder + kProgramUnderFolder;
}

bool OnScreenKeyboardManager::IsKeyboardVisible() {
  const HWND keyboard = FindKeyboardWindow();
  if (!keyboard) return false;
  const LONG_PTR style = GetWindowLongPtrW(keyboard, GWL_STYLE);
  return (style & kVisibleStyle) != 0 && (style & kDisabledStyle) == 0;
}

void OnScreenKeyboardManager::CheckOSK() {
  if (IsKeyboardVisible() == show_requested_) return;
  if (show_requested_) {
    if (!platform_->ToggleThroughService()) platform_->StartProgram(KeyboardProgramPath());
    return;
  }
  const HWND keyboard = FindKeyboardWindow();
  if (keyboard) PostMessageW(keyboard, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool OnScreenKeyboardManager::IsSupported() {
  if (supported_ < 0) supported_ = platform_->IsSupported() ? 1 : 0;
  return supported_ == 1;
}

TimerManager& OnScreenKeyboardManager::Timers() {
  return timers_ ? *timers_ : TimerManager::Instance();
}

}  // namespace ui
