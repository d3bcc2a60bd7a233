#pragma once

#include <windows.h>

#include <string>

#include "app/windows/skeleton/dui_frame_window.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "kestrum/testing/win_wait.h"
#include "locale_expectation.h"
#include "meeting_data_fixture.h"
#include "temp_folder.h"
#include "ui/base/util/module_path.h"
#include "ui/windowing/window_impl/framework_window_test_fixture.h"

namespace window_testing {

// The start that the window tests on the product's skins share: the framework's windows
// (FrameworkWindowTest), the paint managers on this program with the skins copied to
// "..\Resource\skin" beside the test program, meeting data over a temporary folder for the
// windows' host (not installed as g_kestrumData), pictures (avatars) looked up in that folder,
// and the window language of the test's locale (g_language). TearDown puts the language and the
// picture lookup back. Test programs that use it have app/core/test on their include path.
//
// Threads: the test thread, which runs the windows.
class SkinWindowTest : public ui::testing_support::FrameworkWindowTest {
protected:
    void SetUp() override {
        FrameworkWindowTest::SetUp();
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
        DuiLib::CPaintManagerUI::SetResourcePath(
            (kbase::ModuleDirectory() + L"..\\Resource\\skin").c_str());
        running_ = this;
        ZuvraKestrum::Util::SetResourcePathSource(&AvatarFolder);
        g_language = CurrentTestLocale() == TestLocale::Chinese ? 1 : 0;
    }
    void TearDown() override {
        ZuvraKestrum::Util::SetResourcePathSource(nullptr);
        running_ = nullptr;
        g_language = 0;
        FrameworkWindowTest::TearDown();
    }

    CKestrumData& data() { return meeting_.data(); }

    // The control of that name in the window (null when there is none), as Control.
    template <class Control = DuiLib::CControlUI>
    static Control* Find(CDuiFrameWindow* window, const wchar_t* name) {
        return static_cast<Control*>(window->paintManager().FindControl(name));
    }

    // A left click in the middle of the control, as the mouse gives it; Click then runs what
    // the click posted, Press leaves that to the test.
    static void Press(CDuiFrameWindow* window, DuiLib::CControlUI* control) {
        const RECT& pos = control->GetPos();
        const LPARAM at = MAKELPARAM((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
        SendMessageW(window->GetHWND(), WM_MOUSEMOVE, 0, at);
        SendMessageW(window->GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(window->GetHWND(), WM_LBUTTONUP, 0, at);
    }
    static void Press(CDuiFrameWindow* window, const wchar_t* name) {
        Press(window, Find(window, name));
    }
    static void Click(CDuiFrameWindow* window, const wchar_t* name) {
        Press(window, name);
        kestrum::testing_support::PumpPending();
    }

    MeetingDataFixture meeting_{false};
    TempFolder folder_;
    std::wstring avatarFolder_ = folder_.path();

private:
    static std::wstring AvatarFolder() { return running_->avatarFolder_; }
    static inline SkinWindowTest* running_ = nullptr;
};

}  // namespace window_testing
