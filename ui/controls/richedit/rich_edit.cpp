// The rich edit control: properties, text, layout, scrolling and painting. Input and
// notifications are in rich_edit_input.cpp.
#include "ui/controls/richedit/rich_edit.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "kestrum/common/utf.h"
#include "ui/base/lang/lang_table.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/timer/timer_manager.h"
#include "ui/controls/layout/layout.h"
#include "ui/controls/render/auto_clip.h"
#include "ui/controls/richedit/txt_win_host.h"
#include "ui/controls/scroll/scroll_bar.h"

namespace ui {
namespace {

constexpr Gdiplus::ARGB kDefaultCaretColor = 0xFF000000;
constexpr UINT kCodePageUtf16 = 1200;

bool BarHasRange(const ScrollBar* bar) { return bar && bar->GetScrollRange() != 0; }

LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

bool Meets(const RECT& a, const RECT& b) {
  RECT meet;
  return IntersectRect(&meet, &a, &b) != FALSE;
}

// Colour values in markup may be written after blanks or control characters.
std::wstring TrimLeading(const std::wstring& value) {
  size_t start = 0;
  while (start < value.size() && value[start] <= L' ') ++start;
  return value.substr(start);
}

bool Contains(const std::wstring& text, const wchar_t* word) {
  return text.find(word) != std::wstring::npos;
}

// Characters in the text; 0 without text services.
LRESULT TextLength(const RichEdit& edit) {
  GETTEXTLENGTHEX query = {GTL_DEFAULT, kCodePageUtf16};
  LRESULT length = 0;
  edit.TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0, &length);
  return length;
}

}  // namespace

RichEdit::RichEdit()
    : text_color_(ResourceHub::DefaultTextColor()),
      normal_text_color_(text_color_),
      disabled_text_color_(text_color_) {}

RichEdit::~RichEdit() {
  DestroyHost();
  link_ranges_.clear();
  host_timers_.clear();
  caret_timer_flag_.Cancel();
}

void RichEdit::DestroyHost() {
  if (!host_) return;
  CTxtWinHost* host = host_;
  // The text services may call back while they deactivate; they find no host then.
  host_ = nullptr;
  host->Release();
}

TimerManager& RichEdit::Timers() const {
  return timer_manager_ ? *timer_manager_ : TimerManager::Instance();
}

// --- set-up ---

void RichEdit::DoInit() {
  if (initialised_) return;
  CREATESTRUCTW create = {};
  create.style = static_cast<LONG>(style_);
  create.lpszName = text_.c_str();
  CTxtWinHost::Create(this, &create, &host_);
  if (host_) {
    host_->SetPropertyFlag(CTxtWinHost::kTransparent, true);
    host_->GetTextServices()->OnTxPropertyBitsChange(TXTBIT_BACKSTYLECHANGE, 0);
    TxSendMessage(EM_SETLANGOPTIONS, 0, 0, nullptr);
    TxSendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE, nullptr);
    ActivateInPlace();
    if (ScrollBar* bar = GetVerticalScrollBar()) bar->SetScrollRange(0);
    if (ScrollBar* bar = GetHorizontalScrollBar()) bar->SetScrollRange(0);
  }
  initialised_ = true;
}

bool RichEdit::ActivateInPlace() {
  host_->SetPropertyFlag(CTxtWinHost::kInPlaceActive, true);
  if (SUCCEEDED(host_->GetTextServices()->OnTxInPlaceActivate(nullptr))) return true;
  host_->SetPropertyFlag(CTxtWinHost::kInPlaceActive, false);
  return false;
}

// --- text ---

HRESULT RichEdit::TxSendMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) const {
  if (!host_) return S_FALSE;
  LRESULT ignored = 0;
  return host_->GetTextServices()->TxSendMessage(message, wparam, lparam,
                                                 result ? result : &ignored);
}

std::wstring RichEdit::GetText() const {
  if (!host_) return std::wstring();
  const LRESULT length = TextLength(*this);
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  GETTEXTEX query = {};
  query.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  query.flags = GT_DEFAULT;
  query.codepage = kCodePageUtf16;
  TxSendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                reinterpret_cast<LPARAM>(buffer.data()), nullptr);
  buffer.back() = L'\0';
  return std::wstring(buffer.data());
}

std::string RichEdit::GetUTF8Text() const { return kestrum::common::WideToUtf8(GetText()); }

