#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kestrum/common/thread_affinity.h"
#include "ui/base/callback/handler_chain.h"
#include "ui/base/callback/weak_callback.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/controls/core/event_type.h"
#include "ui/controls/shadow/window_shadow.h"

namespace ui {

class Box;
class Control;
class ShadowBox;
class IRenderContext;
class IUIMessageFilter;
struct EventArgs;

// A framework top-level window: one HWND, one tree of controls under a single owned root, and
// the state its controls share (focus and mouse targets, named controls, option groups,
// window-local markup classes, the render context, the shadow record). Win32 messages enter
// only through RouteMessage, which turns them into control events; WM_PAINT draws the tree into
// the render context and presents it.
//
// Threads: everything on the UI thread that created the window (checked in the builds with
// checks: the object is bound to the thread that builds it, and again to the one that gives it
// its handle).
// Ownership: the window owns its root (and through the boxes the whole tree) and the controls
// of its delayed-delete list; controls keep plain back-pointers to it. Controls are never
// deleted while an event runs: removed ones wait in the delayed-delete list until WM_APP+1.
// Whoever created the window object destroys it, normally after the HWND is gone (OnDestroyed
// is the last hook the system drives); a window object destroyed first unlinks itself from its
// handle, which then falls back to the default procedure.
class Window : public virtual kbase::SupportWeakCallback {
 public:
  // Posted to the window to delete the queued controls.
  static constexpr UINT kDelayedDeleteMessage = WM_APP + 1;
  // How long the close animation plays before WM_CLOSE is posted.
  static constexpr int kCloseDelayMs = 300;

  Window();
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The class to register; "" uses the framework's shared default class.
  virtual std::wstring RegisteredClassName() const;
  // A system class to superclass; "" means a plain registered class.
  virtual std::wstring BaseClassName() const;
  virtual UINT RegisteredClassStyle() const;
  // Registers (or superclasses) the class and creates the window; null on failure. A style with
  // caption bits loses them: the framework draws its own caption.
  virtual HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD ex_style, bool layered,
                      const RECT& rect);
  // Fades the root out and posts WM_CLOSE(code) 300 ms later (Vista and later), or at once.
  // Nothing when the handle is gone.
  virtual void Close(UINT code);
  virtual void Show(bool show, bool take_focus);
  // Last hook, after the system destroyed the window (WM_NCDESTROY): fires the "windowclose"
  // and "all" handlers of the window.
  virtual void OnDestroyed(HWND hwnd);
  // The entry from the window procedure: RouteMessage, else the chained procedure.
  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // The show animation of the root; only with a root on Vista and later.
  virtual void FadeIn();

  HWND GetHWND() const { return hwnd_; }
  // True on the window's thread; the control tree checks its calls into the window with it.
  bool CalledOnWindowThread() const { return thread_.CalledOnValidThread(); }
  bool IsLayered() const { return layered_; }
  int WindowAlpha() const { return window_alpha_; }
  IRenderContext* GetRenderContext() const { return render_context_.get(); }

  // Stores the handle, takes its DC, makes the render context and registers for touch input.
  void BindHandle(HWND hwnd);
  // Replaces the root (the old one goes to the delayed-delete list) and registers its names.
  // False for a null root (the targets are still cleared and the old root still queued).
  bool InstallRoot(Control* root);
  Control* GetRoot() const { return root_; }
  // Attaches control and its subtree to this window under parent (its own parent when null)
  // and registers its names; false for null.
  bool BindControlTree(Control* control, Box* parent);
  // Called by a control's destructor: no target slot and no name entry keeps it.
  void ForgetControl(Control* control);
  // Takes ownership of control until WM_APP+1 (which this posts) or the window's destruction.
  void AddDelayedDelete(Control* control);

  Control* ControlByName(const std::wstring& name) const;
  std::wstring ResourceFolder() const { return resource_folder_; }
  void SetResourceFolder(const std::wstring& folder);
  // "" when the window has no class of that name.
  std::wstring ClassAttributes(const std::wstring& name) const;
  void AddClass(const std::wstring& name, const std::wstring& attributes);
  // False when control is already a member of the group.
  bool JoinOptionGroup(const std::wstring& group, Control* control);
  // Null when there is no such group.
  const std::vector<Control*>* OptionGroupMembers(const std::wstring& group) const;
  void LeaveOptionGroup(const std::wstring& group, Control* control);
  // Filters are not owned.
  void AddMessageFilter(IUIMessageFilter* filter);
  bool RemoveMessageFilter(IUIMessageFilter* filter);

