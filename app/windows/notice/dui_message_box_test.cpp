#include "app/windows/notice/dui_message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum/common/utf.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_process.h"
#include "kestrum/testing/wait.h"
#include "kestrum/testing/win_wait.h"
#include "notice_box_driver.h"
#include "notice_picture.h"
#include "temp_folder.h"

namespace {

using kestrum::testing_support::PumpUntil;
using notice_testing::BottomClose;
using notice_testing::Click;
using notice_testing::Find;
using ZuvraKestrum::Util::FindProcessIdByName;
using ZuvraKestrum::Util::kNoProcessId;

constexpr DWORD kDialogStyle = 0x10CF0000;

// The ways out of the program, counted instead of taken.
int g_quits = 0;
int g_processEnds = 0;
void CountQuit() { ++g_quits; }
void CountProcessEnd() { ++g_processEnds; }

bool Chinese() { return g_language != 0; }

// Copies of the sibling stand-ins named for this process: killing "Faultpost.exe" by name would
// also end the stand-ins of other test programs that run at the same time under the same Wine.
std::string OwnCopy(const char* stem) {
    return std::string(stem) + "-" + std::to_string(GetCurrentProcessId()) + ".exe";
}

std::wstring InProgramFolder(const std::string& name) {
    return ZuvraKestrum::Util::GetExeDirW() + kestrum::common::Utf8ToWide(name);
}

class NoticeBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* stem : {"Faultpost", "Updrift"}) {
            ASSERT_TRUE(CopyFileW(InProgramFolder(std::string(stem) + ".exe").c_str(),
                                  InProgramFolder(OwnCopy(stem)).c_str(), FALSE));
        }
    }
    static void TearDownTestSuite() {
        for (const char* stem : {"Faultpost", "Updrift"}) {
            DeleteFileW(InProgramFolder(OwnCopy(stem)).c_str());
        }
    }

    void SetUp() override {
        g_quits = 0;
        g_processEnds = 0;
        record_ = folder_.narrow() + "siblings.txt";
        SetEnvironmentVariableW(L"KESTRUM_SIBLING_LOG",
                                kestrum::common::Utf8ToWide(record_).c_str());
    }

    void TearDown() override {
        if (box_ && IsWindow(handle_)) DestroyWindow(handle_);
        int count = 0;
        ZuvraKestrum::Util::KillProcessByName(OwnCopy("Faultpost"), count);
        ZuvraKestrum::Util::KillProcessByName(OwnCopy("Updrift"), count);
        SetEnvironmentVariableW(L"KESTRUM_SIBLING_LOG", nullptr);
        kestrum::testing_support::PumpPending();
    }

    // A box made as the program makes it, hidden, its sibling programs the copies above.
    CDuiMessageBox* Make(const std::string& upgrader = OwnCopy("Updrift")) {
        ZuvraKestrum::Notice::UpgradeRoad road;
        road.crashReporter = OwnCopy("Faultpost");
        road.upgrader = upgrader;
        box_ = new CDuiMessageBox(*CSingleton<CKestrumConfig>::getInstance(),
                                  NoticeBoxExits{&CountQuit, &CountProcessEnd}, road);
        handle_ = box_->Create(nullptr, L"DuiMsgBox", kDialogStyle, 0, 0, 0, 500, 200);
        if (!handle_) return nullptr;
        box_->CenterWindow();
        box_->ShowWindow(false);
        return box_;
    }

    // Shows the box without a modal loop and waits until it is laid out.
    bool ShowLaidOut() {
        box_->ShowWindow(true, true);
        return PumpUntil([this] {
            return notice_testing::LaidOut(Find(box_, L"tipsTxt")) &&
                   notice_testing::LaidOut(BottomClose(box_));
        });
    }

    // The lines the stand-ins recorded, each split at its tabs.
    std::vector<std::vector<std::string>> Recorded() const {
        std::vector<std::vector<std::string>> lines(1);
        std::string field;
        for (char c : ReadFileBytes(record_)) {
            if (c != '\t' && c != '\n') {
                field += c;
                continue;
            }
            lines.back().push_back(field);
            field.clear();
            if (c == '\n') lines.emplace_back();
        }
        lines.pop_back();
        return lines;
    }

    TempFolder folder_;
    std::string record_;
    CDuiMessageBox* box_ = nullptr;
    HWND handle_ = nullptr;
};

