// The control pass and the built-in class table of the markup builder.
#include "ui/windowing/markup/markup_builder.h"

#include <cwchar>

#include "ui/base/util/text_util.h"
#include "ui/controls/box/box.h"
#include "ui/controls/box/child_box.h"
#include "ui/controls/box/h_box.h"
#include "ui/controls/box/v_box.h"
#include "ui/controls/button/option.h"
#include "ui/controls/core/control.h"
#include "ui/controls/layout/h_layout.h"
#include "ui/controls/layout/layout.h"
#include "ui/controls/layout/v_layout.h"
#include "ui/controls/list/list_box.h"
#include "ui/controls/list/list_container_element.h"
#include "ui/controls/list/tree_node.h"
#include "ui/controls/list/tree_view.h"
#include "ui/controls/progress/progress.h"
#include "ui/controls/progress/slider.h"
#include "ui/controls/richedit/rich_edit.h"
#include "ui/controls/scroll/scroll_bar.h"
#include "ui/controls/tab/tab_box.h"
#include "ui/controls/tab/tile_box.h"
#include "ui/controls/tab/tile_layout.h"
#include "ui/controls/virtuallist/virtual_layout.h"
#include "ui/controls/virtuallist/virtual_list_box.h"
#include "ui/windowing/combo/combo.h"

namespace ui {

namespace {

bool Is(const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b) == 0; }

// Elements of the document level that the control pass leaves alone.
bool IsDefinition(const wchar_t* name) {
  return Is(name, L"Image") || Is(name, L"Font") || Is(name, L"Class") || Is(name, L"TextColor");
}

std::wstring Attribute(XmlNode& node, const wchar_t* name) {
  wchar_t buffer[XmlNode::kLongestCopiedValue + 1] = {};
  if (!node.AttributeValue(name, buffer, sizeof(buffer) / sizeof(buffer[0]))) return {};
  return buffer;
}

void AttachEventElement(XmlNode& node, Control* owner) {
  const bool bubbled = Is(node.Name(), L"BubbledEvent");
  const std::wstring types = Attribute(node, L"type");
  const std::wstring receivers = Attribute(node, L"receiver");
  const std::wstring attributes = Attribute(node, L"applyattribute");
  if (types.empty() || receivers.empty()) return;
  auto* box = dynamic_cast<Box*>(owner);
  if (bubbled && !box) return;
  for (const std::wstring& type_name : TextUtil::Split(types, L" ")) {
    const EventType type = EventTypeFromString(type_name);
    for (const std::wstring& receiver : TextUtil::Split(receivers, L" ")) {
      EventCallback handler = BindWeakEventHandler(owner, receiver, attributes);
      if (bubbled) {
        box->AttachXmlBubbledEvent(type, std::move(handler));
      } else {
        owner->AttachXmlEvent(type, std::move(handler));
      }
    }
  }
}

}  // namespace

MarkupBuilder::MarkupBuilder() : document_(true) {}

Control* MarkupBuilder::Load(const std::wstring& markup, const CreateControlCallback& callback,
                             Window* window, Box* parent, int parent_depth) {
  error_ = nullptr;
  const bool loaded = !markup.empty() && markup[0] == L'<'
                          ? document_.LoadFromString(markup.c_str())
                          : document_.LoadFromFile(markup.c_str());
  if (!loaded) return nullptr;
  return Build(window, parent, callback, parent_depth);
}

Control* MarkupBuilder::Build(Window* window, Box* parent, const CreateControlCallback& callback,
                              int parent_depth) {
  callback_ = callback;
  error_ = nullptr;
  XmlNode root = document_.Root();
  if (!root.IsValid()) return nullptr;
  // Checked before anything is built, so a refused document leaves no partial tree behind.
  // The root element makes no control.
  if (parent_depth + document_.Depth() - 1 > kMostControlDepth) {
    error_ = L"Markup nested too deeply";
    return nullptr;
  }
  if (window) {
    if (Is(root.Name(), L"Global")) ApplyGlobal(root);
    if (Is(root.Name(), L"Window")) ApplyWindow(root, window);
  }
  for (XmlNode node = root.FirstChild(); node.IsValid(); node = node.NextSibling()) {
    if (IsDefinition(node.Name())) continue;
    return BuildChildren(root.FirstChild(), window, parent, parent, parent_depth + 1);
  }
  return nullptr;
}

