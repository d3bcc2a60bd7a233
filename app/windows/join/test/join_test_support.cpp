#include "join_test_support.h"

#include <cstdlib>
#include <memory>

#include "app/windows/join/dui_login.h"
#include "app/windows/join/dui_set_nick_name.h"
#include "app/windows/notice/dui_message_box.h"
#include "duilib/paint_manager_ui.h"
#include "duilib/rich_edit_ui.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/testing/win_wait.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/window/window.h"
#include "ui/controls/render/gdiplus_headers.h"
#include "ui/controls/render/render_context.h"

namespace join_testing {

namespace {

// The dialogs the join windows open but that are not theirs: an empty window with a title bar.
constexpr wchar_t kStandInSkin[] =
    L"<Window size=\"360,500\" caption=\"0,0,0,36\">"
    L"<VBox name=\"MainFrame\" bkcolor=\"window_bk\">"
    L"<Label name=\"title\" text=\"stand-in\" height=\"36\"/>"
    L"</VBox></Window>";

class CStandInDialog : public CDuiWindow<CStandInDialog> {
public:
    const wchar_t* GetWindowClassName() const override { return L"UIJoinTestStandIn"; }
    static CDuiMessageMap<CStandInDialog> MessageMap() {
        return StandardMessageMap(&CStandInDialog::OnCreate);
    }
    static CDuiNotifyMap<CStandInDialog> NotifyMap() { return {}; }

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&) {
        BuildSkin(kStandInSkin, nullptr);
        return 0;
    }
};

const JoinServices* g_services = nullptr;
std::vector<unsigned> g_opened;
int g_noticeExits = 0;
std::unique_ptr<CKestrumData> g_data;

CDuiFrameWindow* MakeDialog(unsigned id) {
    g_opened.push_back(id);
    switch (id) {
    case CKestrum::kLoginDlg:
        return new CDuiLogin(*g_services);
    case CKestrum::kNickNameDlg:
        return new CDuiSetNickName(*g_services);
    default:
        return new CStandInDialog;
    }
}

void CountNoticeExit() { ++g_noticeExits; }

CDuiMessageBox* MakeNoticeBox() {
    NoticeBoxExits exits;
    exits.quit = &CountNoticeExit;
    exits.endProcess = &CountNoticeExit;
    return new CDuiMessageBox(exits);
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace

void StartFramework() {
    DuiLib::CPaintManagerUI::SetInstance(GetModuleHandleW(nullptr));
    ui::ResourceHub::Start(ProgramFolder() + L"join-res\\", nullptr, false, L"themes\\default",
                           L"lang\\zh_CN");
    DuiLib::CPaintManagerUI::SetResourcePath(SkinFolder().c_str());
}

std::wstring SkinFolder() { return ProgramFolder() + L"join-res\\skin\\"; }

CKestrumData& MeetingData() {
    if (!g_data) {
        // The configuration of the program folder, as the windows reach it.
        CSingleton<CKestrumConfig>::getInstance();
        g_data = std::make_unique<CKestrumData>("");
        g_kestrumData = g_data.get();
    }
    return *g_data;
}

void UseServices(const JoinServices& services) { g_services = &services; }

CKestrum& Kestrum() {
    static bool factories = false;
    if (!factories) {
        CKestrum::setDialogFactory(&MakeDialog);
        CKestrum::setNoticeBoxFactory(&MakeNoticeBox);
        factories = true;
    }
    return *CSingleton<CKestrum>::getInstance();
}

CDuiLogin* JoinWindow() { return dynamic_cast<CDuiLogin*>(Kestrum().getDlg(CKestrum::kLoginDlg)); }

const std::vector<unsigned>& OpenedDialogs() { return g_opened; }
void ClearOpenedDialogs() { g_opened.clear(); }
int NoticeExits() { return g_noticeExits; }

DuiLib::CControlUI* Control(CDuiFrameWindow* window, const wchar_t* name) {
    return window ? window->paintManager().FindControl(name) : nullptr;
}

bool ShowsImage(DuiLib::CControlUI* control, const std::wstring& file) {
    const std::wstring image = control ? control->GetBkImage() : std::wstring();
    return image.size() >= file.size() &&
           image.compare(image.size() - file.size(), file.size(), file) == 0;
}

bool PumpUntil(const std::function<bool()>& done) {
    return kestrum::testing_support::PumpUntil(done);
}

bool AwaitLaidOut(CDuiFrameWindow* window) {
    // "windowinit" follows the first layout; the controls then have their places.
    return window && PumpUntil([window] {
               DuiLib::CControlUI* root = window->paintManager().GetRoot();
               return root && root->GetPos().right > 0 && IsWindowVisible(window->GetHWND());
           });
}

void Click(CDuiFrameWindow* window, DuiLib::CControlUI* control) {
    const RECT& pos = control->GetPos();
    const LPARAM at = MAKELPARAM((pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2);
    HWND handle = window->GetHWND();
    SendMessageW(handle, WM_MOUSEMOVE, 0, at);
    SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(handle, WM_LBUTTONUP, 0, at);
}

void Type(CDuiFrameWindow* window, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(window->GetHWND(), WM_CHAR, c, 0);
}

void TypeInto(CDuiFrameWindow* window, DuiLib::CControlUI* control, const std::wstring& text) {
    window->paintManager().SetFocus(control);
    if (auto* edit = dynamic_cast<DuiLib::CRichEditUI*>(control)) {
        const long end = static_cast<long>(edit->GetText().size());
        edit->SetSel(end, end);
    }
    Type(window, text);
}

namespace {

std::function<void(CDuiMessageBox&)> g_inspect;
int g_handled = 0;
bool g_inTick = false;

}  // namespace

NoticeCloser::NoticeCloser(std::function<void(CDuiMessageBox&)> inspect) {
    g_inspect = std::move(inspect);
    g_handled = 0;
    timer_ = SetTimer(nullptr, 0, 50, &NoticeCloser::Tick);
}

NoticeCloser::~NoticeCloser() {
    KillTimer(nullptr, timer_);
    g_inspect = nullptr;
}

int NoticeCloser::handled() const { return g_handled; }

void CALLBACK NoticeCloser::Tick(HWND, UINT, UINT_PTR, DWORD) {
    CDuiMessageBox* box = Kestrum().messageBox();
    if (g_inTick || !box || !IsWindowVisible(box->GetHWND())) return;
    DuiLib::CControlUI* close = Control(box, L"closebtn");
    // Not laid out yet: the next tick.
    if (!close || close->GetPos().right <= close->GetPos().left) return;
    g_inTick = true;
    ++g_handled;
    if (g_inspect) g_inspect(*box);
    Click(box, close);
    g_inTick = false;
}

namespace {

// How far, summed over red, green and blue, a pixel must be from the background to count.
constexpr int kLeastDifference = 48;

int Channel(DWORD color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

int Distance(DWORD a, DWORD b) {
    int distance = 0;
    for (int shift : {0, 8, 16}) distance += std::abs(Channel(a, shift) - Channel(b, shift));
    return distance;
}

ui::IRenderContext* Drawing(CDuiFrameWindow* window) {
    ui::Window* host = window ? window->paintManager().GetHost() : nullptr;
    return host ? host->GetRenderContext() : nullptr;
}

bool FindPngEncoder(CLSID& encoder) {
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok) return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::DllExports::GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) != L"image/png") continue;
        encoder = codecs[i].Clsid;
        return true;
    }
    return false;
}

}  // namespace

