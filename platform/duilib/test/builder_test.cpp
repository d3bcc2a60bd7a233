// The dialog builder over the framework's markup, and what the built window draws.
#include <string>

#include "src/event_translation.h"
#include "src/markup_names.h"
#include "test/layer_test_window.h"
#include "ui/base/render/render_context.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/windowing/window/window.h"

namespace DuiLib {
namespace testing_support {
namespace {

bool IsButton(const std::wstring& name) { return name == L"Button"; }

TEST(MarkupNamesTest, PrefixesKnownElementsOnlyOutsideComments) {
  const std::wstring text =
      L"<?xml version=\"1.0\"?><!-- <Button> --><Window><Button text=\"a>b\">"
      L"<Buttons/></Button><Button/></Window>";
  EXPECT_EQ(markup_names::PrefixElementNames(text, &IsButton),
            L"<?xml version=\"1.0\"?><!-- <Button> --><Window><DuiLayer:Button text=\"a>b\">"
            L"<Buttons/></DuiLayer:Button><DuiLayer:Button/></Window>");
  EXPECT_EQ(markup_names::SkinName(L"DuiLayer:Button"), L"Button");
  EXPECT_EQ(markup_names::SkinName(L"Button"), L"");
}

TEST(EventTranslationTest, WheelKeepsDirectionAndDeltaBothWays) {
  ui::EventArgs args;
  args.type = ui::kEventMouseScrollWheel;
  args.wParam = static_cast<WPARAM>(static_cast<LONG_PTR>(120));
  TEventUI event;
  ASSERT_TRUE(event_translation::ToLayerEvent(args, &event));
  EXPECT_EQ(event.Type, UIEVENT_SCROLLWHEEL);
  EXPECT_EQ(LOWORD(event.wParam), 0);  // up
  TEventUI made;
  made.Type = UIEVENT_SCROLLWHEEL;
  made.wParam = 1;  // down, no delta given
  ui::EventArgs back;
  ASSERT_TRUE(event_translation::ToFrameworkEvent(made, &back));
  EXPECT_EQ(static_cast<int>(static_cast<LONG_PTR>(back.wParam)), -WHEEL_DELTA);
  made.Type = UIEVENT_TIMER;  // the layer's own
  EXPECT_FALSE(event_translation::ToFrameworkEvent(made, &back));
}

class BuilderTest : public LayerTest {
 protected:
  void SetUp() override {
    LayerTest::SetUp();
    fixtures_ = FixtureFolder();
    CPaintManagerUI::SetResourcePath((fixtures_ + L"skin").c_str());
  }
  static std::wstring FixtureFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"duilib_fixtures\\";
  }
  static void WriteFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  DWORD PixelAt(int x, int y) {
    ui::IRenderContext* render = window_->pm.GetHost()->GetRenderContext();
    return static_cast<DWORD*>(render->GetBits())[y * render->GetWidth() + x];
  }

  std::wstring fixtures_;
};

TEST_F(BuilderTest, SkinFileBuildsFacesAndCustomControlsAndCanBeReused) {
  // Named per process: the test program runs once per locale, side by side.
  const std::wstring row = L"row" + std::to_wstring(GetCurrentProcessId()) + L".xml";
  WriteFile(fixtures_ + L"skin\\" + row,
            "\xEF\xBB\xBF<Window><HBox name=\"row\"><Label name=\"nick\" text=\"\xE4\xBD\xA0\"/>"
            "<WheelList name=\"custom\"/><Unknown name=\"u\"/></HBox></Window>");
  ASSERT_NE(Open(L"<Window><VBox name=\"MainFrame\"/></Window>"), nullptr);
  CDialogBuilder builder;
  EXPECT_EQ(builder.Create(L"missing.xml", 0u, window_.get(), &window_->pm), nullptr);
  EXPECT_FALSE(builder.GetMarkup()->IsValid());
  CControlUI* first = builder.Create(row.c_str(), 0u, window_.get(), &window_->pm);
  DeleteFileW((fixtures_ + L"skin\\" + row).c_str());
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(builder.GetMarkup()->IsValid());
  CControlUI* second = builder.Create(window_.get(), &window_->pm);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  auto* root = static_cast<CContainerUI*>(window_->pm.GetRoot());
  root->Add(first);
  root->Add(second);
  CControlUI* nick = window_->pm.FindSubControlByName(second, L"nick");
  ASSERT_NE(nick, nullptr);
  EXPECT_EQ(nick->GetParent(), second);
  EXPECT_EQ(nick->GetText(), L"\x4F60");
  EXPECT_STREQ(nick->GetClass(), L"Label");
  EXPECT_NE(dynamic_cast<WheelList*>(window_->pm.FindSubControlByName(first, L"custom")), nullptr);
  EXPECT_EQ(static_cast<CContainerUI*>(first)->GetCount(), 2);  // "Unknown" made nothing
}

TEST_F(BuilderTest, WindowDrawsImagesFromTheResourcePathAndFromAbsolutePaths) {
  // Framework start-up points the framework at its theme folder; the layer's path still rules.
  ui::ResourceHub::SetResourcePath(L"C:\\themes\\default\\");
  const std::wstring skin =
      L"<Window size=\"200,100\"><HBox name=\"MainFrame\">"
      L"<Control name=\"relative\" width=\"40\" bkimage=\"red.png\"/>"
      L"<Control name=\"absolute\" width=\"40\" bkimage=\"" +
      fixtures_ +
      L"other\\green.png\"/>"
      L"<Control name=\"coded\" width=\"40\"/>"
      L"<Button name=\"button\" width=\"40\" height=\"stretch\" normalimage=\"file='red.png' "
      L"corner='1,1,1,1'\"/>"
      L"<Control name=\"plain\" width=\"40\"/></HBox></Window>";
  ASSERT_NE(Open(skin), nullptr);
  window_->pm.FindControl(L"coded")->SetBkImage(L"file='red.png' corner='1,1,1,1'");
  window_->pm.FindControl(L"plain")->SetBkColor(0xFF0000FF);
  window_->Repaint();
  EXPECT_EQ(PixelAt(20, 50), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(60, 50), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(100, 50), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(140, 50), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(180, 50), 0xFF0000FFu);
  // The framework's windows on other threads keep their theme.
  EXPECT_EQ(ui::ResourceHub::ResourcePath(), L"C:\\themes\\default\\");
  CPaintManagerUI::SetResourcePath(L"C:\\skins");
  EXPECT_EQ(ui::ResourceHub::ResourcePath(), L"C:\\themes\\default\\");
}

}  // namespace
}  // namespace testing_support
}  // namespace DuiLib
