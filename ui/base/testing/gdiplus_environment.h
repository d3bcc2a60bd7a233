#pragma once

#include <string>

// A test program that compiles gdiplus_environment.cpp has GDI+ started for all its tests.
namespace ui {
namespace testing_support {

// The folder, with its trailing separator, of the image fixtures the build generates beside
// the test programs.
std::wstring FixtureFolder();

}  // namespace testing_support
}  // namespace ui