DWORD PixelAt(CDuiFrameWindow* window, int x, int y) {
    ui::IRenderContext* context = Drawing(window);
    if (!context || x < 0 || y < 0 || x >= context->GetWidth() || y >= context->GetHeight()) {
        return 0;
    }
    return static_cast<const DWORD*>(context->GetBits())[y * context->GetWidth() + x];
}

int CountDiffering(CDuiFrameWindow* window, const RECT& rect, DWORD background) {
    ui::IRenderContext* context = Drawing(window);
    if (!context) return 0;
    const auto* bits = static_cast<const DWORD*>(context->GetBits());
    const int width = context->GetWidth();
    int differing = 0;
    for (LONG y = std::max<LONG>(rect.top, 0);
         y < std::min<LONG>(rect.bottom, context->GetHeight()); ++y) {
        for (LONG x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, width); ++x) {
            if (Distance(bits[y * width + x], background) > kLeastDifference) ++differing;
        }
    }
    return differing;
}

bool SavePicture(CDuiFrameWindow* window, const std::wstring& name) {
    RedrawWindow(window->GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ui::IRenderContext* context = Drawing(window);
    CLSID encoder = {};
    if (!context || !FindPngEncoder(encoder)) return false;
    const int width = context->GetWidth();
    // The edits' text is drawn by GDI, which leaves alpha 0 behind; the window is opaque on the
    // screen, and so is its picture.
    auto* bits = static_cast<DWORD*>(context->GetBits());
    for (int i = 0; i < width * context->GetHeight(); ++i) bits[i] |= 0xFF000000u;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(
            width, context->GetHeight(), width * 4, PixelFormat32bppPARGB,
            static_cast<BYTE*>(context->GetBits()), &bitmap) != Gdiplus::Ok) {
        return false;
    }
    const std::wstring folder = ProgramFolder() + L"..\\pictures\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + name + L".png";
    const bool saved = Gdiplus::DllExports::GdipSaveImageToFile(bitmap, path.c_str(), &encoder,
                                                                nullptr) == Gdiplus::Ok;
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return saved;
}

}  // namespace join_testing
