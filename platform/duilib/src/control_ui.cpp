#include "duilib/control_ui.h"

#include <memory>

#include "duilib/paint_manager_ui.h"
#include "src/control_peer.h"
#include "src/event_translation.h"
#include "src/layer_support.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/windowing/window/window.h"

namespace DuiLib {

CControlUI::CControlUI() : CControlUI(new ControlPeer<ui::Control>(this)) {}

CControlUI::CControlUI(ui::Control* peer)
    : peer_(peer), link_(dynamic_cast<PeerLink*>(peer)), peer_alive_(peer->AcquireWeakFlag()) {}

CControlUI::~CControlUI() {
  if (peer_dying_ || !peer_) return;
  // Deleted by its maker: the peer goes too, out of its container first.
  if (link_) link_->DropOwner();
  if (ui::Box* parent = peer_->GetParent()) {
    const bool destroys = parent->IsAutoDestroyChild();
    parent->SetAutoDestroyChild(false);
    parent->Remove(peer_);
    parent->SetAutoDestroyChild(destroys);
  }
  delete peer_;
}

void CControlUI::OnPeerDestroyed() { peer_dying_ = true; }

CControlUI* CControlUI::FromPeer(ui::Control* peer) {
  auto* link = dynamic_cast<PeerLink*>(peer);
  return link ? link->Owner() : nullptr;
}

const wchar_t* CControlUI::GetClass() const { return L"Control"; }

void* CControlUI::GetInterface(const wchar_t* name) {
  return TextOf(name) == L"Control" ? this : nullptr;
}

CDuiString CControlUI::GetName() const { return peer_->GetName(); }

void CControlUI::SetName(const wchar_t* name) { peer_->SetName(TextOf(name)); }

CDuiString CControlUI::GetText() const { return text_; }

void CControlUI::SetText(const wchar_t* text) {
  const CDuiString value = text;
  if (PostedToWindowThread([this, value] { SetText(value.c_str()); })) return;
  text_ = value;
  peer_->Invalidate();
}

CDuiString CControlUI::GetToolTip() const { return peer_->GetToolTipText(); }

void CControlUI::SetToolTip(const wchar_t* text) { peer_->SetToolTipText(TextOf(text)); }

bool CControlUI::IsVisible() const { return peer_->IsVisible(); }

void CControlUI::SetVisible(bool visible) {
  if (PostedToWindowThread([this, visible] { SetVisible(visible); })) return;
  peer_->SetVisible(visible);
}

bool CControlUI::IsEnabled() const { return peer_->IsEnabled(); }

void CControlUI::SetEnabled(bool enabled) {
  if (PostedToWindowThread([this, enabled] { SetEnabled(enabled); })) return;
  peer_->SetEnabled(enabled);
}

bool CControlUI::IsMouseEnabled() const { return peer_->IsMouseEnabled(); }

void CControlUI::SetMouseEnabled(bool enabled) { peer_->SetMouseEnabled(enabled); }

bool CControlUI::IsFocused() const { return peer_->IsFocused(); }

void CControlUI::SetFocus() { peer_->SetFocus(); }

void CControlUI::SetBkImage(const wchar_t* image) {
  const CDuiString value = image;
  if (PostedToWindowThread([this, value] { SetBkImage(value.c_str()); })) return;
  peer_->SetBkImage(LayerImageSpec(value));
}

CDuiString CControlUI::GetBkImage() const { return peer_->GetBkImage(); }

void CControlUI::SetBkColor(DWORD color) { peer_->SetBkColor(ColorName(color)); }

void CControlUI::SetBorderColor(DWORD color) { peer_->SetBorderColor(ColorName(color)); }

void CControlUI::SetBorderSize(int size) { peer_->SetBorderSize(size); }

const RECT& CControlUI::GetPos() const {
  pos_ = peer_->GetPos(true);
  return pos_;
}

int CControlUI::GetFixedWidth() const { return peer_->GetFixedWidth(); }

void CControlUI::SetFixedWidth(int width) { peer_->SetFixedWidth(width, true, true); }

int CControlUI::GetFixedHeight() const { return peer_->GetFixedHeight(); }

void CControlUI::SetFixedHeight(int height) { peer_->SetFixedHeight(height, true); }

RECT CControlUI::GetPadding() const { return peer_->GetMargin(); }

void CControlUI::SetPadding(RECT padding) { peer_->SetMargin(padding, true); }

void CControlUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  peer_->SetAttribute(TextOf(name), TextOf(value));
}

void CControlUI::Invalidate() { peer_->Invalidate(); }

void CControlUI::NeedUpdate() { peer_->ArrangeSelf(); }

void CControlUI::NeedParentUpdate() { peer_->ArrangeAncestor(); }

CControlUI* CControlUI::GetParent() const { return FromPeer(peer_->GetParent()); }

CPaintManagerUI* CControlUI::GetManager() const {
  return peer_ ? CPaintManagerUI::FromHost(peer_->GetWindow()) : nullptr;
}

void CControlUI::Event(TEventUI& event) {
  if (!OnEvent.IsEmpty()) {
    const std::weak_ptr<kbase::WeakFlag> alive = peer_->AcquireWeakFlag();
    const bool go_on = OnEvent(&event);
    if (alive.expired() || !go_on) return;
  }
  DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
  if (!link_ || peer_dying_) return;
  ui::EventArgs* source = event.pSource;
  if (source && event_translation::ToLayerType(source->type) == event.Type) {
    link_->BaseHandleEvent(*source);
    return;
  }
  ui::EventArgs args;
  if (!event_translation::ToFrameworkEvent(event, &args)) return;
  args.sender = event.pSender && event.pSender->peer_ ? event.pSender->peer_ : peer_;
  link_->BaseHandleEvent(args);
}

const wchar_t* CControlUI::NotificationFor(int framework_event) const {
  return event_translation::DefaultNotification(framework_event);
}

bool CControlUI::NotifyFrom(ui::EventArgs& args) {
  const wchar_t* type = NotificationFor(args.type);
  if (!type) return true;
  CPaintManagerUI* manager = GetManager();
  if (!manager) return true;
  const std::weak_ptr<kbase::WeakFlag> alive = peer_->AcquireWeakFlag();
  TNotifyUI msg;
  msg.sType = type;
  msg.pSender = this;
  msg.dwTimestamp = args.timeStamp;
  msg.ptMouse = args.ptMouse;
  msg.wParam = args.wParam;
  msg.lParam = args.lParam;
  manager->SendNotify(msg);
  return !alive.expired();
}

bool CControlUI::PostedToWindowThread(std::function<void()> task) {
  ui::Window* window = peer_ ? peer_->GetWindow() : nullptr;
  HWND hwnd = window ? window->GetHWND() : nullptr;
  if (!hwnd || GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) return false;
  const std::weak_ptr<kbase::WeakFlag> alive = peer_alive_;
  auto* record = new std::function<void()>([alive, task] {
    if (!alive.expired()) task();
  });
  if (!PostMessageW(hwnd, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(record))) delete record;
  return true;
}

}  // namespace DuiLib
