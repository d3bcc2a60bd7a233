#pragma once

#include <windows.h>

#include <functional>

#include "app/windows/skeleton/program_dialogs.h"

class CKestrum;
class CDuiMessageBox;

// The program's dialog table for the programs that go the join road: the application singleton
// over the join tests' dialog factory (join_test_support.h) and a notice box whose ways of ending
// the program only count, so that the road sees the real notice boxes and which window stands
// over which.
//
// Threads: the test thread, which plays the program's UI thread.
namespace join_testing {

// The application singleton, created on the first call with the join tests' dialog factory and
// the counting notice box. Its construction opens the join window. Choose the parts first
// (UseParts).
CKestrum& Kestrum();
// The application singleton as the dialog table the join windows are given (Kestrum() first).
IDialogTable& ProgramTable();
// The built-in text of an error code in the user's language (the singleton's), or null.
const wchar_t* BuiltInErrorText(int code);
// How often the notice box tried to quit or end the process.
int NoticeExits();

// While the notice box is shown modally, runs `inspect` on it once (on the test thread, from
// within the box's loop) and then clicks its close button. Call before the action that shows
// the box; the returned count says how many boxes were handled so far.
class NoticeCloser {
public:
    explicit NoticeCloser(std::function<void(CDuiMessageBox&)> inspect);
    ~NoticeCloser();
    int handled() const;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    UINT_PTR timer_ = 0;
};

}  // namespace join_testing
