#include "ui/windowing/markup/markup_builder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "ui/base/resource/resource_hub.h"
#include "ui/base/util/text_util.h"
#include "ui/controls/box/box.h"
#include "ui/controls/box/child_box.h"
#include "ui/controls/button/check_box.h"
#include "ui/controls/button/option.h"
#include "ui/controls/core/control.h"
#include "ui/controls/layout/h_layout.h"
#include "ui/controls/layout/v_layout.h"
#include "ui/controls/list/list_box.h"
#include "ui/controls/list/list_container_element.h"
#include "ui/controls/list/tree_node.h"
#include "ui/controls/list/tree_view.h"
#include "ui/controls/progress/progress.h"
#include "ui/controls/progress/slider.h"
#include "ui/controls/richedit/rich_edit.h"
#include "ui/controls/scroll/scroll_bar.h"
#include "ui/controls/tab/tab_box.h"
#include "ui/controls/tab/tile_box.h"
#include "ui/controls/tab/tile_layout.h"
#include "ui/controls/testing/nested_markup.h"
#include "ui/controls/virtuallist/virtual_layout.h"
#include "ui/controls/virtuallist/virtual_list_box.h"
#include "ui/windowing/combo/combo.h"
#include "ui/windowing/window/window.h"

namespace ui {
namespace {

// A resource root in the temp folder; files written there are found by relative name.
class MarkupBuilderTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"markup_test_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(root_.c_str(), nullptr);
    ResourceHub::SetResourcePath(root_);
  }
  void TearDown() override {
    for (const std::wstring& file : files_) DeleteFileW((root_ + file).c_str());
    RemoveDirectoryW(root_.c_str());
  }
  void WriteFile(const std::wstring& name, const std::wstring& markup) {
    std::string bytes;
    TextUtil::WideToUtf8(markup, bytes);
    FILE* file = _wfopen((root_ + name).c_str(), L"wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    files_.push_back(name);
  }
  static std::unique_ptr<Box> BuildBox(const std::wstring& markup) {
    MarkupBuilder builder;
    return std::unique_ptr<Box>(
        dynamic_cast<Box*>(builder.Load(markup, nullptr, nullptr, nullptr)));
  }

  std::wstring root_;
  std::vector<std::wstring> files_;
};

TEST_F(MarkupBuilderTest, GlobalDefinesFontsColoursAndClassesInDocumentOrder) {
  const int fonts_before = ResourceHub::FontCount();
  Window window;
  MarkupBuilder builder;
  Control* built = builder.Load(
      L"<Global defaultfontcolor=\"ink\">"
      L"<Font name=\"Arial\" size=\"14\" bold=\"true\"/>"
      L"<Font size=\"9\"/>"
      L"<Font name=\"Tahoma\" italic=\"yes\"/>"
      L"<TextColor name=\"ink\" value=\"#FF112233\"/>"
      L"<Class name=\"wide\" value=\"width=&quot;50&quot;\"/>"
      L"<Image name=\"ignored\"/>"
      L"</Global>",
      nullptr, &window, nullptr);

  EXPECT_EQ(built, nullptr);
  ASSERT_EQ(ResourceHub::FontCount(), fonts_before + 2);  // the nameless font takes no id
  EXPECT_EQ(ResourceHub::FontInfo(fonts_before)->size, 14);
  EXPECT_TRUE(ResourceHub::FontInfo(fonts_before)->bold);
  EXPECT_EQ(ResourceHub::FontInfo(fonts_before + 1)->size, 12);
  EXPECT_FALSE(ResourceHub::FontInfo(fonts_before + 1)->italic);
  EXPECT_EQ(ResourceHub::ColorValue(L"ink"), 0xFF112233u);
  EXPECT_EQ(ResourceHub::ClassAttributes(L"wide"), L"width=\"50\"");
  EXPECT_EQ(ResourceHub::DefaultTextColor(), L"ink");
  ResourceHub::SetDefaultTextColor(L"textdefaultcolor");
}

TEST_F(MarkupBuilderTest, GlobalDefinitionsNeedAWindow) {
  MarkupBuilder builder;
  builder.Load(L"<Global><Class name=\"windowless\" value=\"width=&quot;1&quot;\"/></Global>",
               nullptr, nullptr, nullptr);
  EXPECT_EQ(ResourceHub::ClassAttributes(L"windowless"), L"");
}

TEST_F(MarkupBuilderTest, WindowClassesRegisterEvenBeforeTheWindowHasAHandle) {
  Window window;
  MarkupBuilder builder;
  std::unique_ptr<Control> root(builder.Load(
      L"<Window size=\"400,300\"><Class name=\"tall\" value=\"height=&quot;70&quot;\"/>"
      L"<Box /></Window>",
      nullptr, &window, nullptr));
  EXPECT_NE(root, nullptr);
  EXPECT_EQ(window.ClassAttributes(L"tall"), L"height=\"70\"");
  EXPECT_EQ(window.GetInitSize().cx, 0);  // attributes wait for the handle
}

TEST_F(MarkupBuilderTest, ClassAppliesWhereItStandsAmongTheAttributes) {
  ResourceHub::AddClass(L"w10", L"width=\"10\"");
  std::unique_ptr<Box> box = BuildBox(
      L"<Window><Box><Control name=\"before\" width=\"20\" class=\"w10\"/>"
      L"<Control name=\"after\" class=\"w10\" width=\"20\"/></Box></Window>");
  ASSERT_TRUE(box);
  ASSERT_EQ(box->GetCount(), 2);
  EXPECT_EQ(box->GetItemAt(0)->GetFixedWidth(), 10);
  EXPECT_EQ(box->GetItemAt(1)->GetFixedWidth(), 20);
}

TEST_F(MarkupBuilderTest, IncludeBuildsTheIncludedChildrenCountTimes) {
  WriteFile(L"item.xml", L"<Window><Control /><Control /></Window>");
  struct Case {
    const wchar_t* include;
    int children;
  } cases[] = {
      {L"<Include source=\"item.xml\"/>", 2},
      {L"<Include source=\"item.xml\" count=\"3\"/>", 6},
      {L"<Include source=\"item.xml\" count=\"0\"/>", 0},
      {L"<Include count=\"2\"/>", 0},
      {L"<Include source=\"missing.xml\"/>", 0},
  };
  for (const Case& c : cases) {
    std::unique_ptr<Box> box =
        BuildBox(std::wstring(L"<Window><Box>") + c.include + L"<Control /></Box></Window>");
    ASSERT_TRUE(box) << c.include;
    EXPECT_EQ(box->GetCount(), c.children + 1) << c.include;
  }
}

TEST_F(MarkupBuilderTest, AnIncludeOfItselfStopsAtTheDepthCap) {
  WriteFile(L"self.xml", L"<Window><Control /><Include source=\"self.xml\"/></Window>");
  std::unique_ptr<Box> box =
      BuildBox(L"<Window><Box><Include source=\"self.xml\"/></Box></Window>");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->GetCount(), MarkupBuilder::kMostIncludeDepth);
}

