#include "ui/controls/shadow/window_shadow.h"

#include "ui/base/dpi/display_scale.h"
#include "ui/controls/layout/layout.h"
#include "ui/controls/shadow/shadow_box.h"

namespace ui {

namespace {

// Rounds the default shadow bitmap's inner corners are drawn for.
constexpr int kDefaultRound = 3;

// Keeps -1 ("stretch"), -2 ("auto") and 0 as they are; widens a real size by the margin.
int WrappedSize(int root_size, LONG margin) {
  return root_size > 0 ? root_size + static_cast<int>(margin) : root_size;
}

}  // namespace

const wchar_t WindowShadow::kDefaultImage[] =
    L"file='../public/bk/bk_shadow.png' corner='30,30,30,30'";

WindowShadow::WindowShadow() : image_(kDefaultImage) { SetShadowCorner(given_corner_); }

void WindowShadow::SetShadowImage(const std::wstring& spec) {
  image_ = spec;
  default_image_ = false;
}

void WindowShadow::SetShadowCorner(RECT corner) {
  given_corner_ = corner;
  DisplayScale::Instance().ScaleRectangle(corner);
  corner_ = corner;
  saved_corner_ = corner;
}

RECT WindowShadow::ShadowMargin() const { return attached_ ? corner_ : RECT{0, 0, 0, 0}; }

Control* WindowShadow::AttachShadow(Control* root) {
  if (!attached_ || !root) return root;
  box_ = new ShadowBox;
  box_->GetLayout()->SetPadding(corner_, false);
  box_->SetFixedWidth(WrappedSize(root->GetFixedWidth(), corner_.left + corner_.right), true,
                      false);
  box_->SetFixedHeight(WrappedSize(root->GetFixedHeight(), corner_.top + corner_.bottom), false);
  if (default_image_) root->SetBorderRound(kDefaultRound, kDefaultRound);
  box_->Add(root);
  box_->SetBkImage(image_);
  return box_;
}

void WindowShadow::ApplyMargin(const RECT& margin, int round) {
  box_->GetLayout()->SetPadding(margin, false);
  Control* root = box_->GetItemAt(0);
  if (default_image_ && root) root->SetBorderRound(round, round);
}

void WindowShadow::MaximizedOrRestored(bool maximized) {
  if (!attached_ || !box_) return;
  corner_ = maximized ? RECT{0, 0, 0, 0} : saved_corner_;
  ApplyMargin(corner_, maximized ? 0 : kDefaultRound);
}

void WindowShadow::ChangeDpiScale() {
  RECT scaled = given_corner_;
  DisplayScale::Instance().ScaleRectangle(scaled);
  corner_ = scaled;
  saved_corner_ = scaled;
  if (box_) box_->GetLayout()->SetPadding(given_corner_, true);
}

}  // namespace ui
