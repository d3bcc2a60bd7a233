#include "kestrum/core/framework_invite_box_ui.h"

#include <utility>

#include "ui/windowing/msgbox/msg_box.h"
#include "ui/windowing/toast/toast.h"

InviteBox CFrameworkInviteBoxUi::showBox(HWND parent, const InviteBoxTexts& texts,
                                         AnswerCallback onAnswer) {
    MsgBox* box = MsgBox::Show(
        parent, [onAnswer = std::move(onAnswer)](MsgBoxRet answer) { onAnswer(answer); },
        texts.content, false, texts.title, false, texts.yes, false, texts.no, false);
    if (!box) return {};
    return {box, box->GetHWND()};
}

void CFrameworkInviteBoxUi::updateBoxContent(MsgBox* box, const std::wstring& content) {
    box->UpdateContent(content);
}

void CFrameworkInviteBoxUi::closeBox(MsgBox* box) { box->Close(0); }

void CFrameworkInviteBoxUi::showToast(const std::wstring& content, int durationMs, HWND parent) {
    shared::Toast::Show(content, durationMs, parent);
}
