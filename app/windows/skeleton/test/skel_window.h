#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/windows/skeleton/dui_window.h"
#include "skel_messages.h"

// A test window on the skeleton: the standard rows plus rows whose order and effect the tests
// check and the test family of messages (a note's value is journalled), skins from the test's
// skin folder. Variant names the window class and adjusts the
// message table (one static table per class). Deletes itself with its window.
template <class Variant>
class SkelWindow : public CDuiWindow<SkelWindow<Variant>> {
public:
    // A message with two rows: the first answers 11, the second (never reached) 22.
    static constexpr UINT kTwoRows = WM_APP + 1;

    SkelWindow(const wchar_t* stem, std::vector<std::wstring>* journal)
        : stem_(stem), journal_(journal) {
        ++live;
    }
    ~SkelWindow() override { --live; }

    const wchar_t* GetWindowClassName() const override { return Variant::kClassName; }

    static CDuiMessageMap<SkelWindow> MessageMap() {
        auto table = SkelWindow::StandardMessageMap(&SkelWindow::OnCreate);
        table.add(kTwoRows, &SkelWindow::AnswerEleven)
            .add(kTwoRows, &SkelWindow::AnswerTwentyTwo)
            .add(WM_GETTEXTLENGTH, &SkelWindow::Decline)
            .add(WM_TIMER, &CDuiFrameWindow::OnUploadWaitTimer)
            .receives(kSkelMessages)
            .template on<WM_SKEL_NOTE>(&SkelWindow::OnNote);
        Variant::Adjust(table);
        return table;
    }

    static CDuiNotifyMap<SkelWindow> NotifyMap() {
        CDuiNotifyMap<SkelWindow> table;
        table.add(L"windowinit", L"MainFrame", &SkelWindow::Note)
            .add(L"click", L"bodybtn", &SkelWindow::Note)
            .add(L"click", L"bodybtn", &SkelWindow::NoteSecond)
            .add(L"click", L"capbtn", &SkelWindow::Note);
        return table;
    }

    // Windows of this class alive now.
    static inline int live = 0;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&) {
        this->BuildSkin(CDuiFrameWindow::SkinFile(stem_.c_str()).c_str(), nullptr);
        return 0;
    }
    LRESULT AnswerEleven(UINT, WPARAM, LPARAM, bool&) { return 11; }
    LRESULT AnswerTwentyTwo(UINT, WPARAM, LPARAM, bool&) { return 22; }
    LRESULT Decline(UINT, WPARAM, LPARAM, bool& handled) {
        journal_->push_back(L"declined");
        handled = false;
        return 99;
    }
    void Note(DuiLib::TNotifyUI& notification) {
        journal_->push_back(notification.sType + L":" + notification.pSender->GetName());
    }
    void NoteSecond(DuiLib::TNotifyUI&) { journal_->push_back(L"second row"); }
    void OnNote(std::unique_ptr<SkelNote> note) {
        journal_->push_back(L"note " + std::to_wstring(note->value));
    }

    std::wstring stem_;
    std::vector<std::wstring>* journal_;
};

struct StandardRows {
    static constexpr const wchar_t* kClassName = L"UISkelTestWnd";
    template <class Table>
    static void Adjust(Table&) {}
};

// Like the per-user menu: no WM_KEYDOWN row, so keys reach the paint manager.
struct NoKeyRow {
    static constexpr const wchar_t* kClassName = L"UISkelKeysWnd";
    template <class Table>
    static void Adjust(Table& table) {
        table.remove(WM_KEYDOWN);
    }
};

using StandardWindow = SkelWindow<StandardRows>;
using KeysWindow = SkelWindow<NoKeyRow>;
