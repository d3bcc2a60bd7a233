#include "app/kestrum/kestrum.h"

#include <string>

#include "app/kestrum/notice_texts.h"
#include "app/windows/notice/dui_message_box.h"
#include "app/windows/skeleton/dui_frame_window.h"
#include "app/windows/skeleton/window_creation.h"
#include "kestrum/common/check.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"

namespace {

// WS_OVERLAPPEDWINDOW; the skeleton takes the caption out again. Windows are made hidden and
// shown once they stand in their place and size: made visible, a dialog would show first at its
// creation's corner and size, and every move and resize of a shown window costs more. The notice
// box waits hidden until there is something to tell: made visible and hidden at once, it would
// cost a hide, and Wine may wait seconds on one for a window manager.
constexpr DWORD kDialogStyle = 0x00CF0000;
constexpr int kDialogWidth = 360;
constexpr int kDialogHeight = 500;
constexpr int kNoticeWidth = 500;
constexpr int kNoticeHeight = 200;
// The start dialog once every window has been closed: none.
constexpr unsigned kNoStartDialog = 255;

constexpr unsigned Bit(unsigned id) { return 1u << id; }

// One dialog id: its window name, how the log names it, whether the join window owns it, the
// dialogs it stands over (disabled while it is open, enabled when it closes), and whether it
// acts for the meeting. The in-meeting window instead takes the join window's place: it hides
// it, and gives it back when it closes.
struct DialogRow {
    const wchar_t* windowName;
    const char* logName;
    bool ownedByJoin;
    unsigned standsOver;
    bool replacesJoin;
    // Closes when the in-meeting window does: the room settings would otherwise keep sending
    // updates for a room the user has left, and the audio/video window's room tab lead there.
    bool endsWithMeeting;
};

constexpr DialogRow kDialogs[CKestrum::kDialogCount] = {
    {L"LoginHome", "LoginHome", false, 0, false, false},
    {L"SettingNickName", "SettingNickName", true, Bit(CKestrum::kLoginDlg), false, false},
    {L"SetAV", "SetAV", true, Bit(CKestrum::kLoginDlg) | Bit(CKestrum::kLiveDlg), false, true},
    {L"SetRoom", "SetRoom", false, Bit(CKestrum::kLiveDlg), false, true},
    {L"SetOwnRoom", "SetOwnRoom", false, Bit(CKestrum::kLiveDlg), false, true},
    {L"UserConfig", "UserConfig", false, Bit(CKestrum::kLoginDlg), false, false},
    // The in-meeting window carries the profile window's name.
    {L"UserConfig", "Live", false, 0, true, false},
};

CKestrum::DialogFactory g_dialogFactory = nullptr;
CKestrum::NoticeBoxFactory g_noticeBoxFactory = nullptr;

}  // namespace

void CKestrum::setDialogFactory(DialogFactory factory) { g_dialogFactory = factory; }

void CKestrum::setNoticeBoxFactory(NoticeBoxFactory factory) { g_noticeBoxFactory = factory; }

CKestrum::CKestrum() : CKestrumDump("CKestrum", true, false, true, L"") {
    openDlg(startDialog_);
    if (!messageBox_) createNoticeBox();
}

CKestrum::~CKestrum() {
    closeAll();
    PostQuitMessage(0);
}

void CKestrum::createNoticeBox() {
    CDuiMessageBox* box = g_noticeBoxFactory
                              ? g_noticeBoxFactory()
                              : new CDuiMessageBox(*CSingleton<CKestrumConfig>::getInstance());
    HWND window = ZuvraKestrum::Frame::CreateOrDelete(box, nullptr, L"DuiMsgBox", kDialogStyle, 0,
                                                      0, 0, kNoticeWidth, kNoticeHeight);
    if (!window) {
        KESTRUM_LOG(Level_Error, "() notice box not created");
        return;
    }
    messageBox_ = box;
    noticeWindow_.store(window);
    box->SetJoinWindowOpener([this] { openDlg(kLoginDlg); });
    box->CenterWindow();
}

CDuiFrameWindow* CKestrum::openDialog(unsigned id) const {
    if (id >= kDialogCount || !dialogs_[id]) return nullptr;
    if (dialogWindows_[id] && !IsWindow(dialogWindows_[id])) return nullptr;
    return dialogs_[id];
}

HWND CKestrum::windowOf(unsigned id) const {
    CDuiFrameWindow* dialog = openDialog(id);
    return dialog ? dialog->GetHWND() : nullptr;
}

void CKestrum::openDlg(unsigned id) {
    KESTRUM_CHECK(GetCurrentThreadId() == uiThread_);
    if (id >= kDialogCount) return;
    const DialogRow& row = kDialogs[id];
    KESTRUM_LOG(Level_Info, "(%d) Create %s", static_cast<int>(id), row.logName);
    if (CDuiFrameWindow* open = openDialog(id)) {
        open->ShowWindow(true, true);
        return;
    }
    CDuiFrameWindow* dialog = g_dialogFactory ? g_dialogFactory(id) : nullptr;
    if (!dialog) {
        KESTRUM_LOG(Level_Error, "(%d) no window for this dialog", static_cast<int>(id));
        return;
    }
    // Stored first: the dialog may look itself up while its window is being created.
    dialogs_[id] = dialog;
    dialogWindows_[id] = nullptr;
    HWND parent = row.ownedByJoin ? windowOf(kLoginDlg) : nullptr;
    HWND window = ZuvraKestrum::Frame::CreateOrDelete(dialog, parent, row.windowName, kDialogStyle,
                                                      0, 0, 0, kDialogWidth, kDialogHeight);
    if (!window) {
        KESTRUM_LOG(Level_Error, "(%d) window not created", static_cast<int>(id));
        dialogs_[id] = nullptr;
        return;
    }
    dialogWindows_[id] = window;
    dialog->CenterWindow();
    dialog->ShowWindow(true, true);
    for (unsigned other = 0; other < kDialogCount; ++other) {
        if (!(row.standsOver & Bit(other))) continue;
        if (HWND below = windowOf(other)) EnableWindow(below, FALSE);
    }
    if (row.replacesJoin) {
        if (CDuiFrameWindow* join = openDialog(kLoginDlg)) {
            EnableWindow(join->GetHWND(), FALSE);
            join->ShowWindow(false);
        }
    }
}

