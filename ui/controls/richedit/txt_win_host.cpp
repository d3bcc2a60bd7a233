// The host of a rich edit control's windowless text services.
#include "ui/controls/richedit/txt_win_host.h"

#include <string>

#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/util/module_path.h"
#include "ui/controls/core/window_link.h"
#include "ui/controls/richedit/rich_edit.h"
#include "ui/controls/scroll/scroll_bar.h"

namespace ui {

const IID kIidTextServices = {
    0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
const IID kIidTextHost = {
    0xC5BDD8D0, 0xD26E, 0x11CE, {0xA8, 0x9E, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};

const wchar_t CTxtWinHost::kModuleLibraryName[] = L"msftedit50.dll";
const wchar_t CTxtWinHost::kSystemLibraryName[] = L"msftedit.dll";

namespace {

// The older library of the same object; some systems (and Wine prefixes) have only this one.
constexpr wchar_t kFallbackLibraryName[] = L"riched20.dll";
constexpr int kTwipsPerInch = 1440;
constexpr int kHimetricPerInch = 2540;
constexpr int kDefaultDpi = 96;
constexpr LONG kDefaultTabStop = 720;  // twips: half an inch
constexpr DWORD kCharFormatMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR |
                                  CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
constexpr DWORD kEffectsFromFont = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE;
constexpr DWORD kScrollBarStyles =
    WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL;

const wchar_t* g_last_failure = L"";

void Fail(const wchar_t* reason) {
  g_last_failure = reason;
  ::OutputDebugStringW(reason);
}

// The library stays loaded for the process once a host needed it: text services objects of it
// may live until the last control goes, and reloading it for every control is wasted work.
HMODULE LoadTextServicesLibrary() {
  static HMODULE library = [] {
    const std::wstring local = kbase::ModuleDirectory() + CTxtWinHost::kModuleLibraryName;
    if (::GetFileAttributesW(local.c_str()) != INVALID_FILE_ATTRIBUTES) {
      if (HMODULE module = ::LoadLibraryW(local.c_str())) return module;
    }
    if (HMODULE module = ::LoadLibraryW(CTxtWinHost::kSystemLibraryName)) return module;
    return ::LoadLibraryW(kFallbackLibraryName);
  }();
  return library;
}

LONG Width(const RECT& rect) { return rect.right - rect.left; }
LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

}  // namespace

const wchar_t* CTxtWinHost::LastFailure() { return g_last_failure; }

COLORREF CTxtWinHost::ToColorRef(DWORD argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

bool CTxtWinHost::Create(RichEdit* control, const CREATESTRUCTW* create, CTxtWinHost** out) {
  CTxtWinHost* host = new CTxtWinHost;
  if (host->Init(control, create)) {
    g_last_failure = L"";
    *out = host;
  } else {
    delete host;
  }
  return true;
}

CTxtWinHost::CTxtWinHost() = default;

CTxtWinHost::~CTxtWinHost() {
  if (text_services_) {
    text_services_->OnTxInPlaceDeactivate();
    text_services_->Release();
  }
  if (own_dc_) ::DeleteDC(own_dc_);
}

// --- set-up ---

bool CTxtWinHost::Init(RichEdit* control, const CREATESTRUCTW* create) {
  control_ = control;
  ref_count_ = 1;
  InitCharFormat();
  InitParaFormat();
  style_ = ES_MULTILINE;
  SetPropertyFlag(kRich, control->IsRich());
  max_length_ = control->GetTextLimit();
  if (create) {
    style_ = create->style;
    if (!(style_ & (ES_AUTOHSCROLL | WS_HSCROLL))) flags_ |= kWordWrap;
    if (style_ & ES_CENTER) {
      para_format_.wAlignment = PFA_CENTER;
    } else if (style_ & ES_RIGHT) {
      para_format_.wAlignment = PFA_RIGHT;
    }
  }
  // The control draws its own background; some text services read the back style only when
  // they are created.
  flags_ |= kInPlaceActive | kTransparent;
  if (!CreateTextServices()) return false;
  if (create && create->lpszName && FAILED(text_services_->TxSetText(create->lpszName))) {
    Fail(L"The rich edit text services refused the initial text.\n");
    return false;
  }
  return true;
}

void CTxtWinHost::InitCharFormat() {
  char_format_ = {};
  char_format_.cbSize = sizeof(char_format_);
  char_format_.dwMask = kCharFormatMask;
  char_format_.crTextColor = ToColorRef(ResourceHub::ColorValue(control_->GetTextColor()));
  HFONT font = ResourceHub::FontHandle(control_->GetFont());
  // Without a font table (a framework started without its global markup) the text still
  // needs a real size.
  if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  ApplyFont(font);
}

void CTxtWinHost::InitParaFormat() {
  para_format_ = {};
  para_format_.cbSize = sizeof(para_format_);
  para_format_.dwMask = PFM_ALL;
  para_format_.wAlignment = PFA_LEFT;
  para_format_.cTabCount = 1;
  para_format_.rgxTabs[0] = kDefaultTabStop;
}

bool CTxtWinHost::CreateTextServices() {
  library_ = LoadTextServicesLibrary();
  if (!library_) {
    Fail(L"No rich edit library could be loaded (msftedit50.dll, msftedit.dll, riched20.dll).\n");
    return false;
  }
  auto create = reinterpret_cast<PCreateTextServices>(
      reinterpret_cast<void*>(::GetProcAddress(library_, "CreateTextServices")));
  if (!create) {
    Fail(L"The rich edit library has no CreateTextServices entry.\n");
    return false;
  }
  IUnknown* unknown = nullptr;
  if (FAILED(create(nullptr, this, &unknown)) || !unknown) {
    Fail(L"The rich edit library could not create text services.\n");
    return false;
  }
  const HRESULT result =
      unknown->QueryInterface(kIidTextServices, reinterpret_cast<void**>(&text_services_));
  unknown->Release();
  if (FAILED(result) || !text_services_) {
    text_services_ = nullptr;
    Fail(L"The rich edit object does not offer the text services interface.\n");
    return false;
  }
  return true;
}

// --- what the control calls ---

int CTxtWinHost::DeviceDpi(int index) {
  const int dpi = ::GetDeviceCaps(PaintDC(), index);
  return dpi == 0 ? kDefaultDpi : dpi;
}

HDC CTxtWinHost::PaintDC() {
  Window* window = control_ ? control_->GetWindow() : nullptr;
  if (window) {
    if (IRenderContext* render = window_link::RenderContext(window)) return render->GetDC();
  }
  if (!own_dc_) own_dc_ = ::CreateCompatibleDC(nullptr);
  return own_dc_;
}

HWND CTxtWinHost::WindowHandle() const {
  Window* window = control_->GetWindow();
  return window ? window_link::Handle(window) : nullptr;
}

bool CTxtWinHost::ApplyFont(HFONT font) {
  LOGFONTW log_font = {};
  if (!font || !::GetObjectW(font, sizeof(log_font), &log_font)) return false;
  char_format_.yHeight = -log_font.lfHeight * kTwipsPerInch / DeviceDpi(LOGPIXELSY);
  // Effects follow the font: a regular font after a bold one is regular again.
  char_format_.dwEffects &= ~kEffectsFromFont;
  if (log_font.lfWeight >= FW_BOLD) char_format_.dwEffects |= CFE_BOLD;
  if (log_font.lfItalic) char_format_.dwEffects |= CFE_ITALIC;
  if (log_font.lfUnderline) char_format_.dwEffects |= CFE_UNDERLINE;
  char_format_.yOffset = 0;
  char_format_.bCharSet = log_font.lfCharSet;
  char_format_.bPitchAndFamily = log_font.lfPitchAndFamily;
  lstrcpynW(char_format_.szFaceName, log_font.lfFaceName, LF_FACESIZE);
  return true;
}

void CTxtWinHost::SetFont(HFONT font) {
  if (!ApplyFont(font)) return;
  text_services_->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetTextColor(COLORREF color) {
  char_format_.crTextColor = color;
  text_services_->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
  // Text services may take the new default for later text only: the text there already, and
  // what replaces it, take the colour as well.
  CHARFORMAT2W format = {};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR;
  format.crTextColor = color;
  LRESULT ignored = 0;
  text_services_->TxSendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format),
                                &ignored);
}

void CTxtWinHost::SetClientRect(const RECT& rect) {
  const SIZEL extent = {::MulDiv(Width(rect), kHimetricPerInch, DeviceDpi(LOGPIXELSX)),
                        ::MulDiv(Height(rect), kHimetricPerInch, DeviceDpi(LOGPIXELSY))};
  // The same rectangle wraps the text the same way: telling the services would only make them
  // wrap it again.
  if (::EqualRect(&rect, &client_rect_) && extent.cx == extent_.cx && extent.cy == extent_.cy) {
    return;
  }
  client_rect_ = rect;
  extent_ = extent;
  text_services_->OnTxPropertyBitsChange(TXTBIT_CLIENTRECTCHANGE, TXTBIT_CLIENTRECTCHANGE);
}

RECT CTxtWinHost::GetAlignedClientRect() {
  RECT rect = client_rect_;
  const int align = control_->GetVerticalTextAlign();
  // The text services ask for the client rectangle while they are being created and while
  // they measure: the plain one then.
  if (align == 0 || measuring_ || !text_services_) return rect;
  measuring_ = true;
  LONG width = Width(rect);
  LONG height = 0;
  const SIZEL any = {-1, -1};
  text_services_->TxGetNaturalSize(DVASPECT_CONTENT, PaintDC(), nullptr, nullptr,
                                   TXTNS_FITTOCONTENT, &any, &width, &height);
  measuring_ = false;
  const LONG spare = Height(rect) - height;
  rect.top += align == 1 ? spare / 2 : spare;
  return rect;
}

bool CTxtWinHost::DoSetCursor(POINT point) {
  const SIZE scroll = control_->GetAncestorScrollPos();
  point.x += scroll.cx;
  point.y += scroll.cy;
  if (!::PtInRect(&client_rect_, point)) return false;
  const RECT* client = HasPropertyFlag(kInPlaceActive) ? nullptr : &client_rect_;
  text_services_->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr, PaintDC(), nullptr, client,
                                point.x, point.y);
  return true;
}

void CTxtWinHost::SetPropertyFlag(uint32_t bit, bool on) {
  flags_ = on ? (flags_ | bit) : (flags_ & ~bit);
}

void CTxtWinHost::ReplaceControl() { control_->SetPos(control_->GetPos()); }

// --- IUnknown ---

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!IsEqualIID(riid, __uuidof(IUnknown)) && !IsEqualIID(riid, kIidTextHost)) {
    return E_NOINTERFACE;
  }
  AddRef();
  *object = static_cast<ITextHost*>(this);
  return S_OK;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef() { return ++ref_count_; }

ULONG STDMETHODCALLTYPE CTxtWinHost::Release() {
  const ULONG count = --ref_count_;
  if (count == 0) delete this;
  return count;
}

// --- ITextHost: drawing, scroll bars and caret ---

HDC CTxtWinHost::TxGetDC() { return PaintDC(); }

INT CTxtWinHost::TxReleaseDC(HDC /*dc*/) { return 1; }

BOOL CTxtWinHost::TxShowScrollBar(INT /*bar*/, BOOL /*show*/) { return TRUE; }

BOOL CTxtWinHost::TxEnableScrollBar(INT bars, INT arrows) {
  if (arrows == ESB_DISABLE_BOTH) {
    ScrollBar* vertical = control_->GetVerticalScrollBar();
    ScrollBar* horizontal = control_->GetHorizontalScrollBar();
    if (vertical && (bars == SB_VERT || bars == SB_BOTH)) vertical->SetScrollRange(0);
    if (horizontal && (bars == SB_HORZ || bars == SB_BOTH)) horizontal->SetScrollRange(0);
  }
  ReplaceControl();
  return TRUE;
}

BOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG min_pos, INT max_pos, BOOL /*redraw*/) {
  ScrollBar* target = nullptr;
  LONG view = 0;
  if (bar == SB_VERT) {
    target = control_->GetVerticalScrollBar();
    view = Height(client_rect_);
  } else if (bar == SB_HORZ) {
    target = control_->GetHorizontalScrollBar();
    view = Width(client_rect_);
  }
  if (!target) return TRUE;
  const int64_t range = int64_t{max_pos} - min_pos - view;
  if (range <= 0) {
    target->SetScrollRange(0);
    return TRUE;
  }
  const bool was_hidden = target->GetScrollRange() == 0;
  target->SetScrollRange(range);
  if (was_hidden) ReplaceControl();
  return TRUE;
}

