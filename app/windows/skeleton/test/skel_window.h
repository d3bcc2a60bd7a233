#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/windows/skeleton/dui_window.h"
#include "skel_messages.h"

// The message of SkelWindow::kTwoRows, and WM_GETTEXTLENGTH, carry nothing its rows read.
inline constexpr UINT kSkelTwoRows = WM_APP + 0x212;
template <>
struct RowArguments<kSkelTwoRows> : Carries<void> {};
template <>
struct RowArguments<WM_GETTEXTLENGTH> : Carries<void> {};

// A test window on the skeleton: the standard rows plus rows whose order and effect the tests
// check and the test family of messages (a note's value is journalled), a journalled WM_DESTROY
// row ("destroy row"), registrations the test makes, skins from the test's skin folder. Variant
// names the window class and adjusts the message table (one static table per class). Deletes itself
// with its window.
template <class Variant>
class SkelWindow : public CDuiWindow<SkelWindow<Variant>> {
public:
    // A message given two rows: the later, answering 11, took the place of the first (22).
    static constexpr UINT kTwoRows = kSkelTwoRows;

    SkelWindow(const wchar_t* stem, std::vector<std::wstring>* journal)
        : stem_(stem), journal_(journal) {
        ++live;
    }
    ~SkelWindow() override { --live; }

    const wchar_t* GetWindowClassName() const override { return Variant::kClassName; }

    static CDuiMessageMap<SkelWindow> MessageMap() {
        auto table = SkelWindow::StandardMessageMap(&SkelWindow::OnCreate);
        table.template on<kTwoRows>(&SkelWindow::AnswerTwentyTwo)
            .template on<kTwoRows>(&SkelWindow::AnswerEleven)
            .template on<WM_GETTEXTLENGTH>(&SkelWindow::Decline)
            .template on<WM_TIMER>(&CDuiFrameWindow::OnUploadWaitTimer, RowMode::kPassOn)
            .template on<WM_DESTROY>(&SkelWindow::OnDestroyRow, RowMode::kPassOn)
            .receives(kSkelMessages)
            // The window binds no controls, so it never accepts events: its notes run all the
            // same.
            .template on<WM_SKEL_NOTE>(&SkelWindow::OnNote, RowMode::kHandled);
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

    // The window registers with source, the frame keeping the registration; `undo` undoes it.
    void registerWith(int& source, std::function<void()> undo) {
        CDuiFrameWindow::registerWith(
            source,
            [](int&, HWND, std::function<void()> then) {
                return CWindowRegistration(std::move(then));
            },
            std::move(undo));
    }

    // Windows of this class alive now.
    static inline int live = 0;

private:
    void OnCreate() { this->BuildSkin(CDuiFrameWindow::SkinFile(stem_.c_str()).c_str(), nullptr); }
    LRESULT AnswerEleven() { return 11; }
    LRESULT AnswerTwentyTwo() { return 22; }
    bool Decline() {
        journal_->push_back(L"declined");
        return false;
    }
    void Note(DuiLib::TNotifyUI& notification) {
        journal_->push_back(notification.sType + L":" + notification.pSender->GetName());
    }
    void NoteSecond(DuiLib::TNotifyUI&) { journal_->push_back(L"second row"); }
    void OnDestroyRow() { journal_->push_back(L"destroy row"); }
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