void RichEdit::SetText(const std::wstring& text) {
  text_ = text;
  if (!initialised_) return;
  SelectAll();
  TxSendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()), nullptr);
  link_ranges_.clear();
}

void RichEdit::SetUTF8Text(const std::string& text) { SetText(kestrum::common::Utf8ToWide(text)); }

void RichEdit::SetTextId(const std::wstring& id) { SetText(LangTable::Instance().Lookup(id)); }

std::wstring RichEdit::GetSelText() const {
  if (!host_) return std::wstring();
  CHARRANGE range = {0, 0};
  TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
  if (range.cpMax <= range.cpMin) return std::wstring();
  // Room for a line break written as two characters, should the library expand them.
  std::vector<wchar_t> buffer(2 * static_cast<size_t>(range.cpMax - range.cpMin) + 1, L'\0');
  TxSendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()), nullptr);
  buffer.back() = L'\0';
  return std::wstring(buffer.data());
}

void RichEdit::SelectAll() {
  CHARRANGE all = {0, -1};
  TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all), nullptr);
}

SIZE RichEdit::GetNaturalSize(int width) const {
  if (!host_) return {width, 0};
  LONG cx = std::max(width, 0);
  LONG cy = 0;
  const SIZEL any = {-1, -1};
  host_->GetTextServices()->TxGetNaturalSize(DVASPECT_CONTENT, host_->PaintDC(), nullptr, nullptr,
                                             TXTNS_FITTOCONTENT, &any, &cx, &cy);
  return {cx, cy};
}

// --- appearance ---

void RichEdit::SetTextColor(const std::wstring& color_name) {
  if (color_name == text_color_) return;
  text_color_ = color_name;
  if (host_) host_->SetTextColor(CTxtWinHost::ToColorRef(ResourceHub::ColorValue(color_name)));
}

void RichEdit::SetEnabled(bool enabled) {
  if (enabled == IsEnabled()) return;
  ScrollableBox::SetEnabled(enabled);
  SetState(enabled ? kControlStateNormal : kControlStateDisabled);
  SetTextColor(enabled ? normal_text_color_ : disabled_text_color_);
}

void RichEdit::SetRich(bool rich) {
  rich_ = rich;
  if (!host_) return;
  host_->SetPropertyFlag(CTxtWinHost::kRich, rich);
  host_->GetTextServices()->OnTxPropertyBitsChange(TXTBIT_RICHTEXT, rich ? TXTBIT_RICHTEXT : 0);
}

void RichEdit::SetFont(int id) {
  font_ = id;
  if (host_) host_->SetFont(ResourceHub::FontHandle(id));
}

void RichEdit::SetPromptText(const std::wstring& text) {
  if (text == prompt_text_) return;
  prompt_text_ = text;
  Invalidate();
}

void RichEdit::SetPromptTextId(const std::wstring& id) {
  if (id == prompt_text_id_) return;
  prompt_text_id_ = id;
  Invalidate();
}

std::wstring RichEdit::GetPromptText() const {
  if (prompt_text_.empty() && !prompt_text_id_.empty()) {
    return LangTable::Instance().Lookup(prompt_text_id_);
  }
  return prompt_text_;
}

// --- markup ---

void RichEdit::SetStyleBit(DWORD bit, bool on) { style_ = on ? (style_ | bit) : (style_ & ~bit); }

void RichEdit::SetScrollBarAttribute(bool vertical, bool on) {
  const DWORD own = vertical ? WS_VSCROLL : WS_HSCROLL;
  const DWORD other = vertical ? WS_HSCROLL : WS_VSCROLL;
  if (on) {
    style_ |= own | ES_DISABLENOSCROLL;
  } else {
    style_ &= ~own;
    if (!(style_ & other)) style_ &= ~static_cast<DWORD>(ES_DISABLENOSCROLL);
  }
  const bool has_vertical = GetVerticalScrollBar() != nullptr;
  const bool has_horizontal = GetHorizontalScrollBar() != nullptr;
  EnableScrollBar(vertical ? on : has_vertical, vertical ? has_horizontal : on);
}

