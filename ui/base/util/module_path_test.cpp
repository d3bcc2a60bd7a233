#include "ui/base/util/module_path.h"

#include <gtest/gtest.h>

namespace kbase {
namespace {

TEST(ModulePathTest, DirectoryPart) {
  std::wstring directory = L"untouched";
  EXPECT_TRUE(DirectoryPart(L"C:\\app\\bin\\Pelorin.exe", directory));
  EXPECT_EQ(directory, L"C:\\app\\bin\\");
  EXPECT_TRUE(DirectoryPart(L"C:/app/file", directory));
  EXPECT_EQ(directory, L"C:/app/");
  EXPECT_TRUE(DirectoryPart(L"C:\\app\\", directory));
  EXPECT_EQ(directory, L"C:\\app\\");

  directory = L"untouched";
  EXPECT_FALSE(DirectoryPart(L"\\file", directory));  // the first character is never a hit
  EXPECT_FALSE(DirectoryPart(L"file", directory));
  EXPECT_FALSE(DirectoryPart(L"\\", directory));
  EXPECT_FALSE(DirectoryPart(L"", directory));
  EXPECT_EQ(directory, L"untouched");
}

TEST(ModulePathTest, ModuleDirectoryIsTheFolderOfTheRunningProgram) {
  // The framework is linked statically, so its module is this test program.
  const std::wstring program = ModuleFileName(nullptr);
  ASSERT_FALSE(program.empty());
  const std::wstring directory = ModuleDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), L'\\');
  EXPECT_EQ(program.compare(0, directory.size(), directory), 0);
  EXPECT_EQ(program.find(L'\\', directory.size()), std::wstring::npos);
}

}  // namespace
}  // namespace kbase
