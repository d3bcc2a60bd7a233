// The settings windows on their skins under the virtual display: controls filled and wired to
// their handlers, the engine's stand-in devices, the stand-in uploader and its answer, the
// avatar upload against the local back-end, and a picture of each window checked by pixels.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/windows/settings/dui_set_av.h"
#include "app/windows/settings/dui_user_config.h"
#include "app/windows/skeleton/program_dialogs.h"
#include "app/windows/skeleton/testing/window_picture.h"
#include "engine_journal.h"
#include "freed_memory.h"
#include "kestrum/core/course_messages.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"
#include "locale_expectation.h"
#include "meeting_data_fixture.h"
#include "message_window.h"
#include "settings_window_test.h"
#include "support/recording_observer.h"
#include "support/service_library.h"
#include "support/test_backend.h"
#include "temp_folder.h"
#include "ui/base/util/module_path.h"
#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"
#include "ui/controls/richedit/rich_edit.h"
#include "ui/windowing/window_impl/framework_window_test_fixture.h"

using window_testing::PixelAt;

namespace {

using kestrum::testing_support::PumpPending;
using ZuvraKestrum::Util::CStringToString;
using ZuvraKestrum::Util::CStringToUtf8;

// A microphone of the engine, which names its devices in UTF-8, with a name whose UTF-8 and
// ANSI forms differ in either locale: "Headset é".
constexpr char kHeadset[] = "Headset \xC3\xA9";

class SettingsWindowsTest : public SettingsWindowTest {
protected:
    void SetUp() override {
        SettingsWindowTest::SetUp();
        CKestrumData& meeting = data();
        meeting.videoQuality = CKestrumData::kDefaultVideoQuality;
        meeting.nickname = "Alice";
        meeting.portraitId = "p0";
        meeting.appLogPath = L"C:\\App\\logger\\20190812-101500_Kestrum_Windows.log";
        meeting.setEngineLogPath(L"C:\\App\\logger\\20190812-101500_Kestrum_MediaSdk.log");

        KestrumEngineInject("resetDevices");
        KestrumEngineInject("addCamera desk-a Desk Camera");
        KestrumEngineInject("addCamera desk-b Desk Camera");
        KestrumEngineInject((std::string("addRecordingDevice headset-1 ") + kHeadset).c_str());
        engine_ = std::make_unique<CKestrumZuvra>();
        ASSERT_TRUE(engine_->InitDevices());
        host_.engine_ = engine_.get();
        host_.courseObserver_ = &courseStandIn_;
        KestrumEngineJournalClear();
    }
    void TearDown() override {
        // The windows go before the engine they use.
        CloseWindows();
        engine_.reset();
        KestrumEngineInject("resetDevices");
        SettingsWindowTest::TearDown();
    }

    // A pixel just inside the control's top left corner, clear of its border and text.
    static DWORD InsideCorner(CDuiFrameWindow* window, const wchar_t* name) {
        const RECT& pos = Find(window, name)->GetPos();
        return PixelAt(window, pos.left + 4, pos.top + 4);
    }

    // The text of the toast the window owns; empty while there is none.
    static std::wstring ToastText(HWND owner) {
        HWND toast = FindThreadWindow(L"Toast");
        if (!toast || GetWindow(toast, GW_OWNER) != owner) return std::wstring();
        auto* frame = reinterpret_cast<ui::Window*>(GetWindowLongPtrW(toast, GWLP_USERDATA));
        auto* content =
            frame ? dynamic_cast<ui::RichEdit*>(frame->ControlByName(L"content")) : nullptr;
        return content ? content->GetText() : std::wstring();
    }

