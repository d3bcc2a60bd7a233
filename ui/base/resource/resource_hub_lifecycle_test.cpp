#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ui/base/lang/lang_table.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/controls/render/render_context.h"

namespace ui {
namespace {

// A resource root in the temp folder with a language file under lang\zh_CN.
class ResourceHubLifecycleTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"hub_test_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    for (const wchar_t* folder : {L"", L"lang", L"lang\\zh_CN"}) {
      CreateDirectoryW((root_ + folder).c_str(), nullptr);
    }
    strings_ = root_ + L"lang\\zh_CN\\strings.ini";
    FILE* file = _wfopen(strings_.c_str(), L"wb");
    fputs("title=\xE6\x8F\x90\xE7\xA4\xBA\n", file);
    fclose(file);
  }
  void TearDown() override {
    ResourceHub::Stop();
    DeleteFileW(strings_.c_str());
    for (const wchar_t* folder : {L"lang\\zh_CN", L"lang", L""}) {
      RemoveDirectoryW((root_ + folder).c_str());
    }
  }
  void Start() {
    ResourceHub::Start(root_, nullptr, false, L"themes\\default", L"lang\\zh_CN");
  }

  std::wstring root_;
  std::wstring strings_;
};

TEST_F(ResourceHubLifecycleTest, StartSetsThePathsAndLoadsTheLanguage) {
  Start();
  EXPECT_EQ(ResourceHub::ResourcePath(), root_ + L"themes\\default\\");
  EXPECT_EQ(LangTable::Instance().Lookup(L"title"), L"\u63d0\u793a");
  EXPECT_FALSE(ResourceHub::CreateControl());

  std::unique_ptr<IRenderContext> context = ResourceHub::MakeRenderContext();
  ASSERT_TRUE(context);
  EXPECT_TRUE(context->Resize(8, 8));
}

TEST_F(ResourceHubLifecycleTest, StopReleasesFontsAndFactoryAndMayBeRepeated) {
  Start();
  ASSERT_NE(ResourceHub::AddFont(L"Arial", 12, false, false, false), nullptr);
  ResourceHub::AddTextColor(L"kept", L"#FF102030");

  ResourceHub::Stop();
  EXPECT_EQ(ResourceHub::FontCount(), 0);
  EXPECT_EQ(ResourceHub::FontHandle(0), nullptr);
  EXPECT_FALSE(ResourceHub::MakeRenderContext());
  EXPECT_EQ(ResourceHub::ColorValue(L"kept"), 0xFF102030u);  // colours stay

  ResourceHub::Stop();  // finds nothing to release and leaves GDI+ alone
  EXPECT_FALSE(ResourceHub::MakeRenderContext());

  // A later start works from scratch, GDI+ included.
  Start();
  std::unique_ptr<IRenderContext> context = ResourceHub::MakeRenderContext();
  ASSERT_TRUE(context);
  ASSERT_TRUE(context->Resize(4, 4));
  context->Clear();
  context->DrawColor(RECT{0, 0, 4, 4}, L"kept");
  EXPECT_EQ(static_cast<DWORD*>(context->GetBits())[0], 0xFF102030u);
}

}  // namespace
}  // namespace ui
