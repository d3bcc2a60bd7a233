#include "ui/controls/box/child_box.h"

#include "ui/controls/core/markup_link.h"

namespace ui {

ChildBox::ChildBox() = default;

void ChildBox::Init() {
  if (!xml_file_.empty()) {
    Control* content = markup_link::BuildBoxFromMarkup(xml_file_);
    if (content) {
      Add(content);
    } else {
      RemoveAll();
    }
  }
  Box::Init();
}

void ChildBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"xmlfile") {
    xml_file_ = value;
    return;
  }
  Box::SetAttribute(name, value);
}

}  // namespace ui