// Runs work on a thread of its own with a stack of stack_bytes; false when the thread did not
// run. An overflow ends the whole test program.
bool RunWithStack(std::size_t stack_bytes, const std::function<void()>& work) {
  struct Thread {
    static DWORD WINAPI Run(void* work) {
      (*static_cast<const std::function<void()>*>(work))();
      return 0;
    }
  };
  HANDLE thread =
      CreateThread(nullptr, stack_bytes, &Thread::Run, const_cast<std::function<void()>*>(&work),
                   STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) return false;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return true;
}

TEST_F(MarkupBuilderTest, ControlsNestUpToTheDepthLimit) {
  std::unique_ptr<Box> box = BuildBox(NestedBoxes(MarkupBuilder::kMostControlDepth));
  ASSERT_TRUE(box);
  EXPECT_EQ(DepthOf(box.get()), MarkupBuilder::kMostControlDepth);

  // Deeper than the builder goes, though the reader still takes it: nothing is built.
  static_assert(MarkupBuilder::kMostControlDepth < XmlDoc::kMostElementDepth - 1,
                "the builder's limit is the tighter one");
  MarkupBuilder builder;
  EXPECT_EQ(
      builder.Load(NestedBoxes(MarkupBuilder::kMostControlDepth + 1), nullptr, nullptr, nullptr),
      nullptr);
  EXPECT_STREQ(builder.ErrorMessage(), L"Markup nested too deeply");
  // The next load starts clean.
  std::unique_ptr<Control> next(builder.Load(NestedBoxes(1), nullptr, nullptr, nullptr));
  EXPECT_TRUE(next);
  EXPECT_STREQ(builder.ErrorMessage(), L"");
}

