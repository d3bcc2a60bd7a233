#pragma once

#include <windows.h>
#include <ole2.h>
#include <richedit.h>
#include <textserv.h>

#include <cstdint>

namespace ui {

class RichEdit;

// The interface identifiers of the windowless rich edit object, defined here so the framework
// does not depend on an import library that carries them.
extern const IID kIidTextServices;  // {8D33F740-CF58-11CE-A89D-00AA006CADC5}
extern const IID kIidTextHost;      // {C5BDD8D0-D26E-11CE-A89E-00AA006CADC5}

// The host side of a RichEdit's windowless text services: it tells the rich edit library the
// control's rectangle, default formats and properties, and carries out what the library asks
// (drawing, invalidation, caret, timers, scroll bars, capture, cursor, notifications) in terms of
// the framework's window, the control's scroll bars and the timer manager.
//
// Calling convention: the ITextHost and ITextServices declarations of the platform header are
// plain C++ virtual methods, which the i686 compiler calls with thiscall, as the system library
// does; only the three IUnknown methods are stdcall. On x86_64 there is one convention.
//
// Threads: the control's window thread only.
// Ownership: one host per control; the control owns it (reference count 1) and ends it with
// Release. The host owns the text services object and releases it when destroyed.
class CTxtWinHost : public ITextHost {
 public:
  // Bits of the property flags.
  static constexpr uint32_t kAutoWordSelection = 1u << 0;
  static constexpr uint32_t kWordWrap = 1u << 1;
  static constexpr uint32_t kAllowBeep = 1u << 2;
  static constexpr uint32_t kRich = 1u << 3;
  static constexpr uint32_t kSaveSelection = 1u << 4;
  static constexpr uint32_t kInPlaceActive = 1u << 5;
  static constexpr uint32_t kTransparent = 1u << 6;
  static constexpr uint32_t kTimerSet = 1u << 7;
  static constexpr uint32_t kMouseCaptured = 1u << 8;

  static constexpr LONG kDefaultMaxLength = 0x7FFF;
  // What the text services show for each character while the password style is set.
  static constexpr wchar_t kDefaultPasswordChar = L'*';
  // The library's file in the module folder, and the system's one used when that is missing.
  static const wchar_t kModuleLibraryName[];
  static const wchar_t kSystemLibraryName[];

  // Why the last Create made no host ("" when it made one): the library that could not be
  // loaded or the step of the text services that failed. Also sent to the debugger output.
  static const wchar_t* LastFailure();
  // The ARGB colour (alpha dropped) as a GDI colour.
  static COLORREF ToColorRef(DWORD argb);

  // Makes a host for control. create (style and lpszName used) may be null. On success *out is
  // the new host; on failure (no rich edit library, no text services) *out is left untouched.
  // Always true: callers test *out.
  static bool Create(RichEdit* control, const CREATESTRUCTW* create, CTxtWinHost** out);

  CTxtWinHost(const CTxtWinHost&) = delete;
  CTxtWinHost& operator=(const CTxtWinHost&) = delete;

  ITextServices* GetTextServices() const { return text_services_; }

  // Takes size, effects, charset, family and face of font into the default character format.
  // Nothing for a null font.
  void SetFont(HFONT font);
  // The text area in window coordinates; its size in HIMETRIC becomes the extent.
  void SetClientRect(const RECT& rect);
  RECT GetClientRect() const { return client_rect_; }
  // The client rectangle moved down for the control's vertical text alignment.
  RECT GetAlignedClientRect();
  // Lets the text services set the cursor when point (window coordinates) lies in the text;
  // false when it does not.
  bool DoSetCursor(POINT point);
  SIZEL GetExtent() const { return extent_; }

