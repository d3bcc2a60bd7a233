#include "ui/windowing/msgbox/msg_box.h"

#include "ui/base/lang/lang_table.h"
#include "ui/base/thread/thread_registry.h"
#include "ui/controls/box/box.h"
#include "ui/controls/core/event_args.h"
#include "ui/controls/richedit/rich_edit.h"

namespace {

// The framework's UI thread in the thread registry.
constexpr int kFrameworkUiThread = 0;
// WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX; the base strips the caption.
constexpr DWORD kMsgBoxStyle = 0xCE0000;

std::wstring TextOf(const std::wstring& text, bool is_id) {
  return is_id ? ui::LangTable::Instance().Lookup(text) : text;
}

}  // namespace

MsgBox* MsgBox::Show(HWND parent, Callback callback, const std::wstring& content,
                     bool content_is_id, const std::wstring& title, bool title_is_id,
                     const std::wstring& yes, bool yes_is_id, const std::wstring& no,
                     bool no_is_id) {
  auto* box = new MsgBox;
  // A failed Create has deleted the box already.
  if (!box->Create(parent, L"", kMsgBoxStyle, 0, true, RECT{0, 0, 0, 0})) return nullptr;
  if (box->title_) box->title_->SetText(TextOf(title, title_is_id));
  box->UpdateContent(TextOf(content, content_is_id));
  box->SetButtons(TextOf(yes, yes_is_id), TextOf(no, no_is_id));
  box->callback_ = std::move(callback);
  // EnableWindow answers whether the window was disabled before: then it is not ours to enable.
  if (parent && !EnableWindow(parent, FALSE)) box->disabled_owner_ = parent;
  box->FitAutoSizedRoot();  // so that it is centred at the size the text gives it
  box->CenterWindow();
  box->Show(true, true);
  return box;
}

std::wstring MsgBox::RegisteredClassName() const { return L"MsgBox"; }

UINT MsgBox::RegisteredClassStyle() const { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; }

std::wstring MsgBox::SkinFolder() const { return L"msgbox"; }

std::wstring MsgBox::SkinFile() const { return L"msgbox.xml"; }

void MsgBox::OnSkinLoaded() {
  if (auto* root = dynamic_cast<ui::Box*>(GetRoot())) {
    root->AttachBubbledEvent(ui::kEventClick,
                             ToWeakCallback([this](ui::EventArgs* args) { return OnClick(args); }));
  }
  title_ = dynamic_cast<ui::Label*>(ControlByName(L"title"));
  content_ = dynamic_cast<ui::RichEdit*>(ControlByName(L"content"));
  yes_button_ = dynamic_cast<ui::Button*>(ControlByName(L"btn_yes"));
  no_button_ = dynamic_cast<ui::Button*>(ControlByName(L"btn_no"));
}

void MsgBox::UpdateContent(const std::wstring& text) {
  if (!content_) return;
  content_->SetText(text);
  content_->SetFixedHeight(content_->GetNaturalSize(content_->GetFixedWidth()).cy, false);
}

void MsgBox::SetButtons(const std::wstring& yes, const std::wstring& no) {
  if (yes_button_) {
    yes_button_->SetText(yes);
    yes_button_->SetFadeVisible(!yes.empty());
    if (!yes.empty()) yes_button_->SetFocus();
  }
  if (no_button_) {
    no_button_->SetText(no);
    no_button_->SetFadeVisible(!no.empty());
    if (!no.empty() && yes.empty()) no_button_->SetFocus();
  }
}

bool MsgBox::OnClick(ui::EventArgs* args) {
  const std::wstring name = args->sender ? args->sender->GetName() : std::wstring();
  if (name == L"btn_yes") {
    EndMsgBox(kMsgBoxYes);
  } else if (name == L"btn_no" || name == L"closebtn") {
    EndMsgBox(kMsgBoxNo);
  }
  return true;
}

void MsgBox::EndMsgBox(MsgBoxRet result) {
  // The buttons stay clickable while the box fades out; the first answer is the answer.
  if (answered_) return;
  answered_ = true;
  Close(0);
  if (!callback_) return;
  Callback callback = callback_;
  if (kbase::ThreadRegistry::PostTask(kFrameworkUiThread,
                                      [callback, result] { callback(result); })) {
    return;
  }
  // No framework UI thread takes the answer: the box gives it itself as its window goes.
  unposted_answer_ = result;
}

void MsgBox::GiveUnpostedAnswer() {
  if (!unposted_answer_ || !callback_) return;
  const MsgBoxRet result = *unposted_answer_;
  unposted_answer_.reset();
  callback_(result);
}

void MsgBox::OnCancel(bool& handled) {
  handled = true;
  EndMsgBox(kMsgBoxNo);
}

void MsgBox::EnableDisabledOwner() {
  if (!disabled_owner_) return;
  EnableWindow(disabled_owner_, TRUE);
  disabled_owner_ = nullptr;
}

void MsgBox::RestoreOwner() {
  EnableDisabledOwner();
  if (HWND owner = GetWindow(GetHWND(), GW_OWNER)) SetFocus(owner);
}

void MsgBox::Close(UINT code) {
  RestoreOwner();
  WindowImplBase::Close(code);
}

LRESULT MsgBox::OnClose(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  // Before the window goes, so that the system activates the owner again.
  RestoreOwner();
  return WindowImplBase::OnClose(message, wparam, lparam, handled);
}

LRESULT MsgBox::OnDestroy(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  EnableDisabledOwner();
  GiveUnpostedAnswer();
  return WindowImplBase::OnDestroy(message, wparam, lparam, handled);
}

LRESULT MsgBox::OnKeyDown(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  if (wparam == VK_ESCAPE) {
    OnCancel(handled);
    return 0;
  }
  return WindowImplBase::OnKeyDown(message, wparam, lparam, handled);
}
