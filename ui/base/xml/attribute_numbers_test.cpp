#include "ui/base/xml/attribute_numbers.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(AttributeNumbersTest, OneSeparatorCharacterAfterEachNumber) {
  RECT rect;
  ReadRect(L"1,2,3,4", rect);
  EXPECT_EQ(rect.left, 1);
  EXPECT_EQ(rect.bottom, 4);
  ReadRect(L"-5 6;7|8", rect);
  EXPECT_EQ(rect.left, -5);
  EXPECT_EQ(rect.top, 6);
  EXPECT_EQ(rect.right, 7);
  EXPECT_EQ(rect.bottom, 8);
}

TEST(AttributeNumbersTest, MissingNumbersAreZeroAndNothingIsReadPastTheEnd) {
  // The value is followed in memory by digits that must not be read.
  const wchar_t memory[] =
      L"10,20\0"
      L"99,99";
  RECT rect = {-1, -1, -1, -1};
  ReadRect(memory, rect);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.right, 0);
  EXPECT_EQ(rect.bottom, 0);

  ReadRect(L"", rect);
  EXPECT_EQ(rect.left, 0);
  long values[2] = {7, 7};
  ReadNumbers(nullptr, values, 2);
  EXPECT_EQ(values[1], 0);
}

}  // namespace
}  // namespace ui
