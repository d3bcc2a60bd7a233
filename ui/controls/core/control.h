#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/callback/handler_chain.h"
#include "ui/base/callback/weak_callback.h"
#include "ui/base/image/control_state.h"
#include "ui/base/image/image_ref.h"
#include "ui/base/image/state_color_map.h"
#include "ui/base/image/state_image_map.h"
#include "ui/base/image/state_image_owner.h"
#include "ui/controls/animation/animation_manager.h"
#include "ui/controls/animation/animation_owner.h"
#include "ui/controls/core/event_args.h"
#include "ui/controls/core/event_type.h"
#include "ui/controls/core/place_holder.h"

namespace ui {

class IRenderContext;

enum CursorType {
  kCursorArrow = 0,
  kCursorHand = 1,
  kCursorIBeam = 2,
};

using EventMap = std::map<EventType, HandlerChain>;

// The base of every visible element: markup attributes, state, events and painting.
//
// Threads: the window's thread only; nothing is locked.
// Ownership: owned by the parent box (the root by its window). The control owns its user data,
// its state images and its animations. Its destructor tells the window to forget it, so a
// window never keeps a pointer to a deleted control.
// Events: handlers may destroy the control; DispatchEvent notices that through a weak flag and
// returns without touching it again.
class Control : public PlaceHolder, public AnimationOwner, public StateImageOwner {
 public:
  // Finds a control during FindControl: answers the control or null.
  using FindProc = Control* (*)(Control* control, void* data);
  // FindControl flags.
  static constexpr UINT kFindVisible = 0x1;
  static constexpr UINT kFindEnabled = 0x2;
  static constexpr UINT kFindHitTest = 0x4;  // data points to a POINT in window coordinates
  static constexpr UINT kFindTopFirst = 0x8;
  // Only subtrees that may hold a control marked for layout (IsArrangePending); a search that
  // finds nothing below a box clears its note.
  static constexpr UINT kFindArrangePending = 0x10;
  static constexpr UINT kFindMeFirst = 0x80000000;
  // One class attribute expands at most this many classes, those its classes name in turn
  // included, so classes that name other classes many times over cannot multiply into a hang.
  static constexpr int kMostClassExpansions = 64;

  Control();
  ~Control() override;

  // Whether a box's selection search may stop at this child (list elements override).
  virtual bool IsSelectableItem() const { return false; }

  // --- properties ---
  virtual ImageRef* GetEstimateImage();
  virtual CursorType GetCursorType() const { return cursor_type_; }
  // The text, or the language text of the id when the text is empty.
  virtual std::wstring GetToolTipText() const;
  virtual std::string GetUTF8ToolTipText() const;
  // "<n>" becomes CR LF.
  virtual void SetToolTipText(const std::wstring& text);
  virtual void SetUTF8ToolTipText(const std::string& text);
  virtual void SetToolTipTextId(const std::wstring& id);
  virtual void SetUTF8ToolTipTextId(const std::string& id);
  // DPI-scaled.
  virtual void SetToolTipWidth(int width);
  virtual int GetToolTipWidth() const { return tool_tip_width_; }
  virtual bool IsContextMenuUsed() const { return context_menu_used_; }
  virtual void SetContextMenuUsed(bool used) { context_menu_used_ = used; }
  virtual std::wstring GetDataID() const { return data_id_; }
  virtual std::string GetUTF8DataID() const;
  virtual void SetDataID(const std::wstring& id) { data_id_ = id; }
  virtual void SetUTF8DataID(const std::string& id);
  // The control owns the data; the previous object is deleted.
  class UserData {
   public:
    virtual ~UserData() = default;
  };
  virtual UserData* GetUserData() const { return user_data_.get(); }
  virtual void SetUserData(UserData* data) { user_data_.reset(data); }
  // Runs the show (true) or hide (false) animation.
  virtual void SetFadeVisible(bool visible);
  virtual void SetInternVisible(bool visible);
  void SetVisible(bool visible) override;
  virtual bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  virtual bool IsMouseEnabled() const { return mouse_enabled_; }
  virtual void SetMouseEnabled(bool enabled) { mouse_enabled_ = enabled; }
  virtual bool IsKeyboardEnabled() const { return keyboard_enabled_; }
  virtual void SetKeyboardEnabled(bool enabled) { keyboard_enabled_ = enabled; }
  virtual bool IsFocused() const { return focused_; }
  // Asks the window to focus this control; nothing with "nofocus" or without a window.
  virtual void SetFocus();
  virtual bool IsMouseFocused() const { return mouse_focused_; }
  virtual void SetMouseFocused(bool focused) { mouse_focused_ = focused; }
  virtual bool IsActivatable() const { return IsVisible() && IsEnabled(); }
  // Buttons click here.
  virtual void Activate() {}
  // See the flags above; null when this control does not qualify or the finder refuses it.
  virtual Control* FindControl(FindProc proc, void* data, UINT flags, int scroll_x = 0,
                               int scroll_y = 0);
  virtual RECT GetMargin() const { return margin_; }
  virtual void SetMargin(RECT margin, bool scale_dpi);
  // Subclasses with text measure it; may set *re_estimate when the result is provisional.
  virtual SIZE EstimateText(SIZE available, bool* re_estimate);
  virtual bool IsPointInWithScrollOffset(POINT point) const;
  // Handlers first, then HandleEvent (see control_events.cpp).
  virtual void DispatchEvent(EventArgs& args);
  virtual bool HasHotState();
  // Markup attribute setter: unknown names are ignored; subclasses pass on what they do not
  // handle.
  virtual void SetAttribute(const std::wstring& name, const std::wstring& value);
  // --- painting ---
  virtual void Paint(IRenderContext* render, const RECT& paint_rect);
  virtual void PaintLayers(IRenderContext* render, const RECT& paint_rect);
  virtual void PaintChild(IRenderContext* /*render*/, const RECT& /*paint_rect*/) {}
  // --- images ---
  virtual void LoadImages();
  virtual void UnloadImages();
  virtual void ClearImages();
  // --- events ---
  virtual void HandleEvent(EventArgs& args);
  virtual bool MouseEnter(EventArgs& args);
  virtual bool MouseLeave(EventArgs& args);
  virtual bool ButtonDown(EventArgs& args);
  virtual bool ButtonUp(EventArgs& args);
  virtual void PaintBkColor(IRenderContext* render);
  virtual void PaintBkImage(IRenderContext* render);
  virtual void PaintStateColors(IRenderContext* render);
  virtual void PaintStateImages(IRenderContext* render);
  virtual void PaintText(IRenderContext* /*render*/) {}
  virtual void PaintBorder(IRenderContext* render);

