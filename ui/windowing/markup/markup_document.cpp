// The document level of the markup builder: "Global" definitions and "Window" attributes.
#include <cwchar>
#include <cwctype>

#include "ui/base/resource/resource_hub.h"
#include "ui/base/xml/attribute_numbers.h"
#include "ui/windowing/markup/markup_builder.h"
#include "ui/windowing/window/window.h"

namespace ui {

namespace {

constexpr int kDefaultFontSize = 12;

bool Is(const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b) == 0; }

std::wstring Attribute(XmlNode& node, const wchar_t* name) {
  wchar_t buffer[XmlNode::kLongestCopiedValue + 1] = {};
  if (!node.AttributeValue(name, buffer, sizeof(buffer) / sizeof(buffer[0]))) return {};
  return buffer;
}

bool IsTrue(XmlNode& node, const wchar_t* name) { return Attribute(node, name) == L"true"; }

void AddGlobalFont(XmlNode node) {
  const std::wstring face = Attribute(node, L"name");
  if (face.empty()) return;
  const std::wstring size = Attribute(node, L"size");
  ResourceHub::AddFont(face, size.empty() ? kDefaultFontSize : _wtoi(size.c_str()),
                       IsTrue(node, L"bold"), IsTrue(node, L"underline"), IsTrue(node, L"italic"));
}

SIZE ReadSize(const wchar_t* text) {
  long values[2] = {};
  ReadNumbers(text, values, 2);
  return SIZE{values[0], values[1]};
}

// The shadow's part of the "Window" attributes; false for any other name.
bool ApplyShadowAttribute(const wchar_t* name, const wchar_t* value, WindowShadow& shadow) {
  if (Is(name, L"shadowattached")) {
    shadow.SetAttached(Is(value, L"true"));
  } else if (Is(name, L"shadowimage")) {
    shadow.SetShadowImage(value);
  } else if (Is(name, L"shadowcorner")) {
    RECT rect = {};
    ReadRect(value, rect);
    shadow.SetShadowCorner(rect);
  } else {
    return false;
  }
  return true;
}

// Classes of a window, from its "Class" children; the other children are controls.
void AddWindowClasses(XmlNode root, Window* window) {
  for (XmlNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    if (!Is(node.Name(), L"Class")) continue;
    const std::wstring name = Attribute(node, L"name");
    if (!name.empty()) window->AddClass(name, Attribute(node, L"value"));
  }
}

}  // namespace

void MarkupBuilder::ApplyGlobal(XmlNode root) {
  for (int i = 0; i < root.AttributeCount(); ++i) {
    const wchar_t* name = root.AttributeName(i);
    const wchar_t* value = root.AttributeValue(i);
    if (Is(name, L"disabledfontcolor")) ResourceHub::SetDefaultDisabledTextColor(value);
    if (Is(name, L"defaultfontcolor")) ResourceHub::SetDefaultTextColor(value);
  }
  for (XmlNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    const wchar_t* element = node.Name();
    if (Is(element, L"Font")) {
      AddGlobalFont(node);
      continue;
    }
    const std::wstring name = Attribute(node, L"name");
    if (name.empty()) continue;
    if (Is(element, L"Class")) ResourceHub::AddClass(name, Attribute(node, L"value"));
    if (Is(element, L"TextColor")) ResourceHub::AddTextColor(name, Attribute(node, L"value"));
  }
}

void MarkupBuilder::ApplyWindow(XmlNode root, Window* window) {
  if (window->GetHWND()) ApplyWindowAttributes(root, window);
  AddWindowClasses(root, window);
}

void MarkupBuilder::ApplyWindowAttributes(XmlNode root, Window* window) {
  for (int i = 0; i < root.AttributeCount(); ++i) {
    const wchar_t* name = root.AttributeName(i);
    const wchar_t* value = root.AttributeValue(i);
    if (ApplyShadowAttribute(name, value, window->GetShadow())) continue;
    if (Is(name, L"size")) {
      const SIZE size = ReadSize(value);
      window->SetInitSize(size.cx, size.cy, true);
    } else if (Is(name, L"heightpercent")) {
      ApplyHeightPercent(value, window);
    } else if (Is(name, L"sizebox")) {
      RECT rect = {};
      ReadRect(value, rect);
      window->SetSizeBox(rect);
    } else if (Is(name, L"caption")) {
      RECT rect = {};
      ReadRect(value, rect);
      window->SetCaptionRect(rect);
    } else if (Is(name, L"textid")) {
      window->SetTextId(value);
    } else if (Is(name, L"roundcorner")) {
      const SIZE size = ReadSize(value);
      window->SetRoundCorner(size.cx, size.cy);
    } else if (Is(name, L"mininfo")) {
      const SIZE size = ReadSize(value);
      window->SetMinInfo(size.cx, size.cy);
    } else if (Is(name, L"maxinfo")) {
      const SIZE size = ReadSize(value);
      window->SetMaxInfo(size.cx, size.cy);
    } else if (Is(name, L"alphafixcorner") || Is(name, L"custom_shadow")) {
      RECT rect = {};
      ReadRect(value, rect);
      window->SetAlphaFixCorner(rect);
    }
  }
}

void MarkupBuilder::ApplyHeightPercent(const std::wstring& value, Window* window) {
  const double percent = _wtof(value.c_str());
  window->SetHeightPercent(percent);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window->GetHWND(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  int height = static_cast<int>((monitor.rcWork.bottom - monitor.rcWork.top) * percent);
  const RECT margin = window->ShadowMargin();
  const int shadow = margin.top + margin.bottom;
  const int min_height = window->GetMinInfo().cy - shadow;
  const int max_height = window->GetMaxInfo().cy - shadow;
  if (min_height > 0 && height < min_height) height = min_height;
  if (max_height > 0 && height > max_height) height = max_height;
  window->SetInitSize(window->GetInitSize().cx, height, false);
}

}  // namespace ui
