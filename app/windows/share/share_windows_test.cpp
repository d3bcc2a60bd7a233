// The screen-share picker on its skins under the virtual display, in English and Chinese, beside
// another program (kestrum_share_target.exe) whose windows it lists: thumbnails with titles and
// never the program's own windows, one choice at a time, starting and closing, a close while
// the snapshot thread still runs followed by a second picker, and a picture checked by pixels.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/windows/meeting/testing/recording_meeting_host.h"
#include "app/windows/share/dui_screen_share.h"
#include "app/windows/share/screen_share_item.h"
#include "app/windows/share/share_rules.h"
#include "app/windows/share/window_shot.h"
#include "app/windows/skeleton/testing/screen_area.h"
#include "app/windows/skeleton/testing/skin_window_test.h"
#include "app/windows/skeleton/testing/window_picture.h"
#include "duilib/label_ui.h"
#include "kestrum/common/utf.h"
#include "message_window.h"
#include "ui/base/util/module_path.h"

namespace {

using kestrum::testing_support::PumpPending;
using window_testing::CountDiffering;
using window_testing::PixelAt;
using ZuvraKestrum::Share::WindowShotThread;

constexpr DWORD kPickerStyle = 0x16CF0000;
constexpr DWORD kOrange = 0xFFFF8800;
constexpr DWORD kChosenBlue = 0xFF007AFF;
constexpr DWORD kTitleBar = 0xFFF5F6F7;
constexpr DWORD kButtonBlue = 0xFF2A7FE6;
const std::wstring kTargetTitle = L"Share target: a/b?";
const std::wstring kTargetName = L"kestrum_share_target[" + kTargetTitle + L"]";

// The windows of another program, for as long as the test runs.
class TargetProgram {
public:
    TargetProgram(const std::wstring& title, int count) {
        const std::wstring exe = kbase::ModuleDirectory() + L"kestrum_share_target.exe";
        std::wstring command = L"\"" + exe + L"\" \"" + title + L"\" " + std::to_wstring(count);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process_)) {
            return;
        }
        // Listed is not yet painted: another program's window reaches the screen, where the
        // picker reads it, only when that program has drawn and the display has taken it. The
        // windows below the topmost are partly hidden by it, so the topmost is the one read.
        kestrum::testing_support::PumpUntil([&] {
            const std::vector<HWND> listed = windows();
            return static_cast<int>(listed.size()) == count && ShowsOrange(listed.front());
        });
    }
    ~TargetProgram() {
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    // Its windows, the topmost first.
    static std::vector<HWND> windows() {
        std::vector<HWND> found;
        for (HWND window = nullptr;
             (window = FindWindowExW(nullptr, window, L"KestrumShareTarget", nullptr)) != nullptr;)
            found.push_back(window);
        return found;
    }

private:
    static bool ShowsOrange(HWND window) {
        POINT centre{160, 100};
        ClientToScreen(window, &centre);
        return window_testing::ScreenArea::Of(window).At(centre.x, centre.y) ==
               RGB(0xFF, 0x88, 0x00);
    }

    PROCESS_INFORMATION process_ = {};
};