  // PlaceHolder overrides.
  SIZE EstimateSize(SIZE available) override;
  // Without the shadow, relative to the window's visible body.
  RECT GetPos(bool contain_shadow = true) const override;
  // Normalises, raises the position event and repaints old and new rectangles.
  void SetPos(RECT rect) override;
  void Invalidate() override { PlaceHolder::Invalidate(); }

  // AnimationOwner: the properties the fade animations drive.
  void SetAlpha(int alpha) override;
  void SetHotAlpha(int alpha) override;
  void SetFixedWidth(int width, bool arrange, bool scale_dpi) override {
    PlaceHolder::SetFixedWidth(width, arrange, scale_dpi);
  }
  void SetFixedHeight(int height, bool scale_dpi) override {
    PlaceHolder::SetFixedHeight(height, scale_dpi);
  }
  void SetRenderOffsetX(int offset) override;
  void SetRenderOffsetY(int offset) override;

  // StateImageOwner.
  bool HasHotAnimation() override;
  int HotAlpha() override { return hot_alpha_; }
  bool DrawStateImage(IRenderContext* render, ImageRef& image, const std::wstring& modify,
                      int fade) override {
    return DrawImage(render, image, modify, fade);
  }

  // --- non-virtual properties ---
  std::wstring GetBkColor() const { return bk_color_; }
  void SetBkColor(const std::wstring& name);
  std::wstring GetBorderColor() const { return border_color_; }
  void SetBorderColor(const std::wstring& name);
  std::wstring GetStateColor(ControlState state) const { return state_colors_.Color(state); }
  void SetStateColor(ControlState state, const std::wstring& name);
  std::wstring GetBkImage() const { return bk_image_.spec.spec_text; }
  void SetBkImage(const std::wstring& spec);
  void SetStateImage(ControlState state, const std::wstring& spec);
  void SetForeStateImage(ControlState state, const std::wstring& spec);
  int GetBorderSize() const { return border_size_; }
  void SetBorderSize(int size);
  RECT GetBorderSizes() const { return border_sizes_; }
  void SetBorderSize(RECT sizes);
  void SetLeftBorderSize(int size);
  void SetTopBorderSize(int size);
  void SetRightBorderSize(int size);
  void SetBottomBorderSize(int size);
  SIZE GetBorderRound() const { return border_round_; }
  void SetBorderRound(int cx, int cy);
  int GetAlpha() const { return alpha_; }
  POINT GetRenderOffset() const { return render_offset_; }
  ControlState GetState() const { return state_; }
  void SetState(ControlState state);
  bool IsNoFocus() const { return no_focus_; }
  bool IsReceivePointer() const { return receive_pointer_; }
  bool IsReleaseCaptureOnKillFocus() const { return release_capture_on_kill_focus_; }
  void SetReleaseCaptureOnKillFocus(bool value) { release_capture_on_kill_focus_ = value; }
  std::wstring GetToolTipTextId() const { return tool_tip_text_id_; }
  AnimationManager& GetAnimationManager() { return animation_manager_; }