BOOL CTxtWinHost::TxSetScrollPos(INT bar, INT pos, BOOL /*redraw*/) {
  ScrollBar* target = bar == SB_VERT   ? control_->GetVerticalScrollBar()
                      : bar == SB_HORZ ? control_->GetHorizontalScrollBar()
                                       : nullptr;
  if (target) target->SetScrollPos(pos);
  return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rect, BOOL /*mode*/) {
  Window* window = control_->GetWindow();
  if (!WindowHandle()) return;
  RECT dirty = rect ? *rect : client_rect_;
  const SIZE scroll = control_->GetAncestorScrollPos();
  ::OffsetRect(&dirty, -scroll.cx, -scroll.cy);
  window_link::Invalidate(window, dirty);
}

void CTxtWinHost::TxViewChange(BOOL /*update*/) {}

BOOL CTxtWinHost::TxCreateCaret(HBITMAP /*bitmap*/, INT width, INT height) {
  control_->SetCaretSize(width, height);
  return TRUE;
}

BOOL CTxtWinHost::TxShowCaret(BOOL /*show*/) { return TRUE; }

BOOL CTxtWinHost::TxSetCaretPos(INT x, INT y) {
  control_->SetCaretPos(x, y);
  CHARRANGE selection = {0, 0};
  if (text_services_)
    text_services_->TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection), nullptr);
  control_->ShowCaret(selection.cpMin == selection.cpMax);
  return TRUE;
}

BOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout) {
  flags_ |= kTimerSet;
  control_->SetTimer(id, timeout);
  return TRUE;
}

void CTxtWinHost::TxKillTimer(UINT id) {
  control_->KillTimer(id);
  flags_ &= ~kTimerSet;
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

// --- ITextHost: input ---

void CTxtWinHost::TxSetCapture(BOOL capture) {
  HWND hwnd = WindowHandle();
  if (capture) {
    if (hwnd) ::SetCapture(hwnd);
  } else {
    ::ReleaseCapture();
  }
  SetPropertyFlag(kMouseCaptured, capture != FALSE);
}

void CTxtWinHost::TxSetFocus() { control_->SetFocus(); }

void CTxtWinHost::TxSetCursor(HCURSOR cursor, BOOL /*text*/) { ::SetCursor(cursor); }

BOOL CTxtWinHost::TxScreenToClient(LPPOINT point) {
  HWND hwnd = WindowHandle();
  return hwnd ? ::ScreenToClient(hwnd, point) : FALSE;
}

BOOL CTxtWinHost::TxClientToScreen(LPPOINT point) {
  HWND hwnd = WindowHandle();
  return hwnd ? ::ClientToScreen(hwnd, point) : FALSE;
}

HRESULT CTxtWinHost::TxActivate(LONG* /*old_state*/) { return S_OK; }

HRESULT CTxtWinHost::TxDeactivate(LONG /*new_state*/) { return S_OK; }

// --- ITextHost: properties ---

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rect) {
  *rect = GetAlignedClientRect();
  return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rect) {
  *rect = {0, 0, 0, 0};
  return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format) {
  *format = reinterpret_cast<const CHARFORMATW*>(&char_format_);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format) {
  *format = reinterpret_cast<const PARAFORMAT*>(&para_format_);
  return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index) { return ::GetSysColor(index); }

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style) {
  *style = HasPropertyFlag(kTransparent) ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length) {
  *length = static_cast<DWORD>(max_length_);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* scroll_bars) {
  *scroll_bars = style_ & kScrollBarStyles;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch) {
  // Without a character the text services would show a password in clear.
  *ch = (style_ & ES_PASSWORD) ? kDefaultPasswordChar : 0;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* position) {
  *position = accelerator_pos_;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent) {
  *extent = extent_;
  return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW* /*format*/) { return S_OK; }

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT* /*format*/) { return S_OK; }

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits) {
  const bool multi_line = (style_ & ES_MULTILINE) != 0;
  const bool rich = HasPropertyFlag(kRich);
  DWORD result = (rich ? TXTBIT_RICHTEXT : 0) | (multi_line ? TXTBIT_MULTILINE : 0);
  if (style_ & ES_READONLY) result |= TXTBIT_READONLY;
  if (style_ & ES_PASSWORD) result |= TXTBIT_USEPASSWORD;
  if (!(style_ & ES_NOHIDESEL)) result |= TXTBIT_HIDESELECTION;
  if (HasPropertyFlag(kAutoWordSelection)) result |= TXTBIT_AUTOWORDSEL;
  if (HasPropertyFlag(kWordWrap)) result |= TXTBIT_WORDWRAP;
  if (HasPropertyFlag(kAllowBeep)) result |= TXTBIT_ALLOWBEEP;
  if (HasPropertyFlag(kSaveSelection)) result |= TXTBIT_SAVESELECTION;
  *bits = result & mask;
  return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data) {
  if (code == EN_REQUESTRESIZE && data) {
    const RECT& requested = static_cast<REQRESIZE*>(data)->rc;
    const RECT aligned = GetAlignedClientRect();
    SetClientRect({aligned.left, aligned.top, aligned.left + Width(requested),
                   aligned.top + Height(requested)});
  }
  control_->OnTxNotify(code, data);
  return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() { return nullptr; }

void CTxtWinHost::TxImmReleaseContext(HIMC /*context*/) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width) {
  *width = selection_bar_width_;
  return S_OK;
}

}  // namespace ui
