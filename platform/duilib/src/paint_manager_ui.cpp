#include "duilib/paint_manager_ui.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "duilib/control_ui.h"
#include "src/host_window.h"
#include "src/layer_support.h"
#include "ui/base/util/module_path.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"

namespace DuiLib {

namespace {

// Native ids of control timers start here, far from the small ids windows use themselves.
constexpr UINT_PTR kFirstControlTimer = 0x7E000000;

HINSTANCE g_instance = nullptr;

CDuiString& ResourcePathStore() {
  static CDuiString path;
  return path;
}

// Every manager with a host, for TranslateMessage. Windows of a message box may live on
// another thread than the main windows, so the list is locked.
std::mutex& ManagersLock() {
  static std::mutex lock;
  return lock;
}

std::vector<CPaintManagerUI*>& Managers() {
  static std::vector<CPaintManagerUI*> managers;
  return managers;
}

void Register(CPaintManagerUI* manager) {
  std::lock_guard<std::mutex> guard(ManagersLock());
  Managers().push_back(manager);
}

void Unregister(CPaintManagerUI* manager) {
  std::lock_guard<std::mutex> guard(ManagersLock());
  auto& managers = Managers();
  managers.erase(std::remove(managers.begin(), managers.end(), manager), managers.end());
}

// The manager of hwnd; null for a window without one. Only the window's own thread may use
// the answer.
CPaintManagerUI* ManagerOf(HWND hwnd) {
  std::lock_guard<std::mutex> guard(ManagersLock());
  for (CPaintManagerUI* manager : Managers()) {
    if (manager->GetPaintWindow() == hwnd) return manager;
  }
  return nullptr;
}

struct NameQuery {
  std::wstring name;
};

ui::Control* NamedFaceVisitor(ui::Control* control, void* data) {
  const auto* query = static_cast<const NameQuery*>(data);
  if (control->GetName() != query->name) return nullptr;
  return CControlUI::FromPeer(control) ? control : nullptr;
}

bool IsTextInput(CControlUI* control) {
  return control && (control->GetInterface(L"Edit") || control->GetInterface(L"RichEdit"));
}

}  // namespace

struct CPaintManagerUI::TimerRecord {
  CControlUI* control;
  std::weak_ptr<kbase::WeakFlag> alive;
  UINT id;
  UINT elapse;
  UINT_PTR native_id;
};

struct CPaintManagerUI::Alive {};

CPaintManagerUI::CPaintManagerUI() : alive_(std::make_shared<Alive>()) {}

CPaintManagerUI::~CPaintManagerUI() {
  // Controls destroyed with the tree below may still call in: they find no root, no
  // notifiers and no timers.
  alive_.reset();
  notifiers_.clear();
  root_ = nullptr;
  RemoveAllTimers();
  Unregister(this);
  if (host_) {
    // The tree goes with the host; its controls must not find this manager any more.
    host_->ClearManager();
    host_.reset();
  }
}

void CPaintManagerUI::Init(HWND hwnd) {
  if (host_ || !hwnd) return;
  hwnd_ = hwnd;
  host_ = std::make_unique<HostWindow>(this);
  host_->BindHandle(hwnd);
  Register(this);
}

ui::Window* CPaintManagerUI::GetHost() const { return host_.get(); }

void CPaintManagerUI::LayOutNow() {
  if (host_) host_->LayOutNow();
}

CPaintManagerUI* CPaintManagerUI::FromHost(ui::Window* window) {
  auto* host = dynamic_cast<HostWindow*>(window);
  return host ? host->manager() : nullptr;
}

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
  if (!host_ || !root) return false;
  host_->InstallRoot(root->GetPeer());
  root_ = root;
  init_sent_ = false;
  const SIZE size = host_->GetInitSize();
  if (size.cx > 0 && size.cy > 0) {
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
  return true;
}

bool CPaintManagerUI::MessageHandler(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  result = 0;
  if (!host_) return false;
  switch (message) {
    case kRunTaskMessage:
      RunPostedTask(lparam);
      return true;
    case WM_TIMER:
      if (wparam >= kFirstControlTimer) {
        OnTimer(wparam);
        return true;
      }
      break;
    case WM_DESTROY:
      RemoveAllTimers();
      DropPostedTasks();
      break;
    default:
      break;
  }
  const std::weak_ptr<Alive> alive = alive_;
  bool handled = false;
  result = host_->RouteMessage(message, wparam, lparam, handled);
  if (message == WM_PAINT && !alive.expired()) SendWindowInit();
  return handled;
}

void CPaintManagerUI::SendWindowInit() {
  if (init_sent_ || !root_ || host_->IsArrangeNeeded()) return;
  init_sent_ = true;
  SendNotify(root_, L"windowinit");
}

void CPaintManagerUI::RunPostedTask(LPARAM lparam) {
  std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lparam));
  if (task && *task) (*task)();
}