    std::unique_ptr<CKestrumZuvra> engine_;

private:
    struct CourseStandIn : ZuvraKestrum::ICallBack::CUserCallBack {};
    CourseStandIn courseStandIn_;
};

std::string ConfigValue(std::string& (CKestrumConfig::*get)(std::string&) const,
                        CKestrumConfig& config) {
    std::string value;
    return (config.*get)(value);
}

TEST_F(SettingsWindowsTest, AudioVideoDevicesComeFromTheEngineAndTheChoiceIsAppliedAndKept) {
    host_.config().setCameraID("Desk Camera");
    host_.config().setMicID("No such microphone");
    CDuiSetAV* window = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(window, nullptr);
    auto* cameras = Find<DuiLib::CComboUI>(window, L"videocom");
    auto* microphones = Find<DuiLib::CComboUI>(window, L"audiocom");

    // The later of two equally named cameras, and the first microphone for an unknown name (a
    // device unplugged for now), each applied to the engine; only a choice of the user is
    // remembered, so the unplugged one is chosen again once it is back.
    ASSERT_EQ(cameras->GetCount(), 4);
    EXPECT_EQ(cameras->GetCurSel(), 3);
    EXPECT_EQ(cameras->GetText(), L"Desk Camera");
    ASSERT_EQ(microphones->GetCount(), 3);
    EXPECT_EQ(microphones->GetCurSel(), 0);
    std::string journal = EngineJournal();
    EXPECT_NE(journal.find("camera.setDevice(desk-b)"), std::string::npos) << journal;
    EXPECT_NE(journal.find("recording.setDevice(microphone-1)"), std::string::npos) << journal;
    EXPECT_EQ(ConfigValue(&CKestrumConfig::getMicID, host_.config()), "No such microphone");
    EXPECT_EQ(ConfigValue(&CKestrumConfig::getCameraID, host_.config()), "Desk Camera");

    KestrumEngineJournalClear();
    ASSERT_TRUE(microphones->SelectItem(2));
    ASSERT_TRUE(cameras->SelectItem(0));
    journal = EngineJournal();
    EXPECT_NE(journal.find("recording.setDevice(headset-1)"), std::string::npos) << journal;
    EXPECT_NE(journal.find("camera.setDevice(camera-1)"), std::string::npos) << journal;
    EXPECT_EQ(ConfigValue(&CKestrumConfig::getMicID, host_.config()), kHeadset);

    // The stored name chooses its device when the window opens again.
    DestroyWindow(window->GetHWND());
    window = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Find<DuiLib::CComboUI>(window, L"audiocom")->GetCurSel(), 2);
    EXPECT_EQ(ConfigValue(&CKestrumConfig::getCameraID, host_.config()), "Stand-in Camera");
}

// The drawing of a framework window (a combo's drop-down), null when there is none.
ui::IRenderContext* DrawingOf(HWND hwnd) {
    auto* frame = reinterpret_cast<ui::Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    ui::IRenderContext* drawing = frame ? frame->GetRenderContext() : nullptr;
    return drawing && drawing->GetBits() ? drawing : nullptr;
}

// The window with its open drop-down as the user sees them, kept as "<stem>-en.png" or
// "<stem>-zh.png". Made of the two windows' own drawings: read back from the screen, a layered
// window (the drop-down) comes out black under Wine.
bool SaveWithDropDown(CDuiFrameWindow* window, HWND drop, const std::wstring& stem) {
    window_testing::Repaint(window);
    ui::IRenderContext* below = window->paintManager().GetHost()->GetRenderContext();
    ui::IRenderContext* over = DrawingOf(drop);
    if (!below || !over) return false;
    RECT place;
    GetWindowRect(drop, &place);
    MapWindowPoints(HWND_DESKTOP, window->GetHWND(), reinterpret_cast<POINT*>(&place), 2);
    const int width = below->GetWidth();
    const int height = std::max<int>(below->GetHeight(), place.bottom);
    std::unique_ptr<ui::IRenderContext> picture(ui::RenderFactory_GdiPlus().CreateRenderContext());
    if (!picture || !picture->Resize(width, height)) return false;
    BitBlt(picture->GetDC(), 0, 0, width, below->GetHeight(), below->GetDC(), 0, 0, SRCCOPY);
    BitBlt(picture->GetDC(), place.left, place.top, over->GetWidth(), over->GetHeight(),
           over->GetDC(), 0, 0, SRCCOPY);
    auto* bits = static_cast<DWORD*>(picture->GetBits());
    for (int i = 0; i < width * height; ++i) bits[i] |= 0xFF000000u;
    return ui::testing_support::SavePng(picture.get(), ui::testing_support::PictureFolder() + stem +
                                                           (g_language ? L"-zh.png" : L"-en.png"));
}

