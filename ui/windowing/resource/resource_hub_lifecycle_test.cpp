#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "ui/base/lang/lang_table.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/windowing/window/window.h"

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
  void Start() { ResourceHub::Start(root_, nullptr, false, L"themes\\default", L"lang\\zh_CN"); }

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

TEST_F(ResourceHubLifecycleTest, AStopWhileAWindowExistsKeepsWhatItDrawsWithUntilTheWindowGoes) {
  Start();
  HFONT font = ResourceHub::AddFont(L"Arial", 12, false, false, false);
  ASSERT_NE(font, nullptr);
  const FontRecord* record = ResourceHub::FontInfo(ResourceHub::FontCount() - 1);
  ASSERT_NE(record, nullptr);
  ResourceHub::AddTextColor(L"drawn", L"#FF405060");
  auto window = std::make_unique<Window>();
  std::unique_ptr<IRenderContext> context = ResourceHub::MakeRenderContext();
  ASSERT_TRUE(context);

  ResourceHub::Stop();
  EXPECT_EQ(ResourceHub::FontCount(), 0);  // off the list at once
  EXPECT_FALSE(ResourceHub::MakeRenderContext());
  LOGFONTW log = {};
  EXPECT_NE(GetObjectW(font, sizeof(log), &log), 0) << "the font went under a live window";
  EXPECT_EQ(record->face, L"Arial");
  ASSERT_TRUE(context->Resize(4, 4));
  context->Clear();
  context->DrawColor(RECT{0, 0, 4, 4}, L"drawn");
  EXPECT_EQ(static_cast<DWORD*>(context->GetBits())[0], 0xFF405060u);

  context.reset();
  window.reset();
  EXPECT_EQ(GetObjectW(font, sizeof(log), &log), 0) << "the last window took nothing along";
}

TEST_F(ResourceHubLifecycleTest, AStartBeforeTheLastWindowGoesKeepsTheHubRunning) {
  Start();
  auto window = std::make_unique<Window>();
  ResourceHub::Stop();
  Start();
  window.reset();
  std::unique_ptr<IRenderContext> context = ResourceHub::MakeRenderContext();
  ASSERT_TRUE(context);
  ASSERT_TRUE(context->Resize(4, 4));
  context->Clear();
  context->DrawColor(RECT{0, 0, 4, 4}, 0xFF102030);
  EXPECT_EQ(static_cast<DWORD*>(context->GetBits())[0], 0xFF102030u);
}

// The program's second UI thread reads the hub while the first (re)starts it.
TEST_F(ResourceHubLifecycleTest, AnotherThreadReadsThePathTextsAndFactoryWholeWhileStartRuns) {
  Start();
  const std::wstring path = ResourceHub::ResourcePath();
  const std::wstring title = LangTable::Instance().Lookup(L"title");
  std::atomic<bool> done{false};
  std::atomic<int> torn_paths{0};
  std::atomic<int> missing_texts{0};
  std::atomic<int> contexts{0};
  std::atomic<int> rounds{0};
  std::thread reader([&] {
    while (!done) {
      if (ResourceHub::ResourcePath() != path) ++torn_paths;
      if (LangTable::Instance().Lookup(L"title") != title) ++missing_texts;
      if (ResourceHub::MakeRenderContext()) ++contexts;
      ++rounds;
    }
  });
  // A busy machine may not run the reader at all during a fixed number of
  // starts; keep starting until both sides have had their turns.
  for (int i = 0; i < 50 || rounds < 20; ++i) Start();
  done = true;
  reader.join();
  EXPECT_EQ(torn_paths, 0);
  EXPECT_EQ(missing_texts, 0);
  EXPECT_GT(contexts, 0);
}

}  // namespace
}  // namespace ui