TEST_F(NoticeBoxTest, SkinBuildsTheBoxHiddenWithItsControlsAndTexts) {
    ASSERT_NE(Make(), nullptr);
    for (const wchar_t* name : {L"MainFrame", L"TxtType", L"tipsTxt", L"update", L"closebtn"}) {
        EXPECT_NE(Find(box_, name), nullptr) << kestrum::common::WideToUtf8(name);
    }
    ASSERT_NE(BottomClose(box_), nullptr);
    EXPECT_NE(BottomClose(box_), Find(box_, L"closebtn"));
    EXPECT_FALSE(IsWindowVisible(handle_));
    EXPECT_FALSE(Find(box_, L"update")->IsVisible());
    EXPECT_EQ(Find(box_, L"update")->GetText(), Chinese() ? L"立即升级" : L"Update now");
    EXPECT_EQ(BottomClose(box_)->GetText(), Chinese() ? L"确定" : L"OK");
    RECT client;
    GetClientRect(handle_, &client);
    EXPECT_EQ(client.right, 500);
    EXPECT_EQ(client.bottom, 200);

    box_->SetTitle(L"Warning");
    box_->SetTips(L"Room name too long");
    EXPECT_EQ(Find(box_, L"TxtType")->GetText(), L"Warning");
    EXPECT_EQ(Find(box_, L"tipsTxt")->GetText(), L"Room name too long");

    // The offers show "update" and say what closing them means.
    box_->SetType(3, L"--to 1.2.0");
    EXPECT_TRUE(Find(box_, L"update")->IsVisible());
    EXPECT_EQ(BottomClose(box_)->GetText(), Chinese() ? L"退出" : L"Quit");
    box_->SetType(4, L"--to 1.2.0");
    EXPECT_EQ(BottomClose(box_)->GetText(), Chinese() ? L"以后再说" : L"Later");
    EXPECT_EQ(box_->argument(), L"--to 1.2.0");
    box_->SetType(1, L"");
    EXPECT_FALSE(Find(box_, L"update")->IsVisible());
}

TEST_F(NoticeBoxTest, ClosingHidesTheBoxAndThenFollowsTheOffer) {
    ASSERT_NE(Make(), nullptr);
    int joinOpened = 0;
    box_->SetJoinWindowOpener([&joinOpened] { ++joinOpened; });
    CKestrumConfig* config = CSingleton<CKestrumConfig>::getInstance();
    config->setUpdateOption("0");

    // An error: the title bar's cross only hides the box.
    box_->SetType(1, L"");
    ASSERT_TRUE(ShowLaidOut());
    Click(box_, Find(box_, L"closebtn"));
    EXPECT_FALSE(IsWindowVisible(handle_));
    EXPECT_EQ(g_quits, 0);
    EXPECT_EQ(joinOpened, 0);

    // A declined forced upgrade quits.
    box_->SetType(3, L"v2");
    ASSERT_TRUE(ShowLaidOut());
    Click(box_, BottomClose(box_));
    EXPECT_FALSE(IsWindowVisible(handle_));
    EXPECT_EQ(g_quits, 1);

    // A declined optional upgrade goes back to the join window and is not offered again.
    box_->SetType(4, L"v2");
    ASSERT_TRUE(ShowLaidOut());
    Click(box_, BottomClose(box_));
    EXPECT_FALSE(IsWindowVisible(handle_));
    EXPECT_EQ(g_quits, 1);
    EXPECT_EQ(joinOpened, 1);
    std::string option;
    EXPECT_EQ(config->getUpdateOption(option), "1");
    EXPECT_TRUE(IsWindow(handle_));
    EXPECT_EQ(g_processEnds, 0);
}

TEST_F(NoticeBoxTest, UpdateEndsTheCrashReporterStartsTheUpgraderWithTheArgumentAndQuits) {
    ASSERT_NE(Make(), nullptr);
    ASSERT_NE(ZuvraKestrum::Util::StartProcess(OwnCopy("Faultpost"), ""), 0u);
    ASSERT_TRUE(kestrum::testing_support::WaitUntil([this] { return !Recorded().empty(); }));
    ASSERT_NE(FindProcessIdByName(OwnCopy("Faultpost")), kNoProcessId);

    box_->SetType(4, L"--from 1.0.0 --to 1.2.0");
    ASSERT_TRUE(ShowLaidOut());
    Click(box_, Find(box_, L"update"));

    EXPECT_EQ(FindProcessIdByName(OwnCopy("Faultpost")), kNoProcessId);
    EXPECT_EQ(g_quits, 1);
    ASSERT_TRUE(kestrum::testing_support::WaitUntil([this] { return Recorded().size() == 2; }));
    const std::vector<std::string> upgrader = Recorded()[1];
    ASSERT_EQ(upgrader.size(), 5u);
    EXPECT_EQ(kestrum::common::Utf8ToWide(upgrader[0]), InProgramFolder(OwnCopy("Updrift")));
    EXPECT_EQ(std::vector<std::string>(upgrader.begin() + 1, upgrader.end()),
              (std::vector<std::string>{"--from", "1.0.0", "--to", "1.2.0"}));
}

