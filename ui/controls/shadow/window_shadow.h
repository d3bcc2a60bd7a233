#pragma once

#include <windows.h>

#include <string>

namespace ui {

class Control;
class ShadowBox;

// A window's shadow settings and its shadow box. The margin it reports (ShadowMargin) is how
// much larger the window is than its visible body on each side.
//
// Threads: the window's thread only.
// Ownership: one record per window, living as long as the window. The shadow box it creates is
// owned by the window as its root control; the record keeps a plain pointer to it and must not
// be used for the box after the window's tree is destroyed.
class WindowShadow {
 public:
  // The default image is "file='../public/bk/bk_shadow.png' corner='30,30,30,30'".
  static const wchar_t kDefaultImage[];

  // Attached, default image, corner 14 on each side (DPI-scaled now).
  WindowShadow();

  bool IsAttached() const { return attached_; }
  void SetAttached(bool attached) { attached_ = attached; }
  bool IsDefaultImage() const { return default_image_; }
  std::wstring GetShadowImage() const { return image_; }
  // Replaces the default image; the root then keeps its own border round.
  void SetShadowImage(const std::wstring& spec);
  // The corner as given (unscaled); it becomes the current and saved corner once scaled.
  void SetShadowCorner(RECT corner);
  // The current corner while attached, else zero; zero too while maximised.
  RECT ShadowMargin() const;

  // Returns the window's new root: root itself when not attached, else a new shadow box that
  // holds root (the caller installs it and owns it through the window).
  Control* AttachShadow(Control* root);
  // Maximised windows show their body edge to edge; restoring brings the margin back.
  void MaximizedOrRestored(bool maximized);
  // Re-scales the corner from its unscaled value; also undoes a maximised zero margin.
  void ChangeDpiScale();
  ShadowBox* GetShadowBox() const { return box_; }

 private:
  // Padding and, with the default image, the root's corner rounding for margin.
  void ApplyMargin(const RECT& margin, int round);

  bool attached_ = true;
  bool default_image_ = true;
  std::wstring image_;
  RECT corner_ = {0, 0, 0, 0};
  RECT given_corner_ = {14, 14, 14, 14};
  RECT saved_corner_ = {0, 0, 0, 0};
  ShadowBox* box_ = nullptr;
};

}  // namespace ui