TEST_F(MarkupBuilderTest, AnIncludeCountsFromTheBoxItFills) {
  // The included file alone is within the limit; where it is included decides.
  WriteFile(L"deep.xml", NestedBoxes(MarkupBuilder::kMostControlDepth - 2));
  std::unique_ptr<Box> fits =
      BuildBox(L"<Window><Box><Box><Include source=\"deep.xml\"/></Box></Box></Window>");
  ASSERT_TRUE(fits);
  EXPECT_EQ(DepthOf(fits.get()), MarkupBuilder::kMostControlDepth);

  std::unique_ptr<Box> too_deep = BuildBox(
      L"<Window><Box><Box><Box><Include source=\"deep.xml\"/><Control /></Box></Box></Box>"
      L"</Window>");
  ASSERT_TRUE(too_deep);
  // The include added nothing and the pass went on to the control after it.
  EXPECT_EQ(DepthOf(too_deep.get()), 4);
}

TEST_F(MarkupBuilderTest, HostileNestingEndsWithAnErrorInsteadOfOverflowingTheStack) {
  // 50,000 nested elements, about 150 KB of markup.
  std::wstring markup;
  for (int i = 0; i < 50000; ++i) markup += L"<a>";
  MarkupBuilder builder;
  EXPECT_EQ(builder.Load(markup, nullptr, nullptr, nullptr), nullptr);
  EXPECT_STREQ(builder.ErrorMessage(), L"Elements nested too deeply");
}

TEST_F(MarkupBuilderTest, TheDeepestMarkupBuildsOnAQuarterOfTheDefaultStack) {
  // Windows gives a thread 1 MB of stack unless told otherwise; the limits leave most of it to
  // whatever is on the stack when a window loads its skin.
  constexpr std::size_t kQuarterOfTheDefaultStack = 256 * 1024;
  std::wstring reader_deepest;
  for (int i = 0; i < XmlDoc::kMostElementDepth; ++i) reader_deepest += L"<Box>";
  for (int i = 0; i < XmlDoc::kMostElementDepth; ++i) reader_deepest += L"</Box>";
  int depth = 0;
  bool read = false;
  ASSERT_TRUE(RunWithStack(kQuarterOfTheDefaultStack, [&] {
    XmlDoc document;
    read = document.LoadFromString(reader_deepest.c_str());
    MarkupBuilder builder;
    std::unique_ptr<Control> built(
        builder.Load(NestedBoxes(MarkupBuilder::kMostControlDepth - 1,
                                 L"<Control width=\"1\" height=\"2\" name=\"leaf\"/>"),
                     nullptr, nullptr, nullptr));
    depth = DepthOf(built.get());
  }));
  EXPECT_TRUE(read);
  EXPECT_EQ(depth, MarkupBuilder::kMostControlDepth);
}

// A class whose attribute list names the class again, directly or through another class.
TEST_F(MarkupBuilderTest, ClassesThatNameThemselvesAreNotAppliedAgainFromWithin) {
  ResourceHub::AddClass(L"selfish", L"class=\"selfish\" width=\"5\"");
  ResourceHub::AddClass(L"ping", L"height=\"6\" class=\"pong\"");
  ResourceHub::AddClass(L"pong", L"class=\"ping\" width=\"7\"");
  std::unique_ptr<Box> box = BuildBox(
      L"<Window><Box><Control class=\"selfish\"/><Control class=\"ping\" height=\"8\"/>"
      L"</Box></Window>");
  ASSERT_TRUE(box);
  ASSERT_EQ(box->GetCount(), 2);
  EXPECT_EQ(box->GetItemAt(0)->GetFixedWidth(), 5);
  EXPECT_EQ(box->GetItemAt(1)->GetFixedWidth(), 7);
  EXPECT_EQ(box->GetItemAt(1)->GetFixedHeight(), 8);  // written after the class, still wins
}