  // Handlers for the window's own events ("windowclose" and "all").
  void AttachWindowEvent(EventType type, EventCallback handler);

  // Attributes of the "Window" markup element. Sizes are DPI-scaled when stored (except the
  // size box) and carry the shadow margin when the shadow is on.
  void SetInitSize(int cx, int cy, bool scale);
  SIZE GetInitSize() const;
  void SetMinInfo(int cx, int cy);
  SIZE GetMinInfo() const { return min_info_; }
  void SetMaxInfo(int cx, int cy);
  SIZE GetMaxInfo() const { return max_info_; }
  void SetSizeBox(const RECT& rect) { size_box_ = rect; }
  RECT GetSizeBox() const { return size_box_; }
  void SetCaptionRect(RECT rect);
  RECT GetCaptionRect() const { return caption_; }
  void SetRoundCorner(int cx, int cy);
  SIZE GetRoundCorner() const { return round_corner_; }
  void SetAlphaFixCorner(RECT rect);
  RECT GetAlphaFixCorner() const { return alpha_fix_corner_; }
  void SetTextId(const std::wstring& id);
  void SetHeightPercent(double percent) { height_percent_ = percent; }
  double GetHeightPercent() const { return height_percent_; }
  // The margin the shadow adds around the root; empty while the shadow is off or the window is
  // maximised.
  RECT ShadowMargin() const;
  // The shadow settings ("shadowattached", "shadowimage", "shadowcorner" of the markup). A
  // skinned window wraps its root with it before installing the root.
  WindowShadow& GetShadow() { return shadow_; }
  const WindowShadow& GetShadow() const { return shadow_; }
  // The shadow box while it is the installed root; null when the root is anything else (no
  // shadow, or a root installed without wrapping), so a stale box is never touched.
  ShadowBox* InstalledShadowBox() const;
  // False when the record's box is no longer the root (and may be gone): the record must not
  // adjust it then.
  bool ShadowBoxIsCurrent() const;

  void CenterWindow();
  // Asks for rect of the client area to be drawn again: a control there looks different now.
  void InvalidateContent(const RECT& rect);
  // Stores the constant alpha of a layered window and repaints it; an ordinary window does not
  // show that alpha and is not repainted for it.
  void SetWindowAlpha(int alpha);

  // The default font, made from the system GUI font; owned by the window.
  HFONT DefaultFont() const { return default_font_; }

  // Routing (window_routing.cpp). handled tells the caller whether to skip the chained
  // procedure.
  LRESULT RouteMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  // The chained window procedure (DefWindowProcW, or a superclassed system class's procedure).
  LRESULT CallChainedProc(UINT message, WPARAM wparam, LPARAM lparam);
  // The control hit at a client point; null without a root.
  Control* FindControlAt(POINT point) const;
  // Moves the keyboard focus to control (null: no focus control).
  void FocusControl(Control* control);
  Control* GetFocusControl() const { return focus_; }
  Control* GetHoverControl() const { return hovered_; }
  Control* GetPressedControl() const { return pressed_; }
  // Dispatches an event of type to control with the last mouse point; always true.
  bool DeliverEvent(Control* control, EventType type, WPARAM wparam, LPARAM lparam);
  POINT LastMousePoint() const { return last_mouse_; }
  // The WM_PAINT handler (window_paint.cpp).
  void PaintWindow();
  // The size a root of "auto" width or height asks for, clamped to its limits; false when the
  // root is missing or has no "auto" dimension.
  bool EstimateAutoRootSize(SIZE& size) const;
  // Controls ask for a layout pass before the next paint.
  void SetArrangeNeeded() { layout_needed_ = true; }
  // Runs that pass now, at the client size, rather than at the next paint: for a window filled
  // while hidden, so that what it gets is placed as it comes instead of all at its first show.
  void LayOutNow();
  bool IsArrangeNeeded() const { return layout_needed_; }

 private:
  friend class WindowProcedures;

  void UnbindHandle();
  bool RegisterWindowClass();
  bool RegisterSuperClass();
  void ClearTargets();
  // Takes the focus from the focus control, which its handlers may destroy.
  void BlurFocusControl();
  void RegisterNames(Control* control);
  void DeleteQueuedControls();
  void MakeDefaultFont();
  void ScaleSize(int& cx, int& cy) const;
  SIZE ScaledLimit(int cx, int cy) const;

