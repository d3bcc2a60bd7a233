// The set-up of the window tests: the framework, the meeting data over the program folder's
// configuration, and the fake parts with their dialog table and its join window open.
#include <gtest/gtest.h>

#include "app/windows/join/dui_login.h"
#include "fake_join_parts.h"
#include "join_test_support.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"

namespace {

class WindowTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        join_testing::StartFramework();
        CKestrumData& data = join_testing::MeetingData();
        // Signed in before: the bridge asks for the configuration only.
        data.token = "tok-window-test";
        data.uid = "30001";
        data.nickname = "Alice";
        data.portraitId = "";
        data.appVersion = "1.2.0";
        data.portraitPath = CKestrumConfig::kDefaultPortraitPath;
        CKestrumConfig& config = *CSingleton<CKestrumConfig>::getInstance();
        config.setAppVersion(data.appVersion);
        config.setPortraitPath(data.portraitPath);
        config.setUpdateOption("");
        config.setUpdateVersion("");
        join_testing::UseParts(join_testing::FakeParts());
        join_testing::Dialogs().openDialog(ProgramDialogs::kLoginDlg);
    }
};

// gtest owns registered environments.
::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new WindowTestEnvironment);

}  // namespace
