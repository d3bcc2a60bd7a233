#include "src/control_factory.h"

#include "duilib/button_ui.h"
#include "duilib/combo_ui.h"
#include "duilib/container_ui.h"
#include "duilib/control_ui.h"
#include "duilib/edit_ui.h"
#include "duilib/horizontal_layout_ui.h"
#include "duilib/label_ui.h"
#include "duilib/list_container_element_ui.h"
#include "duilib/list_label_element_ui.h"
#include "duilib/list_ui.h"
#include "duilib/option_ui.h"
#include "duilib/rich_edit_ui.h"
#include "duilib/text_ui.h"
#include "duilib/vertical_layout_ui.h"

namespace DuiLib {
namespace control_factory {

namespace {

template <typename T>
CControlUI* Make() {
  return new T;
}

struct Entry {
  const wchar_t* skin_name;
  CControlUI* (*make)();
};

// Skin element names (the framework's vocabulary, plus "Text", "Edit" and "ListLabelElement")
// and the face each one gets.
constexpr Entry kEntries[] = {
    {L"Control", &Make<CControlUI>},
    {L"Box", &Make<CContainerUI>},
    {L"VBox", &Make<CVerticalLayoutUI>},
    {L"HBox", &Make<CHorizontalLayoutUI>},
    {L"Label", &Make<CLabelUI>},
    {L"Text", &Make<CTextUI>},
    {L"Button", &Make<CButtonUI>},
    {L"Option", &Make<COptionUI>},
    {L"RichEdit", &Make<CRichEditUI>},
    {L"Edit", &Make<CEditUI>},
    {L"Combo", &Make<CComboUI>},
    {L"ListBox", &Make<CListUI>},
    {L"ListContainerElement", &Make<CListContainerElementUI>},
    {L"ListLabelElement", &Make<CListLabelElementUI>},
};

const Entry* Find(const std::wstring& skin_name) {
  for (const Entry& entry : kEntries) {
    if (skin_name == entry.skin_name) return &entry;
  }
  return nullptr;
}

}  // namespace

bool IsLayerName(const std::wstring& skin_name) { return Find(skin_name) != nullptr; }

CControlUI* Create(const std::wstring& skin_name) {
  const Entry* entry = Find(skin_name);
  return entry ? entry->make() : nullptr;
}

}  // namespace control_factory
}  // namespace DuiLib