void RichEdit::ApplyAlign(const std::wstring& value) {
  if (Contains(value, L"left")) style_ &= ~static_cast<DWORD>(ES_CENTER | ES_RIGHT);
  if (Contains(value, L"hcenter")) style_ = (style_ & ~static_cast<DWORD>(ES_RIGHT)) | ES_CENTER;
  if (Contains(value, L"right")) style_ = (style_ & ~static_cast<DWORD>(ES_CENTER)) | ES_RIGHT;
  if (Contains(value, L"top")) vertical_align_ = 0;
  if (Contains(value, L"vcenter")) vertical_align_ = 1;
  if (Contains(value, L"bottom")) vertical_align_ = 2;
}

void RichEdit::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const bool on = value == L"true";
  const bool off = value == L"false";
  if (name == L"vscrollbar") {
    SetScrollBarAttribute(true, on);
  } else if (name == L"autovscroll") {
    if (on || off) SetStyleBit(ES_AUTOVSCROLL, on);
  } else if (name == L"hscrollbar") {
    SetScrollBarAttribute(false, on);
  } else if (name == L"autohscroll") {
    if (on || off) SetStyleBit(ES_AUTOHSCROLL, on);
  } else if (name == L"multiline") {
    if (on || off) SetStyleBit(ES_MULTILINE, on);
  } else if (name == L"readonly") {
    if (on || off) {
      SetStyleBit(ES_READONLY, on);
      read_only_ = on;
    }
  } else if (name == L"password") {
    if (on || off) {
      SetStyleBit(ES_PASSWORD, on);
      password_ = on;
    }
  } else if (name == L"number") {
    if (on || off) {
      SetStyleBit(kStyleDigitsOnly, on);
      digits_only_ = on;
    }
  } else if (name == L"align") {
    ApplyAlign(value);
  } else if (name == L"normaltextcolor") {
    normal_text_color_ = TrimLeading(value);
    if (IsEnabled()) SetTextColor(normal_text_color_);
  } else if (name == L"disabledtextcolor") {
    disabled_text_color_ = TrimLeading(value);
    if (!IsEnabled()) SetTextColor(disabled_text_color_);
  } else if (name == L"caretcolor") {
    caret_color_ = TrimLeading(value);
  } else if (name == L"promptmode") {
    // Accepted for older markup; the prompt shows whenever it has a text and a colour.
  } else if (name == L"promptcolor") {
    prompt_color_ = TrimLeading(value);
  } else if (name == L"prompttext") {
    SetPromptText(value);
  } else if (name == L"prompttextid") {
    SetPromptTextId(value);
  } else if (name == L"focusedimage") {
    focused_image_.SetSpecText(value);
    Invalidate();
  } else if (name == L"font") {
    SetFont(_wtoi(value.c_str()));
  } else if (name == L"text") {
    SetText(value);
  } else if (name == L"textid") {
    SetTextId(value);
  } else if (name == L"wanttab") {
    want_tab_ = on;
  } else if (name == L"wantreturnmsg") {
    want_return_event_ = on;
  } else if (name == L"returnmsgwantctrl") {
    return_event_wants_ctrl_ = on;
  } else if (name == L"rich") {
    SetRich(on);
  } else {
    Box::SetAttribute(name, value);
  }
}

// --- layout ---

SIZE RichEdit::EstimateSize(SIZE available) {
  SIZE size = {fixed_width_, fixed_height_};
  const RECT padding = GetLayout()->GetPadding();
  if (fixed_width_ == kSizeAuto) {
    size.cx = GetNaturalSize(0).cx + padding.left + padding.right;
  } else if (fixed_height_ == kSizeAuto) {
    // A stretching width has no pixel count of its own: the text wraps at what it is given.
    const int width = fixed_width_ >= 0 ? fixed_width_ : available.cx;
    size.cy =
        GetNaturalSize(width - padding.left - padding.right).cy + padding.top + padding.bottom;
  }
  return size;
}

bool RichEdit::HasVerticalRange() const { return BarHasRange(GetVerticalScrollBar()); }

bool RichEdit::HasHorizontalRange() const { return BarHasRange(GetHorizontalScrollBar()); }

RECT RichEdit::TextArea() const {
  const RECT padding = GetLayout()->GetPadding();
  RECT area = {pos_.left + padding.left, pos_.top + padding.top, pos_.right - padding.right,
               pos_.bottom - padding.bottom};
  if (HasVerticalRange()) area.right -= GetVerticalScrollBar()->GetFixedWidth();
  if (HasHorizontalRange()) area.bottom -= GetHorizontalScrollBar()->GetFixedHeight();
  return area;
}

