#pragma once

#include "kestrum/core/invite_box_ui.h"

// The invitation boxes and notices as the UI framework shows them: MsgBox question boxes and
// shared::Toast notices. The program installs one instance with CMsgBoxAnsyManager::setBoxUi at
// start-up; it holds no state and lives as long as the program.
//
// Threads: UI thread, like IInviteBoxUi. A box's answer arrives on the framework's UI thread
// (thread identifier 0 of the thread registry); without that thread boxes are never answered.
class CFrameworkInviteBoxUi : public IInviteBoxUi {
public:
    InviteBox showBox(HWND parent, const InviteBoxTexts& texts, AnswerCallback onAnswer) override;
    void updateBoxContent(MsgBox* box, const std::wstring& content) override;
    void closeBox(MsgBox* box) override;
    void showToast(const std::wstring& content, int durationMs, HWND parent) override;
};