class ShareWindowTest : public window_testing::SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        meeting_.data().uid = "u-me";
        // The in-meeting window stands behind the picker, hidden (under a display without
        // window manager, handing the activation back to a visible owner costs seconds); a
        // sizable top-level window of the program that the picker must not offer either.
        parent_ = CreateWindowExW(0, L"STATIC", L"meeting", WS_POPUP, 0, 0, 900, 700, nullptr,
                                  nullptr, nullptr, nullptr);
        ownWindow_ = CreateWindowExW(0, L"STATIC", L"own sizable", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     700, 500, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        ASSERT_NE(ownWindow_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(ownWindow_);
        DestroyWindow(parent_);
        PumpPending();
        SkinWindowTest::TearDown();
    }

    void Open() {
        picker_ = new CDuiScreenShare(host_);
        ASSERT_TRUE(picker_->Create(parent_, L"ScreenShare", kPickerStyle, 0, 160, 100, 662, 500));
        picker_->CenterWindow();
        PumpPending();
        list_ = picker_->screenList();
        ASSERT_NE(list_, nullptr);
    }
    // Until the snapshot thread has gone through every candidate and its entries are shown.
    void AwaitAllListed() {
        ASSERT_TRUE(PumpUntil([&] { return !picker_->snapshotting(); }));
        PumpPending();
    }
    const ShareSourceEntry* EntryOf(HWND window) {
        for (const ShareSourceEntry* entry : list_->entries()) {
            if (entry->window == window) return entry;
        }
        return nullptr;
    }
    DuiLib::CControlUI* InSlot(const ShareSourceEntry& entry, const wchar_t* name) {
        return picker_->paintManager().FindSubControlByName(
            list_->slotControl(*entry.row, entry.slot), name);
    }
    // Clicks a control that lies in view; what the picker posts to the meeting window is kept
    // in toMeeting_.
    void Click(DuiLib::CControlUI* control) {
        const RECT& pos = control->GetPos();
        const LPARAM at = MAKELPARAM((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
        SendMessageW(picker_->GetHWND(), WM_MOUSEMOVE, 0, at);
        SendMessageW(picker_->GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(picker_->GetHWND(), WM_LBUTTONUP, 0, at);
        PumpPending([&](MSG& message) {
            if (!host_.meetingHandle || message.hwnd != host_.meetingHandle) return false;
            toMeeting_.push_back(message);
            return true;
        });
    }
    // The entry's row at the top of the list's view.
    void ScrollTo(const ShareSourceEntry& entry) {
        list_->SetScrollPos(SIZE{0, entry.row->item->GetPos().top - list_->GetPos().top});
        PumpPending();
    }
    // The colour of a control's point as drawn: rows keep their place in the list's content,
    // which is drawn moved by the scroll position.
    DWORD ShownAt(DuiLib::CControlUI* control, int dx, int dy) {
        window_testing::Repaint(picker_);
        const RECT& pos = control->GetPos();
        return PixelAt(picker_, pos.left + dx, pos.top + dy - list_->GetScrollPos().cy);
    }

    // Snapshots in the picker's folder, the desktop's included.
    static int ShotFiles() {
        namespace fs = std::filesystem;
        return static_cast<int>(
            std::distance(fs::directory_iterator(fs::path(ZuvraKestrum::Share::ShotFolder())),
                          fs::directory_iterator()));
    }

    window_testing::RecordingMeetingHost host_{data()};
    HWND parent_ = nullptr;
    HWND ownWindow_ = nullptr;
    CDuiScreenShare* picker_ = nullptr;
    CScreenShareItem* list_ = nullptr;
    std::vector<MSG> toMeeting_;
};

TEST_F(ShareWindowTest, ListsTheDesktopAndOtherProgramsWindowsWithThumbnailsButNoneOfItsOwn) {
    TargetProgram target(kTargetTitle, 2);
    ASSERT_EQ(target.windows().size(), 2u);
    const HWND topmost = target.windows()[0];
    Open();

    // The desktop comes at once, first; the other program's windows follow.
    ASSERT_FALSE(list_->entries().empty());
    const ShareSourceEntry& desktop = *list_->entries()[0];
    EXPECT_EQ(desktop.window, GetDesktopWindow());
    EXPECT_EQ(desktop.title, L"Desktop");
    EXPECT_NE(GetFileAttributesW(desktop.imagePath.c_str()), INVALID_FILE_ATTRIBUTES);
    AwaitAllListed();
    const ShareSourceEntry* entry = EntryOf(topmost);
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(EntryOf(target.windows()[1]), nullptr);
    EXPECT_EQ(entry->title, kTargetName);
    EXPECT_EQ(InSlot(*entry, L"wndShotName")->GetText(), kTargetName);
    EXPECT_EQ(entry->width, 320);
    EXPECT_EQ(entry->height, 200);
    // The title's ':', '/' and '?' do not reach the file system; the file lies in the folder.
    const std::wstring folder = ZuvraKestrum::Share::ShotFolder();
    ASSERT_EQ(entry->imagePath.compare(0, folder.size(), folder), 0);
    EXPECT_EQ(entry->imagePath.find_first_of(L":/?", folder.size()), std::wstring::npos);
    EXPECT_NE(GetFileAttributesW(entry->imagePath.c_str()), INVALID_FILE_ATTRIBUTES);
    // Neither the picker, the meeting window nor another window of this program is offered.
    for (const ShareSourceEntry* listed : list_->entries()) {
        DWORD process = 0;
        GetWindowThreadProcessId(listed->window, &process);
        EXPECT_TRUE(listed == &desktop || process != GetCurrentProcessId())
            << kestrum::common::WideToUtf8(listed->title);
    }
    const int count = static_cast<int>(list_->entries().size());
    EXPECT_EQ(list_->rowCount(), (count + 2) / 3);

    // The picture: the thumbnail shows the other program's orange, the chosen card is framed
    // in blue with its title on blue, the title bar and the start button carry their texts.
    InSlot(*entry, L"wndshot")->SetFocus();
    ScrollTo(*entry);
    EXPECT_TRUE(
        window_testing::SavePicture(picker_, g_language ? L"share-zh.png" : L"share-en.png"));
    DuiLib::CControlUI* shot = InSlot(*entry, L"wndshot");
    EXPECT_EQ(ShownAt(shot, 94, 53), kOrange);
    EXPECT_EQ(ShownAt(list_->slotControl(*entry->row, entry->slot), 0, 60), kChosenBlue);
    EXPECT_EQ(ShownAt(InSlot(*entry, L"wndShotName"), 3, 3), kChosenBlue);
    EXPECT_EQ(PixelAt(picker_, 600, 4), kTitleBar);
    EXPECT_GT(CountDiffering(picker_, RECT{16, 8, 200, 36}, kTitleBar), 30);
    const RECT button = picker_->paintManager().FindControl(L"beginshare")->GetPos();
    EXPECT_EQ(PixelAt(picker_, button.left + 4, button.top + 16), kButtonBlue);
    EXPECT_GT(CountDiffering(picker_, button, kButtonBlue), 20);
    DestroyWindow(picker_->GetHWND());
}

TEST_F(ShareWindowTest, OneSourceIsChosenAtATimeAndStartingAnnouncesAndHandsItOver) {
    TargetProgram target(kTargetTitle, 1);
    const HWND targetWindow = target.windows().at(0);
    MessageWindow meeting;
    host_.meetingHandle = meeting.handle();
    Open();
    AwaitAllListed();
    const ShareSourceEntry& desktop = *list_->entries().at(0);
    const ShareSourceEntry* entry = EntryOf(targetWindow);
    ASSERT_NE(entry, nullptr);
    DuiLib::CControlUI* begin = picker_->paintManager().FindControl(L"beginshare");

    // Starting without a choice only tells the user to choose, in an error box.
    Click(begin);
    EXPECT_EQ(host_.calls,
              std::vector<std::string>{
                  "showMsgBox 1 " +
                  kestrum::common::WideToUtf8(ZuvraKestrum::Share::ChooseFirstText(g_language))});
    EXPECT_TRUE(toMeeting_.empty());

    // A click on the desktop's thumbnail chooses it; the title of another source chooses that
    // one instead, and the desktop's card is plain again.
    Click(InSlot(desktop, L"wndshot"));
    EXPECT_EQ(picker_->chosen(), &desktop);
    EXPECT_EQ(ShownAt(list_->slotControl(*desktop.row, desktop.slot), 0, 60), kChosenBlue);
    InSlot(*entry, L"wndShotName")->SetFocus();
    PumpPending();
    EXPECT_EQ(picker_->chosen(), entry);
    EXPECT_NE(ShownAt(list_->slotControl(*desktop.row, desktop.slot), 0, 60), kChosenBlue);
    EXPECT_EQ(static_cast<DuiLib::CLabelUI*>(InSlot(desktop, L"wndShotName"))->GetTextColor(),
              0xFF000000u);

    // Starting announces the own share and hands the chosen window to the meeting window.
    host_.calls.clear();
    Click(begin);
    EXPECT_EQ(host_.calls, std::vector<std::string>{"roomctrlShare 1 u-me"});
    ASSERT_EQ(toMeeting_.size(), 1u);
    EXPECT_EQ(toMeeting_[0].message, static_cast<UINT>(WM_SCREENSHARE_CHOSEN));
    const auto chosen = TakePayload<WM_SCREENSHARE_CHOSEN>(toMeeting_[0].wParam);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->window, targetWindow);
    EXPECT_EQ(chosen->width, 320);
    EXPECT_EQ(chosen->height, 200);

    // Closing asks the meeting window, which decides; the picker stays.
    Click(picker_->paintManager().FindControl(L"closebtn"));
    ASSERT_EQ(toMeeting_.size(), 2u);
    EXPECT_EQ(toMeeting_[1].message, static_cast<UINT>(WM_SCREENSHARE_CHOSEN));
    EXPECT_EQ(toMeeting_[1].wParam, 0u);
    EXPECT_EQ(toMeeting_[1].lParam, 0);
    EXPECT_TRUE(IsWindow(picker_->GetHWND()));
    DestroyWindow(picker_->GetHWND());
}

TEST_F(ShareWindowTest, SourcesWithoutThumbnailsAreListedOnThePlainGroundAndQuotesInPathsShow) {
    namespace fs = std::filesystem;
    TargetProgram target(kTargetTitle, 1);
    const HWND targetWindow = target.windows().at(0);
    // A file where the snapshot folder belongs: no thumbnail can be written.
    const fs::path folder = fs::path(ZuvraKestrum::Share::ShotFolder()).parent_path();
    fs::remove_all(folder);
    { std::ofstream(folder) << "in the way"; }
    Open();
    AwaitAllListed();
    fs::remove(folder);
    ASSERT_FALSE(list_->entries().empty());
    const ShareSourceEntry& desktop = *list_->entries()[0];
    EXPECT_EQ(desktop.window, GetDesktopWindow());
    EXPECT_EQ(desktop.imagePath, L"");
    const ShareSourceEntry* entry = EntryOf(targetWindow);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->imagePath, L"");
    EXPECT_EQ(entry->width, 320);
    EXPECT_EQ(entry->height, 200);
    ScrollTo(*entry);
    EXPECT_EQ(ShownAt(InSlot(*entry, L"wndshot"), 94, 53), ZuvraKestrum::Share::kThumbnailGround);
    EXPECT_TRUE(window_testing::SavePicture(
        picker_, g_language ? L"share-unthumbed-zh.png" : L"share-unthumbed-en.png"));

    // A thumbnail in a folder whose name holds a quote shows as any other.
    const fs::path quoted = fs::temp_directory_path() / L"kestrum it's";
    fs::create_directories(quoted);
    ShareSourceEntry shot;
    shot.window = targetWindow;
    shot.title = L"quoted";
    shot.imagePath = (quoted / L"shot.png").wstring();
    int width = 0;
    int height = 0;
    ASSERT_TRUE(ZuvraKestrum::Share::SaveWindowShot(targetWindow, shot.imagePath, width, height));
    const ShareSourceEntry* placed = list_->AddItem(shot);
    ASSERT_NE(placed, nullptr);
    ScrollTo(*placed);
    EXPECT_EQ(ShownAt(InSlot(*placed, L"wndshot"), 94, 53), kOrange);
    DestroyWindow(picker_->GetHWND());
    fs::remove_all(quoted);
}

TEST_F(ShareWindowTest, ClosingWhileSnapshottingEndsTheThreadAndASecondPickerListsEverything) {
    // Enough to keep the thread busy for seconds (destroying a window under the virtual
    // display takes its time as well).
    constexpr int kWindows = 80;
    TargetProgram target(kTargetTitle, kWindows);
    ASSERT_EQ(static_cast<int>(target.windows().size()), kWindows);

    // The picker goes after the first window; the thread ends with it and writes no more.
    Open();
    ASSERT_TRUE(PumpUntil([&] { return list_->entries().size() > 1; }));
    ASSERT_TRUE(picker_->snapshotting());
    DestroyWindow(picker_->GetHWND());
    const int written = ShotFiles();
    EXPECT_LT(written, kWindows);
    const DWORD settled = GetTickCount() + 10 * WindowShotThread::kPeriodMs;
    PumpUntil([&] { return GetTickCount() >= settled; });
    EXPECT_EQ(ShotFiles(), written);

    Open();
    AwaitAllListed();
    int listed = 0;
    for (HWND window : target.windows()) listed += EntryOf(window) != nullptr;
    EXPECT_EQ(listed, kWindows);

    // The rows scroll with the wheel.
    const RECT& area = list_->GetPos();
    POINT at = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    ClientToScreen(picker_->GetHWND(), &at);
    PostMessageW(picker_->GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(PumpUntil([&] { return list_->GetScrollPos().cy > 0; }));
    DestroyWindow(picker_->GetHWND());
}

}  // namespace
