#pragma once

#include <functional>
#include <string>

#include "ui/base/callback/handler_chain.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/xml/xml_doc.h"

namespace ui {

class Box;
class Control;
class Window;

// Turns markup into framework objects: the document-level definitions ("Global" fonts, colours
// and classes; "Window" attributes and window classes) and the control tree, with included
// files, classes and the event handlers the markup declares. The parsed document stays with
// the builder, so one builder can build its tree many times.
//
// Threads: the UI thread that owns the window being built.
// Ownership: a tree built without a parent belongs to the caller; otherwise to the parent box.
class MarkupBuilder {
 public:
  // An "Include" nested deeper than this is not followed, so a file that includes itself (or a
  // cycle of files) ends instead of recursing until the stack overflows.
  static constexpr int kMostIncludeDepth = 8;

  MarkupBuilder();
  MarkupBuilder(const MarkupBuilder&) = delete;
  MarkupBuilder& operator=(const MarkupBuilder&) = delete;

  // markup beginning with "<" is the markup text itself, anything else a file name (relative
  // names under the resource path). Null, building nothing, when the document does not load.
  Control* Load(const std::wstring& markup, const CreateControlCallback& callback,
                Window* window, Box* parent);
  // Applies the document-level definitions (only with a window), then builds the controls
  // under parent. The first control made directly under the root element, or null.
  Control* Build(Window* window, Box* parent, const CreateControlCallback& callback);
  // A new control of the built-in class with exactly that name, or null.
  static Control* CreateControl(const std::wstring& class_name);

  // The reader's message when Load failed.
  const wchar_t* ErrorMessage() const { return document_.ErrorMessage(); }

 private:
  void ApplyGlobal(XmlNode root);
  void ApplyWindow(XmlNode root, Window* window);
  void ApplyWindowAttributes(XmlNode root, Window* window);
  void ApplyHeightPercent(const std::wstring& value, Window* window);
  Control* BuildChildren(XmlNode first, Window* window, Box* parent, Control* owner);
  void Include(XmlNode node, Window* window, Box* parent);
  Control* MakeControl(const std::wstring& name);
  void ApplyAttributes(XmlNode node, Control* control);
  // Adds control to parent; false when it was destroyed because the parent is no box.
  bool Adopt(Control* control, Control* parent, bool* stop);

  XmlDoc document_;
  CreateControlCallback callback_;
  int include_depth_ = 0;
};

// A handler that, when the event fires, applies attribute_list to receiver (Control::
// OnApplyAttributeList of owner); does nothing once owner is gone.
EventCallback BindWeakEventHandler(Control* owner, const std::wstring& receiver,
                                   const std::wstring& attribute_list);

}  // namespace ui