TEST_F(MarkupBuilderTest, ClassesNestedWithinTheCapApplyInFull) {
  std::wstring previous;
  for (int i = 0; i < Control::kMostClassExpansions; ++i) {
    const std::wstring name = L"layer" + std::to_wstring(i);
    std::wstring value = L"width=\"" + std::to_wstring(i + 1) + L"\"";
    if (!previous.empty()) value += L" class=\"" + previous + L"\"";
    ResourceHub::AddClass(name, value);
    previous = name;
  }
  std::unique_ptr<Box> box =
      BuildBox(L"<Window><Box><Control class=\"" + previous + L"\"/></Box></Window>");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->GetItemAt(0)->GetFixedWidth(), 1);  // the innermost class is applied last
}

TEST_F(MarkupBuilderTest, UnknownElementsAskTheCallbackAndAreOtherwiseSkippedWithTheirSubtree) {
  int asked = 0;
  CreateControlCallback callback = [&asked](const std::wstring& name) -> Control* {
    ++asked;
    return name == L"Custom" ? new Control : nullptr;
  };
  MarkupBuilder builder;
  std::unique_ptr<Box> box(dynamic_cast<Box*>(builder.Load(
      L"<Window><Box><Custom name=\"c\"/><Mystery><Control /></Mystery></Box></Window>", callback,
      nullptr, nullptr)));
  ASSERT_TRUE(box);
  EXPECT_EQ(asked, 2);
  ASSERT_EQ(box->GetCount(), 1);
  EXPECT_EQ(box->GetItemAt(0)->GetName(), L"c");
}

TEST_F(MarkupBuilderTest, MarkupThatDoesNotLoadBuildsNothing) {
  MarkupBuilder builder;
  EXPECT_EQ(builder.Load(L"no_such_file.xml", nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(builder.Load(L"<Window><Box></Window", nullptr, nullptr, nullptr), nullptr);
}

TEST_F(MarkupBuilderTest, ChildrenUnderAControlThatIsNoBoxAreDropped) {
  std::unique_ptr<Box> box =
      BuildBox(L"<Window><Box><Control name=\"leaf\"><Control /></Control></Box></Window>");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->GetCount(), 1);
}

TEST_F(MarkupBuilderTest, EventAppliesTheAttributeListToTheReceiver) {
  std::unique_ptr<Box> box = BuildBox(
      L"<Window><Box><Control name=\"me\">"
      L"<Event type=\"buttondown select\" receiver=\"./me\" "
      L"applyattribute=\"width=&quot;33&quot;\"/>"
      L"</Control></Box></Window>");
  ASSERT_TRUE(box);
  Control* me = box->GetItemAt(0);
  me->SendEvent(kEventSelect);
  EXPECT_EQ(me->GetFixedWidth(), 33);
}

TEST_F(MarkupBuilderTest, BubbledEventAttachesEveryTypeForEveryReceiver) {
  std::unique_ptr<Box> box = BuildBox(
      L"<Window><Box name=\"outer\">"
      L"<BubbledEvent type=\"buttondown select\" receiver=\"./a ./b\" "
      L"applyattribute=\"height=&quot;7&quot;\"/>"
      L"<Control name=\"a\"/><Control name=\"b\"/><Control name=\"source\"/>"
      L"</Box></Window>");
  ASSERT_TRUE(box);
  ASSERT_EQ(box->GetCount(), 3);
  // Children learn their parent when the tree is attached to a window.
  Window window;
  window.InstallRoot(box.get());
  box->GetItemAt(2)->SendEvent(kEventSelect);
  EXPECT_EQ(box->GetItemAt(0)->GetFixedHeight(), 7);
  EXPECT_EQ(box->GetItemAt(1)->GetFixedHeight(), 7);
  EXPECT_NE(box->GetItemAt(2)->GetFixedHeight(), 7);
  box.release();  // the window owns it now
}

TEST_F(MarkupBuilderTest, BoxMarkupIsParsedOnceAndBuildsANewTreeEachTime) {
  WriteFile(L"child.xml", L"<Window><VBox><Control /></VBox></Window>");
  std::unique_ptr<Control> first(ResourceHub::BuildBoxFromMarkup(L"child.xml", nullptr));
  ASSERT_TRUE(first);
  std::shared_ptr<MarkupBuilder> cached = ResourceHub::CachedBuilder(L"child.xml");
  ASSERT_TRUE(cached);
  DeleteFileW((root_ + L"child.xml").c_str());  // a second parse would now fail
  std::unique_ptr<Control> second(ResourceHub::BuildBoxFromMarkup(L"child.xml", nullptr));
  ASSERT_TRUE(second);
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(ResourceHub::CachedBuilder(L"child.xml"), cached);
  EXPECT_EQ(ResourceHub::BuildBoxFromMarkup(L"absent.xml", nullptr), nullptr);
  EXPECT_FALSE(ResourceHub::CachedBuilder(L"absent.xml"));
}

TEST_F(MarkupBuilderTest, StartBuildsTheThemesGlobalMarkup) {
  CreateDirectoryW((root_ + L"theme").c_str(), nullptr);
  WriteFile(L"theme\\global.xml",
            L"<Global><Class name=\"from_start\" value=\"width=&quot;5&quot;\"/></Global>");
  ResourceHub::Start(root_, nullptr, false, L"theme", L"lang");
  EXPECT_EQ(ResourceHub::ClassAttributes(L"from_start"), L"width=\"5\"");
  ResourceHub::Stop();
  ResourceHub::SetResourcePath(root_);
  DeleteFileW((root_ + L"theme\\global.xml").c_str());
  RemoveDirectoryW((root_ + L"theme").c_str());
}

}  // namespace
}  // namespace ui

