#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "duilib/dui_string.h"
#include "duilib/event_source.h"
#include "duilib/ui_event.h"

namespace kbase {
class WeakFlag;
}

namespace ui {
class Control;
}

namespace DuiLib {

class CPaintManagerUI;
class PeerLink;

// The base of every control of the window layer: a thin face over one framework control (its
// peer), which draws, lays out and takes the input. Events of the peer come back through
// OnEvent and the virtual DoEvent (subclasses override it and call the base for what they do
// not handle); actions of the peer become notifications of the window's paint manager.
//
// Threads: the UI thread of the window. SetText, SetBkImage, SetVisible and SetEnabled called
// from another thread are posted to the window (when the control is in one) and run there.
// Ownership: a control that sits in a container belongs to it and is destroyed with its peer
// (removal defers that until the window's next message turn); a control in no container
// belongs to whoever made it and deleting it deletes its peer.
class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  // "Control"; subclasses answer their own class name.
  virtual const wchar_t* GetClass() const;
  // This control when name is its class name (or a base class name), else null.
  virtual void* GetInterface(const wchar_t* name);

  CDuiString GetName() const;
  void SetName(const wchar_t* name);
  virtual CDuiString GetText() const;
  virtual void SetText(const wchar_t* text);
  CDuiString GetToolTip() const;
  void SetToolTip(const wchar_t* text);

  bool IsVisible() const;
  virtual void SetVisible(bool visible = true);
  bool IsEnabled() const;
  virtual void SetEnabled(bool enabled = true);
  bool IsMouseEnabled() const;
  void SetMouseEnabled(bool enabled = true);
  bool IsFocused() const;
  void SetFocus();

  // An image descriptor: a file name (relative names resolve against the resource path,
  // absolute ones are used as given) or "file='x' source='l,t,r,b' corner='l,t,r,b'". An empty
  // text removes the image.
  void SetBkImage(const wchar_t* image);
  CDuiString GetBkImage() const;
  // Colours are 0xAARRGGBB.
  void SetBkColor(DWORD color);
  void SetBorderColor(DWORD color);
  void SetBorderSize(int size);

  // Client coordinates of the window, from the last layout.
  const RECT& GetPos() const;
  int GetFixedWidth() const;
  void SetFixedWidth(int width);
  int GetFixedHeight() const;
  void SetFixedHeight(int height);
  // The space kept around the control inside its container.
  RECT GetPadding() const;
  void SetPadding(RECT padding);

  UINT_PTR GetTag() const { return tag_; }
  void SetTag(UINT_PTR tag) { tag_ = tag; }
  const CDuiString& GetUserData() const { return user_data_; }
  void SetUserData(const wchar_t* text) { user_data_ = text; }

  // A markup attribute by its framework name.
  virtual void SetAttribute(const wchar_t* name, const wchar_t* value);
  void Invalidate();
  void NeedUpdate();
  void NeedParentUpdate();

  // The container this control sits in; null at the top or outside a window layer container.
  CControlUI* GetParent() const;
  // The paint manager of the window the control is attached to; null before that.
  CPaintManagerUI* GetManager() const;

  // Runs the OnEvent delegates, then (unless one answered false) DoEvent.
  void Event(TEventUI& event);
  // The control's own event handling; the base hands the event to the framework control.
  virtual void DoEvent(TEventUI& event);
  CEventSource OnEvent;

  // The framework control behind this one; null only while it is being destroyed.
  ui::Control* GetPeer() const { return peer_; }
  // The control of the window layer that faces peer; null for a framework control made
  // without one.
  static CControlUI* FromPeer(ui::Control* peer);

 protected:
  // For subclasses: peer is a new, unattached framework control made for this object (a
  // PeerLink); this object owns it until it is added to a container.
  explicit CControlUI(ui::Control* peer);

  // The notification text for a framework event raised at this control, or null for none.
  virtual const wchar_t* NotificationFor(int framework_event) const;
  // True when called off the thread of the control's window: task is then posted to that
  // thread and runs there later while this control lives (or never, when the window is gone),
  // and the caller must not act itself. False on the window's thread or outside a window.
  bool PostedToWindowThread(std::function<void()> task);

 private:
  friend class PeerLink;

  // Turns a framework event raised at the peer into a notification; false when the peer was
  // destroyed on the way.
  bool NotifyFrom(ui::EventArgs& args);
  // The peer is being destroyed and deletes this object.
  void OnPeerDestroyed();

  ui::Control* peer_ = nullptr;
  PeerLink* link_ = nullptr;
  // Taken on the thread that made the control, so other threads only ever copy it.
  std::weak_ptr<kbase::WeakFlag> peer_alive_;
  bool peer_dying_ = false;
  // GetPos answers a reference.
  mutable RECT pos_ = {0, 0, 0, 0};
  CDuiString text_;
  UINT_PTR tag_ = 0;
  CDuiString user_data_;
};

}  // namespace DuiLib
