#pragma once

#include <string>

#include "ui/controls/box/box.h"

namespace ui {

// A box whose children come from another markup file ("xmlfile"), built at every Init (each
// attachment under a parent of a window). As Box otherwise.
class ChildBox : public Box {
 public:
  ChildBox();

  void Init() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  std::wstring GetChildXmlFile() const { return xml_file_; }
  void SetChildXmlFile(const std::wstring& file) { xml_file_ = file; }

 private:
  std::wstring xml_file_;
};

}  // namespace ui