int RichEdit::HeightWithoutVerticalBar(const RECT& text_area) const {
  const int bar_width = GetVerticalScrollBar() ? GetVerticalScrollBar()->GetFixedWidth() : 0;
  return GetNaturalSize(text_area.right - text_area.left + bar_width).cy;
}

void RichEdit::UpdateVerticalBarHold(const RECT& text_area, bool had_range) {
  ScrollBar* bar = GetVerticalScrollBar();
  if (!had_range || !bar) return;
  if (BarHasRange(bar) && !vertical_bar_hold_) return;
  if (HeightWithoutVerticalBar(text_area) > Height(text_area)) {
    bar->SetScrollPos(0);
    vertical_bar_hold_ = true;
  } else if (vertical_bar_hold_) {
    bar->SetScrollRange(0);
    vertical_bar_hold_ = false;
  }
}

void RichEdit::SetPos(RECT rect) {
  Control::SetPos(rect);
  const RECT text_area = TextArea();
  if (host_) {
    const bool had_range = HasVerticalRange();
    const unsigned generation = ++layout_generation_;
    host_->SetClientRect(text_area);
    // A scroll bar that appeared meanwhile re-placed the control with its final text area.
    if (generation != layout_generation_) return;
    UpdateVerticalBarHold(text_area, had_range);
  }
  PlaceScrollBars(text_area);
  PlaceChildren(text_area);
}

void RichEdit::PlaceScrollBars(const RECT& text_area) {
  ScrollBar* vertical = GetVerticalScrollBar();
  if (BarHasRange(vertical)) {
    vertical->SetPos({text_area.right, text_area.top, text_area.right + vertical->GetFixedWidth(),
                      text_area.bottom});
  }
  ScrollBar* horizontal = GetHorizontalScrollBar();
  if (BarHasRange(horizontal)) {
    horizontal->SetPos({text_area.left, text_area.bottom, text_area.right,
                        text_area.bottom + horizontal->GetFixedHeight()});
  }
}

void RichEdit::PlaceChildren(const RECT& text_area) {
  for (Control* child : items_) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      Layout::PlaceChild(child, pos_);
    } else {
      child->SetPos(text_area);
    }
  }
}

// --- scrolling: the text services move the text, the bars follow ---

void RichEdit::SendScrollMessage(UINT message, int code) {
  TxSendMessage(message, static_cast<WPARAM>(code), 0, nullptr);
}

void RichEdit::SetScrollPos(SIZE pos) {
  ScrollBar* vertical = GetVerticalScrollBar();
  ScrollBar* horizontal = GetHorizontalScrollBar();
  if (BarHasRange(vertical)) {
    const int64_t old = vertical->GetScrollPos();
    vertical->SetScrollPos(pos.cy);
    const int64_t now = vertical->GetScrollPos();
    if (now != old) {
      SendScrollMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, LOWORD(now)));
      // The library lines plain text up on whole lines; the bar stays where it was asked to be.
      if (!rich_ && host_ && now > old && vertical->GetScrollPos() >= pos.cy) {
        vertical->SetScrollPos(pos.cy);
      }
    }
  }
  if (BarHasRange(horizontal)) {
    const int64_t old = horizontal->GetScrollPos();
    horizontal->SetScrollPos(pos.cx);
    const int64_t now = horizontal->GetScrollPos();
    if (now != old) SendScrollMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, LOWORD(now)));
  }
}

void RichEdit::PageUp() { SendScrollMessage(WM_VSCROLL, SB_PAGEUP); }
void RichEdit::PageDown() { SendScrollMessage(WM_VSCROLL, SB_PAGEDOWN); }
void RichEdit::HomeUp() { SendScrollMessage(WM_VSCROLL, SB_TOP); }
void RichEdit::PageLeft() { SendScrollMessage(WM_HSCROLL, SB_PAGELEFT); }
void RichEdit::PageRight() { SendScrollMessage(WM_HSCROLL, SB_PAGERIGHT); }
void RichEdit::HomeLeft() { SendScrollMessage(WM_HSCROLL, SB_LEFT); }
void RichEdit::EndRight() { SendScrollMessage(WM_HSCROLL, SB_RIGHT); }

// --- caret and timers ---

