#include "ui/base/image/image_attributes.h"

#include <gtest/gtest.h>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/image/image_ref.h"

namespace ui {
namespace {

void ExpectRect(const RECT& rect, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(rect.left, left);
  EXPECT_EQ(rect.top, top);
  EXPECT_EQ(rect.right, right);
  EXPECT_EQ(rect.bottom, bottom);
}

class ImageSpecTest : public testing::Test {
 protected:
  ~ImageSpecTest() override { DisplayScale::Instance().OverrideForTesting(100, false); }
};

TEST_F(ImageSpecTest, ResetValues) {
  ImageSpec spec;
  EXPECT_TRUE(spec.file_name.empty());
  ExpectRect(spec.dest, -1, -1, -1, -1);
  ExpectRect(spec.source, -1, -1, -1, -1);
  ExpectRect(spec.corner, 0, 0, 0, 0);
  EXPECT_EQ(spec.fade, 255);
  EXPECT_FALSE(spec.xtiled || spec.ytiled);
  EXPECT_EQ(spec.play_count, -1);
}

TEST_F(ImageSpecTest, ReadsEveryKey) {
  ImageSpec spec;
  spec.Parse(
      L"file='a.png' dest='1,2,3,4' source='5,6,7,8' corner='30,30,30,30' fade='200' "
      L"xtiled='true' ytiled='TRUE' playcount='3' unknown='x'");
  EXPECT_EQ(spec.file_name, L"a.png");
  ExpectRect(spec.dest, 1, 2, 3, 4);
  ExpectRect(spec.source, 5, 6, 7, 8);
  ExpectRect(spec.corner, 30, 30, 30, 30);
  EXPECT_EQ(spec.fade, 200);
  EXPECT_TRUE(spec.xtiled);
  EXPECT_FALSE(spec.ytiled);  // only exactly "true"
  EXPECT_EQ(spec.play_count, 3);

  spec.Parse(L"res='b.png' fade='300' file=''");
  EXPECT_EQ(spec.file_name, L"b.png");  // an empty value skips its pair
  EXPECT_EQ(spec.fade, 44);             // 300 modulo 256
}

TEST_F(ImageSpecTest, MalformedPairsEndTheParseButKeepEarlierPairs) {
  const struct {
    const wchar_t* text;
    int fade;
    bool xtiled;
  } cases[] = {
      {L"fade='10' xtiled=true", 10, false},        // value without quotes
      {L"fade='10' xtiled=\"true\"", 10, false},    // other quotes
      {L"fade='10',xtiled='true'", 10, false},      // comma between pairs
      {L"fade='10'\txtiled='true'", 10, false},     // tab between pairs
      {L"fade='10'  xtiled='true'", 10, true},      // two blanks work like one
      {L"  fade = '10' xtiled='true' ", 10, true},  // blanks around "=" and at both ends
      {L"fade='10' xtiled='true", 10, false},       // unterminated value
  };
  for (const auto& c : cases) {
    ImageSpec spec;
    spec.Parse(c.text);
    EXPECT_EQ(spec.fade, c.fade) << c.text;
    EXPECT_EQ(spec.xtiled, c.xtiled) << c.text;
  }
}

TEST_F(ImageSpecTest, DestIsScaledUnlessDestScaleFalseComesFirst) {
  DisplayScale::Instance().OverrideForTesting(150, true);
  ImageSpec spec;
  spec.Parse(L"destscale='false' dest='2,2,4,4' source='2,2,4,4' corner='2,2,2,2'");
  ExpectRect(spec.dest, 2, 2, 4, 4);
  ExpectRect(spec.source, 2, 2, 4, 4);
  ExpectRect(spec.corner, 2, 2, 2, 2);
  spec.Parse(L"dest='2,2,4,4' destscale='false'");
  ExpectRect(spec.dest, 3, 3, 6, 6);
  spec.Parse(L"dest='2,2'");  // missing numbers are 0
  ExpectRect(spec.dest, 3, 3, 0, 0);
}

TEST_F(ImageSpecTest, SpecTextWithoutKeysIsAFileName) {
  ImageRef ref;
  ref.SetSpecText(L"..\\public\\bk.png");
  EXPECT_EQ(ref.spec.file_name, L"..\\public\\bk.png");
  EXPECT_EQ(ref.spec.spec_text, L"..\\public\\bk.png");

  ref.SetSpecText(L"file='../public/bk/bk_shadow.png' corner='30,30,30,30'");
  EXPECT_EQ(ref.spec.file_name, L"../public/bk/bk_shadow.png");
  ExpectRect(ref.spec.corner, 30, 30, 30, 30);

  // A new text starts over: nothing of the previous one stays.
  ref.frame_index = 3;
  ref.loop_count = 2;
  ref.SetSpecText(L"file='c.png'");
  ExpectRect(ref.spec.corner, 0, 0, 0, 0);
  EXPECT_EQ(ref.frame_index, 0);
  EXPECT_EQ(ref.loop_count, 0);
}

}  // namespace
}  // namespace ui
