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
  // Elements under the root element nested deeper than this, counted on from the depth of the
  // parent the build fills (through included files and child-box files too), make the build
  // fail ("Markup nested too deeply") before anything is built; an "Include" that would go
  // deeper adds nothing. The check takes the reader's depth of the whole document, so every
  // element is a level, also one that makes no control: "Event" and "BubbledEvent" elements,
  // definitions, "Include" elements and unknown elements. A control at the deepest level can
  // therefore hold no event elements, and a definition nested deep counts against the limit.
  // Tighter than the reader's limit: a level of building takes about 2.4 KB of a 32-bit stack,
  // sixteen times a level of reading, so the deepest build uses some 150 KB of the 1 MB a Windows
  // thread gets by default. Real skins nest a handful of levels.
  static constexpr int kMostControlDepth = 64;

  MarkupBuilder();
  MarkupBuilder(const MarkupBuilder&) = delete;
  MarkupBuilder& operator=(const MarkupBuilder&) = delete;

  // markup beginning with "<" is the markup text itself, anything else a file name (relative
  // names under the resource path). Null, building nothing, when the document does not load.
  // parent_depth: how deep parent stands in the tree the build adds to (1 for a root); 0 when
  // the build makes the top of a tree.
  Control* Load(const std::wstring& markup, const CreateControlCallback& callback, Window* window,
                Box* parent, int parent_depth = 0);
  // Applies the document-level definitions (only with a window), then builds the controls
  // under parent. The first control made directly under the root element, or null.
  Control* Build(Window* window, Box* parent, const CreateControlCallback& callback,
                 int parent_depth = 0);
  // A new control of the built-in class with exactly that name, or null.
  static Control* CreateControl(const std::wstring& class_name);

  // Why the last Load or Build built nothing: the reader's message, or "Markup nested too
  // deeply"; empty after one that built.
  const wchar_t* ErrorMessage() const { return error_ ? error_ : document_.ErrorMessage(); }

 private:
  void ApplyGlobal(XmlNode root);
  void ApplyWindow(XmlNode root, Window* window);
  void ApplyWindowAttributes(XmlNode root, Window* window);
  void ApplyHeightPercent(const std::wstring& value, Window* window);
  // depth: how deep the controls made from first and its siblings nest (1 directly under the
  // parent of a top-level build).
  Control* BuildChildren(XmlNode first, Window* window, Box* parent, Control* owner, int depth);
  void Include(XmlNode& node, Window* window, Box* parent, int depth);
  Control* MakeControl(const std::wstring& name);
  void ApplyAttributes(XmlNode& node, Control* control);
  // Adds control to parent; false when it was destroyed because the parent is no box.
  bool Adopt(Control* control, Control* parent, bool* stop);

  XmlDoc document_;
  CreateControlCallback callback_;
  const wchar_t* error_ = nullptr;  // the builder's own reason for building nothing
  int include_depth_ = 0;
};

// A handler that, when the event fires, applies attribute_list to receiver (Control::
// OnApplyAttributeList of owner); does nothing once owner is gone.
EventCallback BindWeakEventHandler(Control* owner, const std::wstring& receiver,
                                   const std::wstring& attribute_list);

}  // namespace ui
