#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "ui/base/callback/weak_callback.h"
#include "ui/base/image/image_ref.h"
#include "ui/controls/scrollbox/scrollable_box.h"

namespace ui {

class CTxtWinHost;
class TimerManager;

// The framework's text box: single- or multi-line, plain or rich text, read-only, password or
// digits-only, with a prompt shown while it is empty, its own blinking caret and the framework's
// scroll bars. It has no window: the text lives in the system's windowless rich edit object,
// reached through a CTxtWinHost created when the control is first attached to a window (DoInit).
// Markup class "RichEdit".
//
// Text API for other code (stable): GetText/SetText (UTF-16), GetUTF8Text/SetUTF8Text, SetTextId,
// GetNaturalSize (the size the text needs at a width; its cy sizes a "content" label), and
// EstimateSize, which measures the text for a width or height of "auto".
//
// Threads: the window's thread only.
// Ownership: the control owns its host and releases it when destroyed. Caret blinking and the
// text services' timers run on the timer manager, guarded by weak flags of the control, so no
// tick reaches a destroyed control.
// Without text services (the rich edit library could not be loaded) the control still lays out
// and paints its box; text calls do nothing and return empty results.
class RichEdit : public ScrollableBox {
 public:
  static constexpr int kCaretBlinkMs = 500;
  static constexpr int kDefaultTextLimit = 32767;
  // ES_NUMBER: only the digits 0 to 9 may be typed or pasted.
  static constexpr DWORD kStyleDigitsOnly = 0x2000;

  RichEdit();
  ~RichEdit() override;

  // --- overrides of PlaceHolder, Control and Box ---
  void DoInit() override;
  // For a width of "auto": the text's natural width (unwrapped) plus the horizontal padding;
  // else for a height of "auto": the text's height at the fixed width plus the vertical
  // padding. The other dimension stays as fixed.
  SIZE EstimateSize(SIZE available) override;
  void SetPos(RECT rect) override;
  void SetEnabled(bool enabled) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintLayers(IRenderContext* render, const RECT& paint_rect) override;
  void PaintChild(IRenderContext* render, const RECT& paint_rect) override;
  void ClearImages() override;
  void HandleEvent(EventArgs& args) override;
  void PaintStateImages(IRenderContext* render) override;

  // --- overrides of ScrollableBox: the text services scroll the text ---
  void SetScrollPos(SIZE pos) override;
  void PageUp() override;
  void PageDown() override;
  void HomeUp() override;
  void PageLeft() override;
  void PageRight() override;
  void HomeLeft() override;
  void EndRight() override;

  // --- new virtual operations ---
  // Applies a colour name (from the resource manager's table) to the default text format.
  virtual void SetTextColor(const std::wstring& color_name);
  virtual std::string GetUTF8Text() const;
  virtual void SetUTF8Text(const std::string& text);
  // Forwards to the text services; S_FALSE (result untouched) without them.
  virtual HRESULT TxSendMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) const;
  // Every notification of the text services, passed on by the host.
  virtual HRESULT OnTxNotify(DWORD code, void* data);
  // Raises the text-change event (44) at this control.
  virtual void OnTextChange();

  // --- text ---
  // The live text; empty without text services.
  std::wstring GetText() const;
  // Replaces the whole text. Before DoInit only the stored text changes; DoInit shows it.
  void SetText(const std::wstring& text);
  // The language table's text for id.
  void SetTextId(const std::wstring& id);
  std::wstring GetSelText() const;
  void SelectAll();
  // The size the text needs when wrapped at width (negative counts as 0); {width, 0} without
  // text services.
  SIZE GetNaturalSize(int width) const;

  // --- appearance and behaviour ---
  std::wstring GetTextColor() const { return text_color_; }
  void SetRich(bool rich);
  bool IsRich() const { return rich_; }
  bool IsReadOnly() const { return read_only_; }
  bool IsPassword() const { return password_; }
  bool IsDigitsOnly() const { return digits_only_; }
  bool IsWantTab() const { return want_tab_; }
  bool IsWantReturnEvent() const { return want_return_event_; }
  bool IsReturnEventWantsCtrl() const { return return_event_wants_ctrl_; }
  void SetPromptText(const std::wstring& text);
  void SetPromptTextId(const std::wstring& id);
  // The prompt text, or the language text of the prompt id when the text is empty.
  std::wstring GetPromptText() const;
  std::wstring GetPromptColor() const { return prompt_color_; }
  int GetFont() const { return font_; }
  // Applies font index id of the resource manager's font list to the text.
  void SetFont(int id);
  DWORD GetStyle() const { return style_; }
  int GetTextLimit() const { return text_limit_; }
  // 0 top, 1 centre, 2 bottom.
  int GetVerticalTextAlign() const { return vertical_align_; }
  bool IsInitialised() const { return initialised_; }
  // Null while the control runs without text services (or before DoInit).
  CTxtWinHost* GetTextHost() const { return host_; }
  // The timer manager for the caret and the text services' timers; null (the default) means
  // TimerManager::Instance(). Not owned; it must outlive the control.
  void SetTimerManager(TimerManager* manager) { timer_manager_ = manager; }

