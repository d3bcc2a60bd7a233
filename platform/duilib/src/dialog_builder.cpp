#include "duilib/dialog_builder.h"

#include <string>

#include "duilib/control_ui.h"
#include "duilib/paint_manager_ui.h"
#include "src/control_factory.h"
#include "src/markup_names.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/windowing/markup/markup_builder.h"

namespace DuiLib {

namespace {

// Elements the layer renamed get its faces; any other unknown name goes to the callback.
CControlUI* MakeFace(const std::wstring& element_name, IDialogBuilderCallback* callback) {
  const std::wstring skin_name = markup_names::SkinName(element_name);
  if (!skin_name.empty()) return control_factory::Create(skin_name);
  return callback ? callback->CreateControl(element_name.c_str()) : nullptr;
}

ui::CreateControlCallback MakeFactory(IDialogBuilderCallback* callback) {
  return [callback](const std::wstring& element_name) -> ui::Control* {
    CControlUI* control = MakeFace(element_name, callback);
    return control ? control->GetPeer() : nullptr;
  };
}

ui::Window* WindowOf(CPaintManagerUI* manager) { return manager ? manager->GetHost() : nullptr; }

ui::Box* BoxOf(CControlUI* parent) {
  return parent ? dynamic_cast<ui::Box*>(parent->GetPeer()) : nullptr;
}

// The face of a built root. A framework control without one (an element the layer does not
// know at the top) cannot be handed out; one built without a parent is deleted.
CControlUI* FaceOf(ui::Control* root, CControlUI* parent) {
  if (!root) return nullptr;
  CControlUI* face = CControlUI::FromPeer(root);
  if (!face && !parent) delete root;
  return face;
}

}  // namespace

CDialogBuilder::CDialogBuilder() = default;

CDialogBuilder::~CDialogBuilder() = default;

CControlUI* CDialogBuilder::Create(STRINGorID xml, STRINGorID /*type*/,
                                   IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* parent) {
  markup_.valid_ = false;
  builder_ = std::make_unique<ui::MarkupBuilder>();
  const wchar_t* source = xml.text();
  if (!source || !*source) return nullptr;
  std::wstring text;
  if (source[0] == L'<') {
    text = source;
  } else if (!markup_names::ReadMarkupFile(source, &text)) {
    return nullptr;
  }
  const std::wstring markup = markup_names::PrefixElementNames(text, &control_factory::IsLayerName);
  ui::Control* root =
      builder_->Load(markup, MakeFactory(callback), WindowOf(manager), BoxOf(parent));
  markup_.valid_ = root != nullptr;
  return FaceOf(root, parent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* parent) {
  if (!markup_.IsValid()) return nullptr;
  ui::Control* root = builder_->Build(WindowOf(manager), BoxOf(parent), MakeFactory(callback));
  return FaceOf(root, parent);
}

CDuiString CDialogBuilder::GetLastErrorMessage() const {
  return builder_ ? CDuiString(builder_->ErrorMessage()) : CDuiString();
}

}  // namespace DuiLib
