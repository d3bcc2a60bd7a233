#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "duilib/paint_manager_ui.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "ui/base/resource/resource_hub.h"

namespace {

// The program's own resources, copied to "..\Resource" beside the test programs as in the
// product, on the test thread that runs every window; the language follows the locale the test
// runs in, as the configuration's default does.
class NoticeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
        const std::wstring folder = DuiLib::CPaintManagerUI::GetInstancePath().GetData();
        ui::ResourceHub::Start(folder + L"..\\Resource\\", ui::CreateControlCallback(), false,
                               L"themes\\default", L"lang\\zh_CN");
        DuiLib::CPaintManagerUI::SetResourcePath((folder + L"..\\Resource\\skin").c_str());
        g_language = CKestrumConfig::UserLanguage();
    }
    void TearDown() override { ui::ResourceHub::Stop(); }
};

// gtest owns registered environments.
::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new NoticeEnvironment);

}  // namespace
