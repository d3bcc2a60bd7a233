#include "ui/base/testing/gdiplus_environment.h"

#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include <gtest/gtest.h>

#include "ui/base/util/module_path.h"

namespace ui {
namespace testing_support {

namespace {

class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(token_); }

 private:
  ULONG_PTR token_ = 0;
};

// gtest owns registered environments.
::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

}  // namespace

std::wstring FixtureFolder() { return kbase::ModuleDirectory() + L"ui_base_fixtures\\"; }

}  // namespace testing_support
}  // namespace ui