void CKestrum::closeDlg(unsigned id) {
    KESTRUM_CHECK(GetCurrentThreadId() == uiThread_);
    KESTRUM_LOG(Level_Info, "(%d)", static_cast<int>(id));
    if (id >= kDialogCount) return;
    const DialogRow& row = kDialogs[id];
    if (row.replacesJoin) closeMeetingDialogs();
    if (CDuiFrameWindow* open = openDialog(id)) open->Close(1);
    dialogs_[id] = nullptr;
    dialogWindows_[id] = nullptr;
    // Also when the dialog was not open: whatever it stood over is usable again, unless another
    // open dialog stands over it too (a settings tab opens its neighbour before it closes).
    for (unsigned other = 0; other < kDialogCount; ++other) {
        if (!(row.standsOver & Bit(other)) || isCovered(other)) continue;
        if (HWND below = windowOf(other)) EnableWindow(below, TRUE);
    }
    if (row.replacesJoin) {
        if (CDuiFrameWindow* join = openDialog(kLoginDlg)) {
            if (auto* host = dynamic_cast<CJoinButtonHost*>(join)) host->EnableJoinBtn();
            if (!isCovered(kLoginDlg)) EnableWindow(join->GetHWND(), TRUE);
            join->ShowWindow(true, true);
            // Painted now, before the meeting window's close posted above tears its controls
            // down: the user waits for this window, not for that.
            UpdateWindow(join->GetHWND());
        }
    }
}

void CKestrum::closeMeetingDialogs() {
    for (unsigned id = 0; id < kDialogCount; ++id) {
        if (kDialogs[id].endsWithMeeting && openDialog(id)) closeDlg(id);
    }
}

bool CKestrum::isCovered(unsigned id) const {
    for (unsigned over = 0; over < kDialogCount; ++over) {
        if ((kDialogs[over].standsOver & Bit(id)) && openDialog(over)) return true;
    }
    return false;
}

CDuiFrameWindow* CKestrum::getDlg(unsigned id) const { return openDialog(id); }

HWND CKestrum::getDuiWnd(unsigned id) {
    HWND window = windowOf(id);
    if (!window) KESTRUM_LOG(Level_Error, "(%d)", static_cast<int>(id));
    return window;
}

void CKestrum::closeAll() {
    KESTRUM_CHECK(GetCurrentThreadId() == uiThread_);
    startDialog_ = kNoStartDialog;
    if (messageBox_ && IsWindow(noticeWindow_.load())) messageBox_->Close(1);
    messageBox_ = nullptr;
    noticeWindow_.store(nullptr);
    for (unsigned id = 0; id < kDialogCount; ++id) {
        if (CDuiFrameWindow* open = openDialog(id)) open->Close(1);
        dialogs_[id] = nullptr;
        dialogWindows_[id] = nullptr;
    }
}

const wchar_t* CKestrum::getErrorText(int code) {
    return ZuvraKestrum::Shell::ErrorText(code, g_language);
}

void CKestrum::showMsgBox(HWND owner, const wchar_t* text, int code, int type) {
    HWND notice = noticeWindow_.load();
    if (notice && GetWindowThreadProcessId(notice, nullptr) != GetCurrentThreadId()) {
        // A modal loop on a thread that does not own the box would never see its input: the
        // box's own thread shows it, and this caller waits there as a direct call would.
        const std::wstring copy = text ? text : L"";
        CDuiMessageBox::RunOnThreadOf(notice, [&] { showMsgBox(owner, copy.c_str(), code, type); });
        return;
    }
    if (!messageBox_) return;
    const ZuvraKestrum::Shell::NoticeContent content =
        ZuvraKestrum::Shell::ComposeNotice(text, code, type, g_language);
    if (content.hide) {
        messageBox_->ShowWindow(false);
        return;
    }
    messageBox_->CenterOnWindow(owner);
    if (content.title) messageBox_->SetTitle(content.title);
    if (content.setTips) messageBox_->SetTips(content.tips.c_str());
    if (content.setType) messageBox_->SetType(type, content.argument.c_str());
    messageBox_->ShowWindow(true, true);
    messageBox_->ShowModal();
}

namespace {

class CProgramDialogTable final : public IDialogTable {
public:
    // Looking a dialog up never makes the singleton: before it there is no dialog.
    CDuiFrameWindow* dialog(unsigned id) override {
        CKestrum* existing = CSingleton<CKestrum>::existingInstance();
        return existing ? existing->getDlg(id) : nullptr;
    }
    HWND dialogWindow(unsigned id) override {
        CKestrum* existing = CSingleton<CKestrum>::existingInstance();
        return existing ? existing->getDuiWnd(id) : nullptr;
    }
    void openDialog(unsigned id) override { app().openDlg(id); }
    void closeDialog(unsigned id) override { app().closeDlg(id); }
    void showMsgBox(HWND owner, const std::wstring& text, int code, int type) override {
        app().showMsgBox(owner, text.c_str(), code, type);
    }

private:
    static CKestrum& app() { return *CSingleton<CKestrum>::getInstance(); }
};

}  // namespace

IDialogTable& ProgramDialogTable() {
    static CProgramDialogTable table;
    return table;
}
