#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The framework's question box (a window object that frees itself when its window is destroyed).
class MsgBox;

// An open box as the invitation box manager keeps it: the framework object and its window. The
// object is freed with its window, so the pointer may be used only while IsWindow(window) holds
// (checked on the UI thread, which owns the box).
struct InviteBox {
    MsgBox* box = nullptr;
    HWND window = nullptr;
};

// The plain texts of one box (none is a language id).
struct InviteBoxTexts {
    std::wstring content;
    std::wstring title;
    std::wstring yes;
    std::wstring no;
};

// What the invitation box manager shows: the framework's question boxes and toasts. The
// program installs the framework's implementation at start-up; tests install a fake.
//
// Threads: every operation is called on the UI thread, which owns the boxes and toasts.
class IInviteBoxUi {
public:
    // Receives the answer: 0 for the yes button, 1 for no, the close button or Esc.
    using AnswerCallback = std::function<void(int answer)>;

    virtual ~IInviteBoxUi() = default;

    // Opens a box over parent (disabled while the box is open). onAnswer runs at most once, later
    // and on another thread, after the user answered; never for a box closed by closeBox or by
    // other means. Returns the box, or an empty InviteBox when it could not be created.
    virtual InviteBox showBox(HWND parent, const InviteBoxTexts& texts,
                              AnswerCallback onAnswer) = 0;
    // Replaces the text of an open box.
    virtual void updateBoxContent(MsgBox* box, const std::wstring& content) = 0;
    // Closes an open box without an answer; its parent is enabled again.
    virtual void closeBox(MsgBox* box) = 0;
    // A toast over parent that closes itself after durationMs. Nothing is reported when it
    // cannot be shown.
    virtual void showToast(const std::wstring& content, int durationMs, HWND parent) = 0;
};
