#pragma once

#include <memory>

#include "duilib/dui_string.h"
#include "duilib/notify_ui.h"

namespace ui {
class MarkupBuilder;
}

namespace DuiLib {

class CControlUI;
class CPaintManagerUI;

// The parsed markup a builder keeps between builds.
class CMarkup {
 public:
  bool IsValid() const { return valid_; }

 private:
  friend class CDialogBuilder;
  bool valid_ = false;
};

// Builds a control tree of this layer from skin markup (the framework's markup vocabulary;
// relative file names are taken from the resource path). The markup is parsed once and kept,
// so later trees can be built from it without reading the file again. Element names the layer
// does not know go to the callback's CreateControl.
//
// Threads: the UI thread of the window the tree is built for.
// Ownership: a tree built under parent belongs to parent; otherwise to the caller (usually it
// goes on to AttachDialog or a container's Add).
class CDialogBuilder {
 public:
  CDialogBuilder();
  ~CDialogBuilder();
  CDialogBuilder(const CDialogBuilder&) = delete;
  CDialogBuilder& operator=(const CDialogBuilder&) = delete;

  // Parses xml (a file name, or markup text beginning with "<") and builds from it. The window
  // settings of the markup go to manager's window. The root control, or null when the markup
  // does not load or builds nothing; the type argument is not used.
  CControlUI* Create(STRINGorID xml, STRINGorID type = STRINGorID(0u),
                     IDialogBuilderCallback* callback = nullptr, CPaintManagerUI* manager = nullptr,
                     CControlUI* parent = nullptr);
  // Builds again from the markup kept by the last successful parse; null without one.
  CControlUI* Create(IDialogBuilderCallback* callback = nullptr, CPaintManagerUI* manager = nullptr,
                     CControlUI* parent = nullptr);
  CMarkup* GetMarkup() { return &markup_; }
  // The reader's message after a failed parse.
  CDuiString GetLastErrorMessage() const;

 private:
  std::unique_ptr<ui::MarkupBuilder> builder_;
  CMarkup markup_;
};

}  // namespace DuiLib