void RichEdit::ShowCaret(bool show) {
  caret_timer_flag_.Cancel();
  caret_visible_ = show;
  if (show) {
    Timers().Schedule(
        caret_timer_flag_.AcquireWeakFlag(),
        [this] {
          caret_visible_ = !caret_visible_;
          Invalidate();
        },
        kCaretBlinkMs, -1);
  }
  Invalidate();
}

void RichEdit::SetCaretPos(int x, int y) { caret_pos_ = {x, y}; }

void RichEdit::SetCaretSize(int width, int height) { caret_size_ = {width, height}; }

void RichEdit::SetTimer(UINT id, UINT elapse_ms) {
  kbase::WeakCallbackFlag& flag = host_timers_[id];
  flag.Cancel();
  // A zero period would fall due again at once, for ever.
  const int64_t period = std::max<UINT>(elapse_ms, 1);
  Timers().Schedule(
      flag.AcquireWeakFlag(), [this, id] { TxSendMessage(WM_TIMER, id, 0, nullptr); }, period, -1);
}

void RichEdit::KillTimer(UINT id) {
  auto entry = host_timers_.find(id);
  if (entry == host_timers_.end()) return;
  entry->second.Cancel();
  host_timers_.erase(entry);
}

// --- painting ---

void RichEdit::PaintLayers(IRenderContext* render, const RECT& paint_rect) {
  if (!Meets(paint_rect, pos_)) return;
  Control::PaintLayers(render, paint_rect);
  if (!host_) return;
  const RECT aligned = host_->GetAlignedClientRect();
  RECTL bounds = {aligned.left, aligned.top, aligned.right, aligned.bottom};
  RECT update = paint_rect;
  host_->GetTextServices()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, render->GetDC(), nullptr,
                                   &bounds, nullptr, &update, nullptr, 0, TXTVIEW_ACTIVE);
  if (vertical_bar_hold_) {
    const RECT text_area = TextArea();
    if (HeightWithoutVerticalBar(text_area) <= Height(text_area)) Arrange();
  }
}

void RichEdit::PaintStateImages(IRenderContext* render) {
  if (read_only_) return;
  if (IsFocused()) {
    DrawImage(render, focused_image_, L"", -1);
  } else {
    Control::PaintStateImages(render);
  }
  PaintPrompt(render);
}

void RichEdit::PaintPrompt(IRenderContext* render) {
  if (!host_ || prompt_color_.empty() || TextLength(*this) != 0) return;
  const std::wstring prompt = GetPromptText();
  if (prompt.empty()) return;
  render->DrawText(host_->GetAlignedClientRect(), prompt, ResourceHub::ColorValue(prompt_color_),
                   font_, DT_NOCLIP, 255);
}

void RichEdit::PaintCaret(IRenderContext* render) {
  if (!caret_visible_ || composing_) return;
  const Gdiplus::ARGB color =
      caret_color_.empty() ? kDefaultCaretColor : ResourceHub::ColorValue(caret_color_);
  render->DrawLine(RECT{caret_pos_.x, caret_pos_.y, caret_pos_.x, caret_pos_.y + caret_size_.cy},
                   caret_size_.cx, color);
}

void RichEdit::PaintChild(IRenderContext* render, const RECT& paint_rect) {
  if (!Meets(paint_rect, pos_)) return;
  PaintCaret(render);
  const RECT text_area = TextArea();
  if (Meets(paint_rect, text_area)) {
    AutoClip clip(render, text_area);
    for (Control* child : items_) {
      if (!child->IsVisible()) continue;
      const RECT child_pos = child->GetPos();
      if (!Meets(paint_rect, child_pos)) continue;
      if (!child->IsFloat() && !Meets(text_area, child_pos)) continue;
      child->Paint(render, paint_rect);
    }
  } else {
    for (Control* child : items_) {
      if (child->IsVisible() && child->IsFloat() && Meets(paint_rect, child->GetPos())) {
        child->Paint(render, paint_rect);
      }
    }
  }
  for (ScrollBar* bar : {GetVerticalScrollBar(), GetHorizontalScrollBar()}) {
    if (bar && bar->IsVisible() && Meets(paint_rect, bar->GetPos())) bar->Paint(render, paint_rect);
  }
}

void RichEdit::ClearImages() {
  ScrollableBox::ClearImages();
  focused_image_.ClearDecoded();
}

}  // namespace ui