// A click opens the device list under its combo with every device in view; a click on a device
// chooses it.
TEST_F(SettingsWindowsTest, DeviceListsOpenWithEveryDeviceAndAClickInThemChoosesOne) {
    CDuiSetAV* window = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(window, nullptr);
    auto* cameras = Find<DuiLib::CComboUI>(window, L"videocom");
    // Nothing pumped while the list is open: a window of another program taking the focus
    // would close it.
    Press(window, L"videocom");
    HWND drop = FindThreadWindow(L"ComboWnd");
    ASSERT_NE(drop, nullptr);
    RedrawWindow(drop, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT combo = cameras->GetPos();
    MapWindowPoints(window->GetHWND(), HWND_DESKTOP, reinterpret_cast<POINT*>(&combo), 2);
    RECT list;
    GetWindowRect(drop, &list);
    EXPECT_EQ(list.left, combo.left);
    EXPECT_EQ(list.right, combo.right);
    EXPECT_EQ(list.top, combo.bottom + 1);
    ASSERT_EQ(cameras->GetCount(), 4);
    // Every device is drawn in the list, one under the other.
    ui::IRenderContext* drawn = DrawingOf(drop);
    ASSERT_NE(drawn, nullptr);
    RECT last = {};
    for (int index = 0; index < cameras->GetCount(); ++index) {
        const RECT item = cameras->GetItemAt(index)->GetPos();
        EXPECT_GE(item.bottom - item.top, 24) << index;
        EXPECT_GE(item.top, last.bottom) << index;
        EXPECT_GT(ui::testing_support::CountPixels(drawn, item, 0xFFFFFFFFu).differing, 0) << index;
        last = item;
    }
    EXPECT_LE(last.bottom, list.bottom - list.top);
    EXPECT_TRUE(SaveWithDropDown(window, drop, L"settings-av-cameras"));

    const RECT first = cameras->GetItemAt(0)->GetPos();
    const LPARAM at = MAKELPARAM((first.left + first.right) / 2, (first.top + first.bottom) / 2);
    SendMessageW(drop, WM_MOUSEMOVE, 0, at);
    SendMessageW(drop, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(drop, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(PumpUntil([] { return FindThreadWindow(L"ComboWnd") == nullptr; }));
    EXPECT_EQ(cameras->GetCurSel(), 0);
    EXPECT_EQ(ConfigValue(&CKestrumConfig::getCameraID, host_.config()), "Stand-in Camera");
}

TEST_F(SettingsWindowsTest, QualityIsStoredAndReachesTheEngineOnlyDuringAMeeting) {
    CDuiSetAV* window = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Find<DuiLib::COptionUI>(window, L"midop")->IsSelected());
    EXPECT_TRUE(Find(window, L"previewOp")->IsEnabled());

    Click(window, L"lowop");
    EXPECT_TRUE(Find<DuiLib::COptionUI>(window, L"lowop")->IsSelected());
    EXPECT_FALSE(Find<DuiLib::COptionUI>(window, L"midop")->IsSelected());
    EXPECT_EQ(data().videoQuality, 30);
    EXPECT_EQ(EngineJournal().find("setVideoEncoderConfiguration"), std::string::npos);

    StandInDialog meeting;
    host_.dialogs[ProgramDialogs::kLiveDlg] = &meeting;
    Click(window, L"highop");
    EXPECT_EQ(data().videoQuality, 50);
    EXPECT_NE(EngineJournal().find("engine.setVideoEncoderConfiguration(1280,720,"),
              std::string::npos);

    // During a meeting the camera is the meeting's: no camera test.
    CDuiSetAV* second = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(Find(second, L"previewOp")->IsEnabled());
    EXPECT_TRUE(Find<DuiLib::COptionUI>(second, L"highop")->IsSelected());
    host_.dialogs.erase(ProgramDialogs::kLiveDlg);
}

TEST_F(SettingsWindowsTest, CameraTestShowsInItsChildWindowAndStopsWhenTheWindowCloses) {
    CDuiSetAV* window = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    HWND preview = FindWindowExW(handle, nullptr, L"#32770", nullptr);
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(IsWindowVisible(preview));
    RECT placed;
    GetWindowRect(preview, &placed);
    MapWindowPoints(HWND_DESKTOP, handle, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(EqualRect(&placed, &Find(window, L"previewLab")->GetPos()));

    KestrumEngineJournalClear();
    Click(window, L"previewOp");
    EXPECT_TRUE(IsWindowVisible(preview));
    Click(window, L"previewOp");
    EXPECT_FALSE(IsWindowVisible(preview));
    Click(window, L"previewOp");
    EXPECT_EQ(EngineJournal(),
              "camera.startDeviceTest(window)\ncamera.stopDeviceTest()\n"
              "camera.startDeviceTest(window)\n");

    KestrumEngineJournalClear();
    Click(window, L"closebtn");
    EXPECT_TRUE(Journaled("close(2)"));
    ASSERT_TRUE(PumpUntil([handle] { return !IsWindow(handle); }));
    EXPECT_EQ(EngineJournal(), "camera.stopDeviceTest()\n");

    // "OK" closes the window as well: every choice took effect when it was made.
    window = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(window, nullptr);
    handle = window->GetHWND();
    Click(window, L"previewOp");
    KestrumEngineJournalClear();
    Click(window, L"surebtn");
    EXPECT_EQ(Journaled("close(2)"), 2);
    ASSERT_TRUE(PumpUntil([handle] { return !IsWindow(handle); }));
    EXPECT_EQ(EngineJournal(), "camera.stopDeviceTest()\n");
}

TEST_F(SettingsWindowsTest, TabsFollowTheOpenerAndTheRoomTabHandsItsStateOn) {
    CDuiSetAV* window = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(window, nullptr);
    // Its own tab stays chosen and unusable; the room tab leads to the room settings.
    EXPECT_FALSE(Find(window, L"tabAVOpt")->IsEnabled());
    EXPECT_TRUE(Find(window, L"tabRoomOpt")->IsEnabled());
    window->setTabsEnabled(false);
    EXPECT_FALSE(Find(window, L"tabRoomOpt")->IsEnabled());
    TakePicture(window, L"settings-av-join");

    window->setTabsEnabled(true);
    StandInDialog room;
    host_.dialogs[ProgramDialogs::kSetRoomDlg] = &room;
    HWND handle = window->GetHWND();
    Click(window, L"tabRoomOpt");
    EXPECT_TRUE(Journaled("open(3)"));
    EXPECT_EQ(room.tabsEnabled, 1);
    EXPECT_TRUE(Journaled("close(2)"));
    EXPECT_TRUE(PumpUntil([handle] { return !IsWindow(handle); }));
    host_.dialogs.erase(ProgramDialogs::kSetRoomDlg);

    // The room's host gets the host's room settings.
    data().uid = "20001";
    data().hosts = {"20001"};
    StandInDialog own;
    host_.dialogs[ProgramDialogs::kSetOwnRoomDlg] = &own;
    window = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(window, nullptr);
    Click(window, L"tabRoomOpt");
    EXPECT_EQ(Journaled("open(4)"), 1) << Journal();
    EXPECT_EQ(Journaled("open(3)"), 1) << Journal();
    EXPECT_EQ(own.tabsEnabled, 1);
    host_.dialogs.erase(ProgramDialogs::kSetOwnRoomDlg);
}

TEST_F(SettingsWindowsTest, AudioVideoWindowLooksFinished) {
    CDuiSetAV* window = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(window, nullptr);
    TakePicture(window, L"settings-av");
    const RECT title = Find(window, L"title")->GetPos();
    EXPECT_EQ(PixelAt(window, title.right - 2, title.bottom - 3), 0xFFF5F6F7u);  // title bar
    const RECT preview = Find(window, L"previewLab")->GetPos();
    EXPECT_EQ(PixelAt(window, preview.left + 8, preview.top + 20), 0xFF555555u);
    EXPECT_EQ(PixelAt(window, preview.left - 8, preview.top + 20), 0xFFFFFFFFu);  // margin
    EXPECT_EQ(InsideCorner(window, L"midop"), 0xFF2A7FE6u);  // the chosen level
    EXPECT_EQ(InsideCorner(window, L"lowop"), 0xFFFFFFFFu);
    EXPECT_EQ(InsideCorner(window, L"surebtn"), 0xFF2A7FE6u);
    const RECT tab = Find(window, L"tabAVOpt")->GetPos();
    EXPECT_EQ(PixelAt(window, (tab.left + tab.right) / 2, tab.bottom - 1), 0xFF2A7FE6u);
}

// The uploader answers the window whose handle it was given; only the profile window shows the
// answer.
class LogUploadTest : public SettingsWindowsTest {
protected:
    void SetUp() override {
        SettingsWindowsTest::SetUp();
        record_ = folder_.path() + L"record.txt";
        SetEnvironmentVariableW(L"KESTRUM_SIBLING_LOG", record_.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"KESTRUM_SIBLING_LOG", nullptr);
        SetEnvironmentVariableW(L"KESTRUM_BRISKLOG_ANSWER", nullptr);
        SettingsWindowsTest::TearDown();
    }

    // The arguments of each recorded start of the uploader, the program path first.
    std::vector<std::vector<std::string>> Starts() const {
        std::vector<std::vector<std::string>> starts;
        for (const std::string& line : Split(ReadFileBytes(CStringToString(record_)), '\n')) {
            if (!line.empty()) starts.push_back(Split(line, '\t'));
        }
        return starts;
    }

    static std::vector<std::string> Split(const std::string& text, char separator) {
        std::vector<std::string> parts(1);
        for (char c : text) {
            if (c == separator) {
                parts.emplace_back();
            } else {
                parts.back() += c;
            }
        }
        return parts;
    }

    static std::string Hex(HWND window) {
        char text[32];
        snprintf(text, sizeof text, "%llx",
                 static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
        return text;
    }

    std::wstring record_;
};

TEST_F(LogUploadTest, TheUploaderGetsTheLogNamesAndTheWindowAndTheWaitTimerIsArmed) {
    CDuiSetAV* window = Open<CDuiSetAV>(ProgramDialogs::kSetAVDlg);
    ASSERT_NE(window, nullptr);
    Click(window, L"uploadLogbtn");
    const auto starts = Starts();
    ASSERT_EQ(starts.size(), 1u);
    const std::vector<std::string> expected = {"quorvadine",
                                               "20190812-101500_Kestrum_Windows.log",
                                               "20190812-101500_Kestrum_MediaSdk.log",
                                               "VideoSourceStream.txt",
                                               "ScreenSDK.log",
                                               Hex(window->GetHWND())};
    EXPECT_EQ(std::vector<std::string>(starts[0].begin() + 1, starts[0].end()), expected);
    EXPECT_EQ(starts[0][0], CStringToUtf8(ZuvraKestrum::Util::GetExeDirW()) + "\\Brisklog.exe");
    EXPECT_TRUE(KillTimer(window->GetHWND(), CDuiFrameWindow::kUploadWaitTimer));

    // The uploader's answer to this window is taken and shows nothing.
    kestrum::testing_support::PumpUntil([] { return false; }, nullptr,
                                        std::chrono::milliseconds(500));
    EXPECT_EQ(FindThreadWindow(L"Toast"), nullptr);
}

TEST_F(LogUploadTest, ProfileWindowShowsTheUploadersAnswerAsAToast) {
    CDuiUserConfig* window = Open<CDuiUserConfig>(ProgramDialogs::kUserConfigDlg);
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    Click(window, L"uploadLogbtn");
    ASSERT_TRUE(PumpUntil([handle] { return !ToastText(handle).empty(); }));
    EXPECT_EQ(ToastText(handle), g_language ? L"上传成功" : L"Upload succeeded");

    SendMessageW(FindThreadWindow(L"Toast"), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([] { return FindThreadWindow(L"Toast") == nullptr; }));
    SetEnvironmentVariableW(L"KESTRUM_BRISKLOG_ANSWER", L"Upload failed: no network");
    Click(window, L"uploadLogbtn");
    ASSERT_TRUE(PumpUntil([handle] { return !ToastText(handle).empty(); }));
    EXPECT_EQ(ToastText(handle), L"Upload failed: no network");
    EXPECT_EQ(Starts().size(), 2u);
}

TEST_F(SettingsWindowsTest, ProfileShowsTheStoredChoicesAndConfirmsTheTypedNameWhole) {
    data().cameraOff = true;
    CDuiUserConfig* window = Open<CDuiUserConfig>(ProgramDialogs::kUserConfigDlg);
    ASSERT_NE(window, nullptr);
    auto* edit = Find<DuiLib::CEditUI>(window, L"nickEdit");
    EXPECT_EQ(edit->GetText(), L"Alice");
    EXPECT_TRUE(Find<DuiLib::COptionUI>(window, L"CamOpt")->IsSelected());
    EXPECT_FALSE(Find<DuiLib::COptionUI>(window, L"MicOpt")->IsSelected());
    TakePicture(window, L"settings-profile");

    // A 19th typed character is refused with one warning.
    edit->SetText(L"abcdefghijklmnopqr");
    window->paintManager().SetFocus(edit);
    edit->SetSel(-1, -1);
    SendMessageW(window->GetHWND(), WM_CHAR, L's', 0);
    EXPECT_EQ(edit->GetText(), L"abcdefghijklmnopqr");
    const std::string tooLong = g_language ? "box(0,0,昵称长度不能超过18)"
                                           : "box(0,0,Nickname must not exceed 18 characters)";
    EXPECT_EQ(std::count(host_.journal.begin(), host_.journal.end(), tooLong), 1);

    // The hint names nobody: nothing is sent and the window stays.
    const std::wstring hint = g_language ? L"请输入昵称" : L"Your name";
    edit->SetText(hint.c_str());
    Click(window, L"surebtn");
    EXPECT_TRUE(Journaled("box(0,0," + CStringToUtf8(hint) + ")"));
    EXPECT_EQ(edit->GetText(), L"");

    // A Chinese name goes to the service whole, whatever the ANSI code page; the switches are
    // stored.
    const std::wstring name = L"\x5f20\x4e09\x4e30";  // 张三丰
    edit->SetText(name.c_str());
    Click(window, L"MicOpt");
    Click(window, L"surebtn");
    EXPECT_TRUE(Journaled("updateInfo(course,," + CStringToUtf8(name) + ",p0)")) << Journal();
    EXPECT_EQ(data().nickname, CStringToUtf8(name));
    EXPECT_TRUE(data().cameraOff);
    EXPECT_TRUE(data().micOff);
    EXPECT_EQ(ConfigValue(&CKestrumConfig::getEnableCamera, host_.config()), "1");
    EXPECT_EQ(ConfigValue(&CKestrumConfig::getEnableMic, host_.config()), "1");
    EXPECT_TRUE(Journaled("close(5)"));
    HWND handle = window->GetHWND();
    EXPECT_TRUE(PumpUntil([handle] { return !IsWindow(handle); }));

    // Opened again, the window shows the name whole.
    CDuiUserConfig* again = Open<CDuiUserConfig>(ProgramDialogs::kUserConfigDlg);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Find<DuiLib::CEditUI>(again, L"nickEdit")->GetText(), name);
    TakePicture(again, L"settings-profile-named");
}

TEST_F(SettingsWindowsTest, AProfileSkinWithoutTheAvatarButtonLeavesTheWindowInert) {
    for (const wchar_t* file : {L"OwnerConfig-en.xml", L"OwnerConfig-zh.xml"}) {
        std::ofstream(std::filesystem::path(folder_.path() + file))
            << "<Window size=\"360,500\"><VBox name=\"MainFrame\">"
               "<Edit name=\"nickEdit\" height=\"30\"/></VBox></Window>";
    }
    const std::wstring skins = DuiLib::CPaintManagerUI::GetResourcePath().GetData();
    DuiLib::CPaintManagerUI::SetResourcePath(folder_.path().c_str());
    CDuiUserConfig* window = Open<CDuiUserConfig>(ProgramDialogs::kUserConfigDlg);
    DuiLib::CPaintManagerUI::SetResourcePath(skins.c_str());
    ASSERT_NE(window, nullptr);
    const HWND handle = window->GetHWND();

    // A report that reaches it is left alone.
    CDuiUserConfig::Relay().observerFor(handle)->onCallBackError("account/portrait", "refused", 2);
    PumpPending();
    EXPECT_TRUE(IsWindow(handle));
}

// The avatar upload on the real service library against the local back-end.
class AvatarUploadTest : public WithLocalService<SettingsWindowsTest> {
protected:
    void SetUp() override {
        WithLocalService::SetUp();
        if (HasFatalFailure()) return;
        backend_->Reset();
        backend_->AddUser("tok-A", "20001", "Alice");
        library_->setUserInfo("tok-A", "20001", "Alice", "", "");
        host_.libraryUpdateInfo = library_->updateInfo;
        host_.libraryUpdatePhoto = library_->updatePhoto;
        host_.courseObserver_ = &course_;
        host_.windows[ProgramDialogs::kLoginDlg] = join_.handle();
        // The avatar cache and the pictures lie in a folder named outside either locale's
        // ANSI code page ("사진").
        avatarFolder_ = folder_.path() + L"\xC0AC\xC9C4\\";
        CreateDirectoryW(avatarFolder_.c_str(), nullptr);
    }
    void TearDown() override {
        library_->releaseAccountObserver(nullptr);
        SettingsWindowsTest::TearDown();
        for (const MSG& message : joinMessages_) FreeCoursePayload(message.message, message.wParam);
    }

    // Runs the window's messages until done() holds, keeping those posted to the join window.
    bool PumpKeepingJoinMessages(const std::function<bool()>& done) {
        return kestrum::testing_support::PumpUntil(done, [this](MSG& message) {
            if (message.hwnd != join_.handle()) return false;
            joinMessages_.push_back(message);
            return true;
        });
    }

    std::vector<TestBackend::Request> Uploads(const char* api) {
        std::vector<TestBackend::Request> found;
        for (const auto& request : backend_->Requests()) {
            if (request.path.find(api) != std::string::npos) found.push_back(request);
        }
        return found;
    }

    RecordingObserver course_;
    MessageWindow join_;
    std::vector<MSG> joinMessages_;
};

TEST_F(AvatarUploadTest, PicturesOfAnotherKindOrTooLargeAreRefusedBeforeAnythingIsSent) {
    CDuiUserConfig* window = Open<CDuiUserConfig>(ProgramDialogs::kUserConfigDlg);
    ASSERT_NE(window, nullptr);
    const std::string failed = g_language ? "头像更新失败" : "Avatar setting failed";

    // A ".gif" in a folder named "jpg" is still a GIF.
    const std::wstring gifFolder = folder_.MakeFolder(L"jpg");
    WriteFileBytes(gifFolder + L"face.gif", "GIF89a");
    host_.nextAvatarFile = gifFolder + L"face.gif";
    Click(window, L"photobtn");
    EXPECT_TRUE(Journaled("box(1,1010," + failed + ")"));
    // So is a WebP saved under a ".jpg" name.
    WriteFileBytes(folder_.narrow() + "face.jpg", std::string("RIFF\x24\0\0\0WEBPVP8 ", 16));
    host_.nextAvatarFile = folder_.path() + L"face.jpg";
    Click(window, L"photobtn");
    EXPECT_EQ(Journaled("box(1,1010," + failed + ")"), 2);

    const std::string png("\x89PNG\r\n\x1A\n", 8);
    WriteFileBytes(folder_.narrow() + "big.png", png + std::string(629146 - png.size(), 'x'));
    host_.nextAvatarFile = folder_.path() + L"big.png";
    Click(window, L"photobtn");
    EXPECT_TRUE(Journaled("box(1,1009," + failed + ")"));

    // Cancelling the chooser does nothing.
    Click(window, L"photobtn");
    EXPECT_EQ(std::count(host_.journal.begin(), host_.journal.end(), "choose"), 4);
    EXPECT_TRUE(IsWindowEnabled(window->GetHWND()));
    EXPECT_TRUE(Uploads("account/portrait").empty());
}

TEST_F(AvatarUploadTest, AnUploadedPictureLandsInTheCacheAndTheJoinWindowAndTheServiceLearnIt) {
    const std::wstring picture = kbase::ModuleDirectory() + L"settings_fixtures\\avatar.png";
    const std::string bytes = ReadFileBytes(CStringToString(picture));
    ASSERT_FALSE(bytes.empty());
    CDuiUserConfig* window = Open<CDuiUserConfig>(ProgramDialogs::kUserConfigDlg);
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    host_.nextAvatarFile = picture;
    Press(window, L"photobtn");
    EXPECT_FALSE(IsWindowEnabled(handle)) << Journal();
    ASSERT_TRUE(PumpKeepingJoinMessages([&] { return !joinMessages_.empty(); }));
    EXPECT_TRUE(IsWindowEnabled(handle));

    ASSERT_EQ(joinMessages_[0].message, static_cast<UINT>(WM_GET_PHOTO));
    const auto portraitId = TakePayload<WM_GET_PHOTO>(joinMessages_[0].wParam);
    joinMessages_.clear();
    ASSERT_NE(portraitId, nullptr);
    EXPECT_EQ(Uploads("account/portrait").size(), 1u);
    const std::wstring cached = ZuvraKestrum::Util::GetPortraitCachePath(*portraitId);
    EXPECT_EQ(cached, avatarFolder_ + L"logo\\" + ZuvraKestrum::Util::StringToCString(*portraitId) +
                          L".png");
    std::ifstream copy(std::filesystem::path(cached), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), bytes);
    EXPECT_EQ(data().portraitPath, CStringToUtf8(cached));
    EXPECT_EQ(Find(window, L"photobtn")->GetBkImage(), cached);

    // The account learns the new picture with the stored name, through the course bridge.
    ASSERT_TRUE(course_.WaitFinished());
    EXPECT_EQ(course_.Lines()[0], "onUserUpdate(1)");
    const auto updates = Uploads("account/update");
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_NE(updates[0].body.find("\"name\":\t\"Alice\""), std::string::npos) << updates[0].body;
    EXPECT_NE(updates[0].body.find("\"portraitId\":\t\"" + *portraitId + "\""), std::string::npos)
        << updates[0].body;
    TakePicture(window, L"settings-profile-avatar");

    // Opened again, the window shows the stored picture.
    DestroyWindow(handle);
    CDuiUserConfig* again = Open<CDuiUserConfig>(ProgramDialogs::kUserConfigDlg);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(Find(again, L"photobtn")->GetBkImage(), cached);
}

TEST_F(AvatarUploadTest, AFailedUploadIsShownAndTheWindowIsUsableAgain) {
    CDuiUserConfig* window = Open<CDuiUserConfig>(ProgramDialogs::kUserConfigDlg);
    ASSERT_NE(window, nullptr);
    HWND handle = window->GetHWND();
    // A file that cannot be looked up passes the checks and fails in the upload; its path goes
    // to the library whole.
    host_.nextAvatarFile = avatarFolder_ + L"vanished.png";
    Press(window, L"photobtn");
    EXPECT_FALSE(IsWindowEnabled(handle));
    EXPECT_TRUE(Journaled("updatePhoto(relay," + CStringToUtf8(avatarFolder_) + "vanished.png)"))
        << Journal();
    ASSERT_TRUE(PumpUntil([handle] { return IsWindowEnabled(handle); }));
    const auto box =
        std::find_if(host_.journal.begin(), host_.journal.end(),
                     [](const std::string& entry) { return entry.rfind("box(1,", 0) == 0; });
    EXPECT_NE(box, host_.journal.end());
    EXPECT_TRUE(joinMessages_.empty());
    EXPECT_TRUE(Uploads("account/update").empty());

    // Closed while the next failure's box is up: the window is gone when the box returns.
    host_.whileBoxShows = [this, handle] {
        PoisonFreedMemory poison;
        host_.closeDialog(ProgramDialogs::kUserConfigDlg);
        PumpUntil([handle] { return !IsWindow(handle); });
    };
    host_.nextAvatarFile = folder_.path() + L"vanished.png";
    Press(window, L"photobtn");
    ASSERT_TRUE(PumpUntil([this] { return Journaled("close(5)") == 1; })) << Journal();
    PumpPending();
    EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