namespace ui {
namespace {

template <class T>
bool IsA(const Control* control) {
  return dynamic_cast<const T*>(control) != nullptr;
}

template <class L>
bool BoxWith(const Control* control) {
  const auto* box = dynamic_cast<const Box*>(control);
  return box && dynamic_cast<const L*>(box->GetLayout()) != nullptr;
}

// A wrong row here silently turns an element of every skin that uses it into nothing.
TEST(MarkupClassTableTest, EveryBuiltInNameMakesItsClassAndNamesAreCaseSensitive) {
  struct Row {
    const wchar_t* name;
    bool (*made)(const Control*);
  };
  const Row rows[] = {
      {L"Control", IsA<Control>},
      {L"Label", IsA<Label>},
      {L"Button", IsA<Button>},
      {L"CheckBox", IsA<CheckBox>},
      {L"Option", IsA<Option>},
      {L"Box", BoxWith<Layout>},
      {L"HBox", BoxWith<HLayout>},
      {L"VBox", BoxWith<VLayout>},
      {L"TileBox", BoxWith<TileLayout>},
      {L"ChildBox", IsA<ChildBox>},
      {L"LabelBox", IsA<LabelBox>},
      {L"ButtonBox", IsA<ButtonBox>},
      {L"CheckBoxBox", IsA<CheckBoxBox>},
      {L"OptionBox", IsA<OptionBox>},
      {L"TabBox", IsA<TabBox>},
      {L"ListBox", IsA<ListBox>},
      {L"HListBox", BoxWith<HLayout>},
      {L"VListBox", BoxWith<VLayout>},
      {L"TileListBox", BoxWith<TileLayout>},
      {L"VirtualListBox", BoxWith<VirtualLayout>},
      {L"ListContainerElement", IsA<ListContainerElement>},
      {L"TreeView", IsA<TreeView>},
      {L"TreeNode", IsA<TreeNode>},
      {L"Combo", IsA<Combo>},
      {L"ScrollBar", IsA<ScrollBar>},
      {L"Progress", IsA<Progress>},
      {L"Slider", IsA<Slider>},
      {L"RichEdit", IsA<RichEdit>},
  };
  for (const Row& row : rows) {
    std::unique_ptr<Control> control(MarkupBuilder::CreateControl(row.name));
    std::string name;
    TextUtil::WideToUtf8(row.name, name);
    EXPECT_TRUE(control && row.made(control.get())) << name;
  }
  EXPECT_EQ(MarkupBuilder::CreateControl(L"listbox"), nullptr);
  EXPECT_EQ(MarkupBuilder::CreateControl(L"Window"), nullptr);
}

}  // namespace
}  // namespace ui