  // Routing steps.
  void OnClose();
  void OnSize(WPARAM wparam);
  void OnKillFocus(WPARAM wparam, LPARAM lparam);
  void OnContextMenu(WPARAM wparam, LPARAM lparam);
  void OnKeyDown(WPARAM wparam, LPARAM lparam);
  void OnKeyUp(WPARAM wparam, LPARAM lparam);
  bool OnSetCursor(WPARAM wparam, LPARAM lparam);
  LRESULT OnNotify(WPARAM wparam, LPARAM lparam, bool& handled);
  void OnMouseMove(WPARAM wparam, LPARAM lparam);
  void OnButtonDown(UINT message, WPARAM wparam, LPARAM lparam);
  void OnButtonUp(UINT message, WPARAM wparam, LPARAM lparam);
  void OnMouseWheel(WPARAM wparam, LPARAM lparam);
  bool OnMouseHover(LPARAM lparam);
  void OnMouseLeave();
  bool UpdateHover(POINT point, WPARAM wparam, LPARAM lparam);
  void TrackMouse();
  void ShowToolTip(Control* control);
  void HideToolTip();
  bool BelongsHere(const Control* control) const;
  void OnTouch(WPARAM wparam, LPARAM lparam);
  void HandleTouch(const TOUCHINPUT& touch, LPARAM lparam);
  LRESULT OnPointer(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);
  void ReleaseMouse();

  // Painting steps.
  void AutoSizeRoot();
  // Lays the tree out when a control asked for it, then starts the first show's fade.
  void LayoutPass(const RECT& client);
  void LayOutTree(const RECT& client);
  void KeepInsideVirtualScreen(const RECT& window_rect, const RECT& client, RECT& update) const;
  void PresentLayered(const RECT& update, const RECT& window_rect, const RECT& client);
  void RepairAlpha(const RECT& update);
  // Draws the part rect of the tree into the render context.
  void DrawTree(const RECT& rect, const RECT& client);

  // First, so that it ends last: a Stop releases nothing this window draws with before it goes.
  ResourceHub::WindowLease hub_lease_;
  kestrum::common::ThreadAffinity thread_;
  HWND hwnd_ = nullptr;
  WNDPROC chained_proc_ = ::DefWindowProcW;
  Control* root_ = nullptr;
  std::map<int, HandlerChain> window_events_;
  SIZE min_info_ = {};
  SIZE max_info_ = {};
  SIZE init_size_ = {};
  RECT size_box_ = {};
  RECT alpha_fix_corner_ = {};
  SIZE round_corner_ = {};
  RECT caption_ = {};
  double height_percent_ = 0;
  HDC hdc_ = nullptr;
  std::unique_ptr<IRenderContext> render_context_;
  bool layered_ = false;
  int window_alpha_ = 255;
  bool first_show_ = true;
  // What the controls asked to have drawn again since the last paint.
  RECT changed_ = {};
  // The render context holds the whole picture, but for changed_.
  bool picture_kept_ = false;
  // Shown again after being hidden with its picture kept: the next paint draws only changed_,
  // so that a window the user waits for comes back at the price of a copy.
  bool shown_again_ = false;
  HWND tooltip_ = nullptr;
  TOOLINFOW tool_info_ = {};
  // The record points into this text while the tooltip shows it.
  std::wstring tool_tip_text_;
  Control* focus_ = nullptr;
  Control* under_mouse_ = nullptr;
  Control* hovered_ = nullptr;
  Control* pressed_ = nullptr;
  Control* key_down_ = nullptr;
  Control* touch_ = nullptr;
  Control* pointer_ = nullptr;
  POINT last_mouse_ = {};
  POINT last_touch_ = {};
  bool layout_needed_ = false;
  bool mouse_tracking_ = false;
  bool mouse_captured_ = false;
  std::wstring resource_folder_;
  HFONT default_font_ = nullptr;
  std::wstring default_font_face_;
  int default_font_size_ = 0;
  bool default_font_bold_ = false;
  bool default_font_underline_ = false;
  bool default_font_italic_ = false;
  std::map<std::wstring, std::wstring> classes_;
  std::map<std::wstring, std::vector<Control*>> option_groups_;
  std::vector<IUIMessageFilter*> message_filters_;
  std::vector<Control*> delayed_delete_;
  std::map<std::wstring, Control*> names_;
  kbase::WeakCallbackFlag weak_flag_;
  WindowShadow shadow_;
};

}  // namespace ui