  // --- called by the text host ---
  // Shows (blinking) or hides the caret.
  void ShowCaret(bool show);
  bool IsCaretVisible() const { return caret_visible_; }
  void SetCaretPos(int x, int y);
  POINT GetCaretPos() const { return caret_pos_; }
  void SetCaretSize(int width, int height);
  // Runs the text services' timer id every elapse_ms until KillTimer.
  void SetTimer(UINT id, UINT elapse_ms);
  void KillTimer(UINT id);

  // The clipboard's text up to its first NUL; empty when it has none or cannot be opened.
  static std::wstring ReadClipboardText();
  // Replaces the clipboard's content with text; false when the clipboard cannot be written.
  static bool WriteClipboardText(const std::wstring& text);

 private:
  struct LinkRange {
    LONG first = 0;
    LONG end = 0;
    std::wstring text;
  };

  TimerManager& Timers() const;
  // The control's rectangle less the padding and the ranged scroll bars.
  RECT TextArea() const;
  bool HasVerticalRange() const;
  bool HasHorizontalRange() const;
  // The natural height of the text at the text area's width plus the vertical bar's width.
  int HeightWithoutVerticalBar(const RECT& text_area) const;
  void UpdateVerticalBarHold(const RECT& text_area, bool had_range);
  void PlaceScrollBars(const RECT& text_area);
  void PlaceChildren(const RECT& text_area);
  void SendScrollMessage(UINT message, int code);
  void ApplyAlign(const std::wstring& value);
  void SetStyleBit(DWORD bit, bool on);
  void SetScrollBarAttribute(bool vertical, bool on);
  // The event's lParam point moved by the ancestors' scroll position.
  LPARAM MousePoint(const EventArgs& args) const;
  void SendMouseMessage(UINT message, const EventArgs& args);
  // Raises type at this control, stamped with the window's last mouse point.
  void DispatchOwnEvent(EventType type);
  void OnChar(const EventArgs& args);
  void OnKeyDown(const EventArgs& args);
  // True when the key was a paste that this control carried out or dropped itself.
  bool FilterDigitsPaste(const EventArgs& args);
  bool RaiseReturnEvent(const EventArgs& args);
  void OnSetFocus();
  void OnKillFocus();
  bool ActivateInPlace();
  void OnImeStartComposition();
  void OnButtonDown(const EventArgs& args);
  void OnLinkNotify(void* data);
  void ForwardNotify(DWORD code, void* data);
  // The link under a window point; null when none (always null with no link ranges).
  const LinkRange* LinkAt(POINT point) const;
  void PaintCaret(IRenderContext* render);
  void PaintPrompt(IRenderContext* render);
  void DestroyHost();

  CTxtWinHost* host_ = nullptr;
  TimerManager* timer_manager_ = nullptr;
  // Counts SetPos calls, so an outer SetPos notices that the host re-placed the control.
  unsigned layout_generation_ = 0;
  bool vertical_bar_hold_ = false;
  bool want_tab_ = true;
  bool want_return_event_ = false;
  bool return_event_wants_ctrl_ = false;
  bool rich_ = false;
  bool read_only_ = false;
  bool password_ = false;
  bool digits_only_ = false;
  bool initialised_ = false;
  bool deselect_on_focus_loss_ = true;
  bool caret_visible_ = false;
  bool composing_ = false;
  POINT caret_pos_ = {0, 0};
  SIZE caret_size_ = {0, 0};
  int font_ = 0;
  int text_limit_ = kDefaultTextLimit;
  DWORD style_ = ES_MULTILINE;
  int vertical_align_ = 0;
  std::wstring text_color_;
  std::wstring normal_text_color_;
  std::wstring disabled_text_color_;
  std::wstring prompt_color_;
  std::wstring caret_color_;
  std::wstring text_;
  std::wstring prompt_text_;
  std::wstring prompt_text_id_;
  kbase::WeakCallbackFlag caret_timer_flag_;
  std::map<UINT, kbase::WeakCallbackFlag> host_timers_;
  std::vector<LinkRange> link_ranges_;
  ImageRef focused_image_;
};

}  // namespace ui