  uint32_t GetPropertyFlags() const { return flags_; }
  void SetPropertyFlag(uint32_t bit, bool on);
  bool HasPropertyFlag(uint32_t bit) const { return (flags_ & bit) != 0; }
  DWORD GetStyle() const { return style_; }
  // Read by the text services through TxGetPropertyBits and TxGetScrollBars.
  void SetStyle(DWORD style) { style_ = style; }
  const CHARFORMAT2W& DefaultCharFormat() const { return char_format_; }
  // Sets the default text colour and tells the text services.
  void SetTextColor(COLORREF color);
  const PARAFORMAT2& DefaultParaFormat() const { return para_format_; }
  // The module the text services came from; null without them.
  HMODULE GetLibrary() const { return library_; }
  // The DC the text services measure with: the window's render context, or the host's own
  // memory DC while the control has no window.
  HDC PaintDC();

  // --- IUnknown ---
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // --- ITextHost ---
  HDC TxGetDC() override;
  INT TxReleaseDC(HDC dc) override;
  BOOL TxShowScrollBar(INT bar, BOOL show) override;
  BOOL TxEnableScrollBar(INT bars, INT arrows) override;
  BOOL TxSetScrollRange(INT bar, LONG min_pos, INT max_pos, BOOL redraw) override;
  BOOL TxSetScrollPos(INT bar, INT pos, BOOL redraw) override;
  void TxInvalidateRect(LPCRECT rect, BOOL mode) override;
  void TxViewChange(BOOL update) override;
  BOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
  BOOL TxShowCaret(BOOL show) override;
  BOOL TxSetCaretPos(INT x, INT y) override;
  BOOL TxSetTimer(UINT id, UINT timeout) override;
  void TxKillTimer(UINT id) override;
  void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update_region,
                        LPRECT update, UINT flags) override;
  void TxSetCapture(BOOL capture) override;
  void TxSetFocus() override;
  void TxSetCursor(HCURSOR cursor, BOOL text) override;
  BOOL TxScreenToClient(LPPOINT point) override;
  BOOL TxClientToScreen(LPPOINT point) override;
  HRESULT TxActivate(LONG* old_state) override;
  HRESULT TxDeactivate(LONG new_state) override;
  HRESULT TxGetClientRect(LPRECT rect) override;
  HRESULT TxGetViewInset(LPRECT rect) override;
  HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
  HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
  COLORREF TxGetSysColor(int index) override;
  HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
  HRESULT TxGetMaxLength(DWORD* length) override;
  HRESULT TxGetScrollBars(DWORD* scroll_bars) override;
  HRESULT TxGetPasswordChar(TCHAR* ch) override;
  HRESULT TxGetAcceleratorPos(LONG* position) override;
  HRESULT TxGetExtent(LPSIZEL extent) override;
  HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
  HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
  HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
  HRESULT TxNotify(DWORD code, void* data) override;
  HIMC TxImmGetContext() override;
  void TxImmReleaseContext(HIMC context) override;
  HRESULT TxGetSelectionBarWidth(LONG* width) override;

 private:
  CTxtWinHost();
  // Destroyed through Release (or by Create when Init fails).
  virtual ~CTxtWinHost();

  bool Init(RichEdit* control, const CREATESTRUCTW* create);
  void InitCharFormat();
  void InitParaFormat();
  // Loads the library and creates the text services; false (with LastFailure set) when any
  // step fails.
  bool CreateTextServices();
  // Fills size and effects of the default character format from font's LOGFONT.
  bool ApplyFont(HFONT font);
  int DeviceDpi(int index);
  HWND WindowHandle() const;
  // Re-places the control at its own position, so its text area follows its scroll bars.
  void ReplaceControl();

  RichEdit* control_ = nullptr;
  ULONG ref_count_ = 0;
  ITextServices* text_services_ = nullptr;
  DWORD style_ = ES_MULTILINE;
  uint32_t flags_ = 0;
  LONG selection_bar_width_ = 0;
  LONG max_length_ = kDefaultMaxLength;
  RECT client_rect_ = {0, 0, 0, 0};
  SIZEL extent_ = {0, 0};
  CHARFORMAT2W char_format_ = {};
  PARAFORMAT2 para_format_ = {};
  LONG accelerator_pos_ = -1;
  HMODULE library_ = nullptr;
  HDC own_dc_ = nullptr;
  // Set while GetAlignedClientRect measures the text.
  bool measuring_ = false;
};

}  // namespace ui