TEST_F(NoticeBoxTest, AnUpgraderThatDoesNotStartIsSaidSoAndTheProgramStaysWithItsReporter) {
    ASSERT_NE(Make("NoSuchUpgrader.exe"), nullptr);
    const DWORD reporter = ZuvraKestrum::Util::StartProcess(OwnCopy("Faultpost"), "");
    ASSERT_NE(reporter, 0u);
    box_->SetTitle(L"ForceUpdate");
    box_->SetTips(L"Please update app to new version.");
    box_->SetType(3, L"--from 1.0.0 --to 1.2.0");
    ASSERT_TRUE(ShowLaidOut());
    Click(box_, Find(box_, L"update"));
    EXPECT_EQ(g_quits, 0);
    EXPECT_TRUE(IsWindowVisible(handle_));
    // The reporter was ended for the upgrade, and a fresh one runs for the program that stays.
    const DWORD restarted = FindProcessIdByName(OwnCopy("Faultpost"));
    EXPECT_NE(restarted, kNoProcessId);
    EXPECT_NE(restarted, reporter);
    EXPECT_EQ(Find(box_, L"tipsTxt")->GetText(),
              Chinese() ? L"无法启动升级程序，请稍后重试。"
                        : L"The update could not be started. Please try again later.");
    notice_testing::Repaint(box_);
    EXPECT_TRUE(notice_testing::SavePicture(
        box_, std::wstring(L"notice-update-failed-") + (Chinese() ? L"zh" : L"en") + L".png"));
    // The offer stands: closing a forced one still quits.
    Click(box_, BottomClose(box_));
    EXPECT_EQ(g_quits, 1);
}

TEST_F(NoticeBoxTest, PicturesOfAnErrorAndAnUpgradeOffer) {
    ASSERT_NE(Make(), nullptr);
    const std::wstring language = Chinese() ? L"zh" : L"en";
    struct Shot {
        const wchar_t* name;
        const wchar_t* title;
        const wchar_t* tips;
        int type;
    };
    const Shot shots[] = {
        {L"error", L"Error",
         Chinese() ? L"无法加入房间，密码错误" : L"Room join failed, incorrect password", 1},
        {L"update", L"ForceUpdate",
         Chinese() ? L"版本过旧，请升级到最新版本。" : L"Please update app to new version.", 3},
        {L"long", L"Warning",
         Chinese()
             ? L"无法发起共享，当前房间已经存在其他进行中的屏幕共享。请等待对方结束共享后再试，"
               L"或者联系主持人结束当前的共享。"
             : L"Screen share going already. Wait until the other participant has "
               L"stopped sharing, or ask the host of the room to stop the share, and then "
               L"try again.",
         0},
    };
    for (const Shot& shot : shots) {
        SCOPED_TRACE(kestrum::common::WideToUtf8(shot.name));
        box_->SetTitle(shot.title);
        box_->SetTips(shot.tips);
        box_->SetType(shot.type, L"");
        ASSERT_TRUE(ShowLaidOut());
        notice_testing::Repaint(box_);
        EXPECT_TRUE(notice_testing::SavePicture(
            box_, L"notice-" + std::wstring(shot.name) + L"-" + language + L".png"));
        // The text and the icon are drawn, and the text stays inside its place above the
        // buttons.
        const RECT tips = Find(box_, L"tipsTxt")->GetPos();
        EXPECT_GT(notice_testing::InkIn(box_, tips), 50);
        EXPECT_GT(notice_testing::InkIn(box_, Find(box_, L"icon")->GetPos()), 200);
        EXPECT_LE(tips.bottom, Find(box_, L"buttons")->GetPos().top);
        EXPECT_EQ(
            notice_testing::InkIn(box_, RECT{tips.left, tips.bottom - 4, tips.right, tips.bottom}),
            0);
        const RECT close = BottomClose(box_)->GetPos();
        EXPECT_GT(notice_testing::InkIn(box_, close), 20);
    }
}

}  // namespace
