#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/windows/settings/settings_host.h"
#include "app/windows/skeleton/testing/skin_window_test.h"
#include "app/windows/skeleton/testing/window_picture.h"
#include "kestrum/testing/win_wait.h"
#include "settings_test_host.h"
#include "support/service_library.h"
#include "support/test_backend.h"

// What the settings windows' test programs share: the skin window set-up, the settings host
// over the temporary folder, windows opened as the dialog table opens them and closed at
// TearDown, and the host's journal.
//
// Threads: the test thread, which runs the windows.
class SettingsWindowTest : public window_testing::SkinWindowTest {
protected:
    static constexpr DWORD kDialogStyle = 0x10CF0000;

    void TearDown() override {
        CloseWindows();
        SkinWindowTest::TearDown();
    }

    // Destroys the windows Open made that still exist and runs what that posted.
    void CloseWindows() {
        for (HWND window : opened_) {
            if (IsWindow(window)) DestroyWindow(window);
        }
        opened_.clear();
        kestrum::testing_support::PumpPending();
    }

    // A window of the class as the dialog table opens it, registered as dialog id, after its
    // first paint (layout and "windowinit"); null when it could not be made.
    template <class Window>
    Window* Open(unsigned id) {
        auto* window = new Window(host_);
        if (!window->Create(nullptr, L"settings", kDialogStyle, 0, 0, 0, 360, 500)) return nullptr;
        host_.dialogs[id] = window;
        opened_.push_back(window->GetHWND());
        window->CenterWindow();
        window->ShowWindow(true, true);
        UpdateWindow(window->GetHWND());
        kestrum::testing_support::PumpPending();
        return window;
    }

    // Paints the window afresh and keeps its picture in the build's pictures folder, named
    // "<stem>-en.png" or "<stem>-zh.png" after the window language.
    static void TakePicture(CDuiFrameWindow* window, const std::wstring& stem) {
        EXPECT_TRUE(
            window_testing::SavePicture(window, stem + (g_language ? L"-zh.png" : L"-en.png")));
    }

    // The host's journal, an entry a line.
    std::string Journal() const {
        std::string text;
        for (const std::string& entry : host_.journal) text += entry + "\n";
        return text;
    }
    // How often the journal has the entry.
    int Journaled(const std::string& entry) const {
        return static_cast<int>(std::count(host_.journal.begin(), host_.journal.end(), entry));
    }

    SettingsTestHost host_{folder_.path(), data()};

private:
    std::vector<HWND> opened_;
};

// A dialog of the table that is only an object: the in-meeting window whose existence the
// settings windows ask about, or a settings window that receives the tab state from the one
// that opened it.
class StandInDialog : public CDuiFrameWindow, public ISettingsTabs {
public:
    const wchar_t* GetWindowClassName() const override { return L"UISettingsStandIn"; }
    void Notify(DuiLib::TNotifyUI&) override {}
    void setTabsEnabled(bool enabled) override { tabsEnabled = enabled ? 1 : 0; }
    int tabsEnabled = -1;
};

// A suite of Fixture on the real service library against the local back-end, both made once for
// the suite. SetUp fails the test when either did not start.
template <class Fixture>
class WithLocalService : public Fixture {
public:
    static void SetUpTestSuite() {
        backend_ = new TestBackend;
        if (!backend_->Started()) return;
        library_ = new ServiceLibrary(backend_->BaseUrl(), backend_->BaseUrl(), backend_->Proxies(),
                                      backend_->ProxyPort());
        if (library_->Loaded()) library_->init();
    }
    static void TearDownTestSuite() {
        if (library_ && library_->Loaded()) library_->uninit();
        delete library_;
        delete backend_;
        library_ = nullptr;
        backend_ = nullptr;
    }

protected:
    // The derived SetUp goes on only without a fatal failure here.
    void SetUp() override {
        Fixture::SetUp();
        if (this->HasFatalFailure()) return;
        ASSERT_TRUE(backend_ && backend_->Started()) << "the test back-end did not start";
        ASSERT_TRUE(library_ && library_->Loaded()) << "libVossary.dll did not load";
    }

    static inline TestBackend* backend_ = nullptr;
    static inline ServiceLibrary* library_ = nullptr;
};
