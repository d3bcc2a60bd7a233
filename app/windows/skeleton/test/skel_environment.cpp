#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "duilib/paint_manager_ui.h"
#include "ui/base/resource/resource_hub.h"

namespace {

// The framework's resources for the whole test program, on the test thread that runs every
// window; skins come from "skel-skin" beside the program.
class SkeletonEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
        const std::wstring folder = DuiLib::CPaintManagerUI::GetInstancePath().GetData();
        ui::ResourceHub::Start(folder, ui::CreateControlCallback(), false, L"", L"");
        DuiLib::CPaintManagerUI::SetResourcePath((folder + L"skel-skin").c_str());
    }
    void TearDown() override { ui::ResourceHub::Stop(); }
};

// gtest owns registered environments.
::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SkeletonEnvironment);

}  // namespace