void CPaintManagerUI::DropPostedTasks() {
  // Tasks still queued die with the window unrun; their records are freed here.
  MSG msg;
  while (PeekMessageW(&msg, hwnd_, kRunTaskMessage, kRunTaskMessage, PM_REMOVE)) {
    delete reinterpret_cast<std::function<void()>*>(msg.lParam);
  }
}

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
  if (!notifier) return false;
  if (std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end()) return false;
  notifiers_.push_back(notifier);
  return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
  auto it = std::find(notifiers_.begin(), notifiers_.end(), notifier);
  if (it == notifiers_.end()) return false;
  notifiers_.erase(it);
  return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg) {
  if (!alive_) return;
  if (!msg.dwTimestamp) msg.dwTimestamp = GetTickCount();
  const std::weak_ptr<Alive> alive = alive_;
  // A copy: a notifier may add or remove notifiers, or end the window.
  for (INotifyUI* notifier : std::vector<INotifyUI*>(notifiers_)) {
    notifier->Notify(msg);
    if (alive.expired()) return;
  }
}

void CPaintManagerUI::SendNotify(CControlUI* sender, const wchar_t* type, WPARAM wparam,
                                 LPARAM lparam) {
  TNotifyUI msg;
  msg.sType = type;
  msg.pSender = sender;
  msg.wParam = wparam;
  msg.lParam = lparam;
  if (host_) msg.ptMouse = host_->LastMousePoint();
  SendNotify(msg);
}

CControlUI* CPaintManagerUI::FindControl(const wchar_t* name) const {
  return FindSubControlByName(root_, name);
}

CControlUI* CPaintManagerUI::FindControl(POINT point) const {
  if (!host_) return nullptr;
  // Parts made without a face (scroll bars) answer for the nearest control that has one.
  for (ui::Control* control = host_->FindControlAt(point); control;
       control = control->GetParent()) {
    if (CControlUI* face = CControlUI::FromPeer(control)) return face;
  }
  return nullptr;
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, const wchar_t* name) const {
  if (!parent || !parent->GetPeer() || !name || !*name) return nullptr;
  NameQuery query{name};
  ui::Control* found =
      parent->GetPeer()->FindControl(&NamedFaceVisitor, &query, ui::Control::kFindMeFirst);
  return CControlUI::FromPeer(found);
}

CControlUI* CPaintManagerUI::GetFocus() const {
  return host_ ? CControlUI::FromPeer(host_->GetFocusControl()) : nullptr;
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
  if (host_) host_->FocusControl(control ? control->GetPeer() : nullptr);
}

RECT& CPaintManagerUI::GetCaptionRect() {
  if (host_) caption_ = host_->GetCaptionRect();
  return caption_;
}

SIZE CPaintManagerUI::GetRoundCorner() const {
  return host_ ? host_->GetRoundCorner() : SIZE{0, 0};
}

RECT& CPaintManagerUI::GetSizeBox() {
  if (host_) size_box_ = host_->GetSizeBox();
  return size_box_;
}