  // Applies each class's attribute list (global classes first, then the window's). A class
  // named while it is being applied, directly or through other classes, is skipped as unknown
  // classes are, and so is every class after the first kMostClassExpansions.
  void SetClass(const std::wstring& names);
  // Applies name="value" pairs separated by single blanks; stops at the first defect.
  void ApplyAttributeList(const std::wstring& text);
  // The markup "applyattribute" action; always true so the event goes on.
  bool OnApplyAttributeList(const std::wstring& receiver, const std::wstring& attribute_list,
                            EventArgs* args);
  // Makes sure image holds its decoded image (relative names are resolved in the resources).
  void LoadImage(ImageRef& image);
  IRenderContext* GetCacheRenderContext();
  // A relative file name resolved in the resources and the window's folder, slashes normalised.
  std::wstring FullImagePath(const std::wstring& file) const;

  // --- events ---
  void AttachEvent(EventType type, EventCallback handler);
  // The handlers attached by markup "Event" elements.
  void AttachXmlEvent(EventType type, EventCallback handler);
  // Runs when an animated background image stops after its play count.
  void AttachImagePlayEnd(EventCallback handler);
  // Builds an event from this control and dispatches it to this control.
  void SendEvent(EventType type, WPARAM wParam = 0, LPARAM lParam = 0, wchar_t key = 0,
                 float pressure = 0.0f, int x = 0, int y = 0);
  // Draws image into the paint rectangle; false when nothing was drawn. fade -1 means the
  // image's own fade.
  bool DrawImage(IRenderContext* render, ImageRef& image, const std::wstring& modify, int fade);
  // Stops an animated background image and shows frame: -1 the current, 0 the first, 65535
  // the last (larger indexes also show the last).
  void SetImageFrame(int frame);

 protected:
  // SetPos of this class; whether the rectangle changed.
  bool UpdatePos(RECT rect);
  // Runs the chains of type and of "all" in map, both even after a false; false when the
  // control was destroyed on the way (then nothing of it may be touched). *result becomes false
  // once a chain answers false.
  bool RunChains(EventMap& map, EventType type, EventArgs& args,
                 const std::weak_ptr<kbase::WeakFlag>& alive, bool* result);
  // Passes an event on to the parent unchanged; nothing without a parent.
  void PassUp(EventArgs& args);
  // The hot animation's player, or null.
  AnimationPlayer* HotPlayer() const;
  // The off-screen paths (translucent or cached).
  void PaintOffscreen(IRenderContext* render, const RECT& paint_rect, bool translucent);
  // The frame timer of an animated background image.
  void PlayImageAnimation();
  void ScheduleImageTimer(int delay_ms);
  // A width from markup: "stretch", "auto" or a number.
  static int ParseSizeValue(const std::wstring& value, bool* is_keyword);
  void SetFixedWidthKeyword(int value);
  void SetFixedHeightKeyword(int value);
  bool IsAutoSized() const { return fixed_width_ == kSizeAuto || fixed_height_ == kSizeAuto; }
  // Repaint, or re-layout when the control is "auto".
  void RelayoutIfAuto();
  // The attribute families of SetAttribute; each answers whether it took the name.
  bool SetLayoutAttribute(const std::wstring& name, const std::wstring& value);
  bool SetLookAttribute(const std::wstring& name, const std::wstring& value);
  bool SetImageAttribute(const std::wstring& name, const std::wstring& value);
  bool SetBehaviourAttribute(const std::wstring& name, const std::wstring& value);
  bool SetFadeAttribute(const std::wstring& name, const std::wstring& value);
  void ExpandClass(const std::wstring& name, const std::wstring& attributes);

  EventMap xml_events_;
  EventMap events_;
  std::map<int, HandlerChain> image_play_end_handlers_;
  std::unique_ptr<UserData> user_data_;
  bool context_menu_used_ = false;
  bool enabled_ = true;
  bool mouse_enabled_ = true;
  bool keyboard_enabled_ = true;
  bool focused_ = false;
  bool mouse_focused_ = false;
  bool in_pos_event_ = false;
  bool no_focus_ = false;
  bool clip_to_rect_ = true;
  bool play_image_ = true;
  bool receive_pointer_ = true;
  bool release_capture_on_kill_focus_ = false;
  int border_size_ = 0;
  int class_expansions_left_ = 0;  // of the outermost SetClass running on this control
  int tool_tip_width_ = 300;
  int alpha_ = 255;
  int hot_alpha_ = 0;
  SIZE estimated_size_ = {0, 0};
  POINT render_offset_ = {0, 0};
  SIZE border_round_ = {0, 0};
  RECT margin_ = {0, 0, 0, 0};
  RECT paint_rect_ = {0, 0, 0, 0};
  RECT border_sizes_ = {0, 0, 0, 0};
  CursorType cursor_type_ = kCursorArrow;
  ControlState state_ = kControlStateNormal;
  std::wstring tool_tip_text_;
  std::wstring tool_tip_text_id_;
  std::wstring data_id_;
  std::vector<std::wstring> classes_expanding_;  // innermost last
  std::wstring bk_color_;
  StateColorMap state_colors_;
  ImageRef bk_image_;
  StateImageMap state_images_;
  std::wstring border_color_;
  kbase::WeakCallbackFlag image_timer_flag_;
  AnimationManager animation_manager_;
};

}  // namespace ui
