#include "ui/controls/progress/progress.h"

#include <cwchar>
#include <limits>
#include <string>

#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"

namespace ui {
namespace {

constexpr UINT kProgressTextStyle = DT_CENTER | DT_SINGLELINE;
constexpr int kDefaultHeight = 12;

int ReadInt(const std::wstring& value) {
  return static_cast<int>(wcstol(value.c_str(), nullptr, 10));
}

std::wstring RectList(const RECT& rect) {
  return std::to_wstring(rect.left) + L',' + std::to_wstring(rect.top) + L',' +
         std::to_wstring(rect.right) + L',' + std::to_wstring(rect.bottom);
}

}  // namespace

Progress::Progress() {
  text_style_ = kProgressTextStyle;
  SetFixedHeight(kDefaultHeight, true);
}

void Progress::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"hor") {
    SetFlagAndRepaint(&horizontal_, value == L"true");
  } else if (name == L"min") {
    SetNumberAndRepaint(&min_, ReadInt(value));
  } else if (name == L"max") {
    SetNumberAndRepaint(&max_, ReadInt(value));
  } else if (name == L"value") {
    SetValue(ReadInt(value));
  } else if (name == L"progressimage") {
    progress_image_.SetSpecText(value);
    Invalidate();
  } else if (name == L"isstretchfore") {
    SetFlagAndRepaint(&stretch_fore_, value == L"true");
  } else if (name == L"progresscolor") {
    size_t start = 0;
    while (start < value.size() && value[start] <= L' ') ++start;
    SetProgressColor(value.substr(start));
  } else {
    Label::SetAttribute(name, value);
  }
}

void Progress::SetNumberAndRepaint(int* field, int value) {
  *field = value;
  Invalidate();
}

void Progress::SetValue(double value) {
  value_ = value;
  Invalidate();
}

void Progress::SetProgressColor(const std::wstring& name) {
  if (name == progress_color_) return;
  progress_color_ = name;
  Invalidate();
}

void Progress::ClearImages() {
  Label::ClearImages();
  progress_image_.ClearDecoded();
}

RECT Progress::GetProgressPos() {
  const double width = pos_.right - pos_.left;
  const double height = pos_.bottom - pos_.top;
  if (horizontal_) {
    return {0, 0, static_cast<LONG>(width * (value_ - min_) / Range()), pos_.bottom - pos_.top};
  }
  return {0, static_cast<LONG>((max_ - value_) * height / Range()), pos_.right - pos_.left,
          pos_.bottom - pos_.top};
}

std::wstring Progress::DestModify(const RECT& dest) {
  return L"destscale='false' dest='" + RectList(dest) + L"'";
}

void Progress::ClampValue() {
  if (max_ <= min_) {
    if (min_ == std::numeric_limits<int>::max()) --min_;
    max_ = min_ + 1;
  }
  if (value_ > max_) value_ = max_;
  if (value_ < min_) value_ = min_;
}

void Progress::PaintStateImages(IRenderContext* render) {
  ClampValue();
  const RECT fill = GetProgressPos();
  if (!progress_color_.empty()) {
    const DWORD color = ResourceHub::ColorValue(progress_color_);
    if (color != 0) {
      RECT rect = pos_;
      if (horizontal_) {
        rect.right = rect.left + fill.right;
      } else {
        rect.top = rect.top + fill.top;
      }
      render->DrawColor(rect, static_cast<Gdiplus::ARGB>(color), 255);
    }
  }
  if (progress_image_.spec.spec_text.empty()) return;
  // Stretched, the whole image fills the bar; cropped, the bar uncovers the image.
  progress_image_modify_ = DestModify(fill);
  if (!stretch_fore_) progress_image_modify_ += L" source='" + RectList(fill) + L"'";
  DrawImage(render, progress_image_, progress_image_modify_, -1);
}

}  // namespace ui