Control* MarkupBuilder::CreateControl(const std::wstring& name) {
  if (name == L"Control") return new Control;
  if (name == L"Box") return new Box(new Layout);
  if (name == L"HBox") return new HBox;
  if (name == L"VBox") return new VBox;
  if (name == L"TileBox") return new TileBox;
  if (name == L"ChildBox") return new ChildBox;
  if (name == L"Label") return new Label;
  if (name == L"LabelBox") return new LabelBox;
  if (name == L"Button") return new Button;
  if (name == L"ButtonBox") return new ButtonBox;
  if (name == L"CheckBox") return new CheckBox;
  if (name == L"CheckBoxBox") return new CheckBoxBox;
  if (name == L"Option") return new Option;
  if (name == L"OptionBox") return new OptionBox;
  if (name == L"TabBox") return new TabBox;
  if (name == L"ListBox") return new ListBox(new Layout);
  if (name == L"HListBox") return new ListBox(new HLayout);
  if (name == L"VListBox") return new ListBox(new VLayout);
  if (name == L"TileListBox") return new ListBox(new TileLayout);
  if (name == L"VirtualListBox") return new VirtualListBox(new VirtualLayout);
  if (name == L"ListContainerElement") return new ListContainerElement;
  if (name == L"TreeView") return new TreeView;
  if (name == L"TreeNode") return new TreeNode;
  if (name == L"Combo") return new Combo;
  if (name == L"ScrollBar") return new ScrollBar;
  if (name == L"Progress") return new Progress;
  if (name == L"Slider") return new Slider;
  if (name == L"RichEdit") return new RichEdit;
  return nullptr;
}

Control* MarkupBuilder::MakeControl(const std::wstring& name) {
  if (Control* control = CreateControl(name)) return control;
  const CreateControlCallback& global = ResourceHub::CreateControl();
  if (global) {
    if (Control* control = global(name)) return control;
  }
  return callback_ ? callback_(name) : nullptr;
}

void MarkupBuilder::Include(XmlNode& node, Window* window, Box* parent, int depth) {
  if (!node.HasAttributes()) return;
  const std::wstring source = Attribute(node, L"source");
  if (source.empty()) return;
  if (include_depth_ >= kMostIncludeDepth) return;
  const std::wstring count_text = Attribute(node, L"count");
  const int count = count_text.empty() ? 1 : _wtoi(count_text.c_str());
  for (int i = 0; i < count; ++i) {
    MarkupBuilder included;
    included.include_depth_ = include_depth_ + 1;
    Control* built = included.Load(source, callback_, window, parent, depth - 1);
    // Without a parent nobody would own what the included file built.
    if (!parent) delete built;
  }
}

void MarkupBuilder::ApplyAttributes(XmlNode& node, Control* control) {
  // Document order matters: a "class" is applied where it stands, so attributes written after
  // it override the class and those before it do not.
  for (int i = 0; i < node.AttributeCount(); ++i) {
    control->SetAttribute(node.AttributeName(i), node.AttributeValue(i));
  }
}

bool MarkupBuilder::Adopt(Control* control, Control* parent, bool* stop) {
  auto* box = dynamic_cast<Box*>(parent);
  if (!box) {
    delete control;
    *stop = true;
    return false;
  }
  if (box->Add(control)) return true;
  delete control;
  return false;
}

Control* MarkupBuilder::BuildChildren(XmlNode first, Window* window, Box* parent, Control* owner,
                                      int depth) {
  Control* result = nullptr;
  for (XmlNode node = first; node.IsValid(); node = node.NextSibling()) {
    const wchar_t* name = node.Name();
    if (IsDefinition(name)) continue;
    if (Is(name, L"Include")) {
      Include(node, window, parent, depth);
      continue;
    }
    Control* control = CreateControl(name);
    if (!control && (Is(name, L"Event") || Is(name, L"BubbledEvent"))) {
      if (owner) AttachEventElement(node, owner);
      continue;
    }
    if (!control) control = MakeControl(name);
    if (!control) continue;
    control->SetWindowOnly(window);
    if (auto* child_box = dynamic_cast<ChildBox*>(control)) child_box->SetBuildDepth(depth);
    ApplyAttributes(node, control);
    BuildChildren(node.FirstChild(), window, dynamic_cast<Box*>(control), control, depth + 1);
    if (owner) {
      bool stop = false;
      if (!Adopt(control, owner, &stop)) {
        if (stop) return result;
        continue;
      }
    }
    if (result && !owner) {
      // Callers without a parent take one top-level control; a further one would be lost.
      delete control;
      continue;
    }
    if (!result) result = control;
  }
  return result;
}

EventCallback BindWeakEventHandler(Control* owner, const std::wstring& receiver,
                                   const std::wstring& attribute_list) {
  return owner->ToWeakCallback([owner, receiver, attribute_list](EventArgs* args) {
    return owner->OnApplyAttributeList(receiver, attribute_list, args);
  });
}

}  // namespace ui