SIZE CPaintManagerUI::GetInitSize() const { return host_ ? host_->GetInitSize() : SIZE{0, 0}; }

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT id, UINT elapse) {
  if (!control || !control->GetPeer() || !IsWindow(hwnd_)) return false;
  auto it = std::find_if(timers_.begin(), timers_.end(), [control, id](const TimerRecord& r) {
    return r.control == control && r.id == id;
  });
  const UINT_PTR native = it != timers_.end() ? it->native_id : kFirstControlTimer + next_timer_id_;
  if (!::SetTimer(hwnd_, native, elapse, nullptr)) return false;
  if (it != timers_.end()) {
    it->elapse = elapse;
    return true;
  }
  ++next_timer_id_;
  timers_.push_back({control, control->GetPeer()->AcquireWeakFlag(), id, elapse, native});
  return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, UINT id) {
  auto it = std::find_if(timers_.begin(), timers_.end(), [control, id](const TimerRecord& r) {
    return r.control == control && r.id == id;
  });
  if (it == timers_.end()) return false;
  ::KillTimer(hwnd_, it->native_id);
  timers_.erase(it);
  return true;
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->control != control) {
      ++it;
      continue;
    }
    ::KillTimer(hwnd_, it->native_id);
    it = timers_.erase(it);
  }
}

void CPaintManagerUI::RemoveAllTimers() {
  for (const TimerRecord& record : timers_) ::KillTimer(hwnd_, record.native_id);
  timers_.clear();
}

void CPaintManagerUI::OnTimer(UINT_PTR native_id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [native_id](const TimerRecord& r) { return r.native_id == native_id; });
  if (it == timers_.end()) {
    ::KillTimer(hwnd_, native_id);
    return;
  }
  if (it->alive.expired()) {
    ::KillTimer(hwnd_, native_id);
    timers_.erase(it);
    return;
  }
  TEventUI event;
  event.Type = UIEVENT_TIMER;
  event.pSender = it->control;
  event.dwTimestamp = GetTickCount();
  event.wParam = it->id;
  event.lParam = it->elapse;
  // The handler may kill timers or end the window: nothing of the record is used afterwards.
  it->control->Event(event);
}

bool CPaintManagerUI::RunOnUiThread(std::function<void()> task) {
  if (!task || !IsWindow(hwnd_)) return false;
  if (GetWindowThreadProcessId(hwnd_, nullptr) == GetCurrentThreadId()) {
    task();
    return true;
  }
  auto* record = new std::function<void()>(std::move(task));
  if (PostMessageW(hwnd_, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(record))) return true;
  delete record;
  return false;
}

void CPaintManagerUI::SetInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE CPaintManagerUI::GetInstance() { return g_instance; }

CDuiString CPaintManagerUI::GetInstancePath() {
  std::wstring folder;
  kbase::DirectoryPart(kbase::ModuleFileName(g_instance), folder);
  return folder;
}

void CPaintManagerUI::SetResourcePath(const wchar_t* path) {
  std::wstring value = TextOf(path);
  if (!value.empty() && value.back() != L'\\' && value.back() != L'/') value += L'\\';
  // The framework's own path is left alone: its windows on other threads use it for their
  // theme, and this layer hands the framework absolute names.
  ResourcePathStore() = value;
}

const CDuiString& CPaintManagerUI::GetResourcePath() { return ResourcePathStore(); }

bool CPaintManagerUI::TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_KEYUP)) return false;
  CPaintManagerUI* manager = ManagerOf(msg->hwnd);
  if (!manager || !IsTextInput(manager->GetFocus())) return false;
  // Windows answer key-down themselves without passing it on; a focused text control gets its
  // keys here, before the window sees them.
  bool handled = false;
  manager->host_->RouteMessage(msg->message, msg->wParam, msg->lParam, handled);
  ::TranslateMessage(msg);
  return true;
}

void CPaintManagerUI::MessageLoop() {
  MSG msg = {};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (TranslateMessage(&msg)) continue;
    ::TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace DuiLib
