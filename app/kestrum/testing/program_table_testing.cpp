#include "program_table_testing.h"

#include <utility>

#include "app/kestrum/kestrum.h"
#include "app/windows/notice/dui_message_box.h"
#include "join_test_support.h"
#include "kestrum/core/kestrum_config.h"

namespace join_testing {

namespace {

int g_noticeExits = 0;
// The closer's inspection, how many boxes it handled, and whether its tick is running.
std::function<void(CDuiMessageBox&)> g_inspect;
int g_handled = 0;
bool g_inTick = false;

void CountNoticeExit() { ++g_noticeExits; }

CDuiMessageBox* MakeNoticeBox() {
    NoticeBoxExits exits;
    exits.quit = &CountNoticeExit;
    exits.endProcess = &CountNoticeExit;
    return new CDuiMessageBox(*CSingleton<CKestrumConfig>::getInstance(), exits);
}

}  // namespace

CKestrum& Kestrum() {
    static bool factories = false;
    if (!factories) {
        CKestrum::setDialogFactory(&MakeDialog);
        CKestrum::setNoticeBoxFactory(&MakeNoticeBox);
        factories = true;
    }
    return *CSingleton<CKestrum>::getInstance();
}

IDialogTable& ProgramTable() {
    Kestrum();
    return ProgramDialogTable();
}

const wchar_t* BuiltInErrorText(int code) { return CKestrum::getErrorText(code); }

int NoticeExits() { return g_noticeExits; }

NoticeCloser::NoticeCloser(std::function<void(CDuiMessageBox&)> inspect) {
    g_inspect = std::move(inspect);
    g_handled = 0;
    timer_ = SetTimer(nullptr, 0, 50, &NoticeCloser::Tick);
}

NoticeCloser::~NoticeCloser() {
    KillTimer(nullptr, timer_);
    g_inspect = nullptr;
}

int NoticeCloser::handled() const { return g_handled; }

void CALLBACK NoticeCloser::Tick(HWND, UINT, UINT_PTR, DWORD) {
    CDuiMessageBox* box = Kestrum().messageBox();
    if (g_inTick || !box || !IsWindowVisible(box->GetHWND())) return;
    DuiLib::CControlUI* close = Control(box, L"closebtn");
    // Not laid out yet: the next tick.
    if (!close || close->GetPos().right <= close->GetPos().left) return;
    g_inTick = true;
    ++g_handled;
    if (g_inspect) g_inspect(*box);
    Click(box, close);
    g_inTick = false;
}

}  // namespace join_testing
