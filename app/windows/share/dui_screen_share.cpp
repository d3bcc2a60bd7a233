#include "app/windows/share/dui_screen_share.h"

#include <memory>

#include "app/windows/meeting/meeting_host.h"
#include "app/windows/share/screen_share_item.h"
#include "app/windows/share/share_rules.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_system.h"
#include "kestrum/core/util_text.h"
#include "ui/controls/render/gdiplus_headers.h"

namespace {

using ZuvraKestrum::Share::WindowFacts;

constexpr int kToastMs = 2000;

// GDI+'s built-in PNG encoder.
constexpr CLSID kPngEncoder = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(window, &process) != 0 ? process : 0;
}

// Nothing here sends a message to the window: the class name and the style are read from the
// system's own record of it.
WindowFacts ReadWindowFacts(HWND window, DWORD ownProcess) {
    WindowFacts facts;
    facts.ownProcess = ProcessOf(window) == ownProcess;
    facts.owned = GetWindow(window, GW_OWNER) != nullptr;
    facts.sizable = (GetWindowLongW(window, GWL_STYLE) & WS_THICKFRAME) != 0;
    facts.minimised = IsIconic(window) != FALSE;
    facts.visible = IsWindowVisible(window) != FALSE;
    wchar_t className[MAX_PATH] = {};
    GetClassNameW(window, className, MAX_PATH);
    facts.className = className;
    return facts;
}

struct CandidateSearch {
    DWORD ownProcess;
    std::vector<HWND> found;
};

BOOL CALLBACK KeepCandidate(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<CandidateSearch*>(data);
    if (ZuvraKestrum::Share::IsShareCandidate(ReadWindowFacts(window, search->ownProcess))) {
        search->found.push_back(window);
    }
    return TRUE;  // the enumeration always goes on
}

void RemoveOldShots(const std::wstring& folder) {
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"*.png").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

CDuiScreenShare::CDuiScreenShare(IMeetingHost& host)
    : CKestrumDump("CDuiScreenShare", true, false, false, ""), host_(host) {}

CDuiScreenShare::~CDuiScreenShare() { stopShots(); }

CDuiMessageMap<CDuiScreenShare> CDuiScreenShare::MessageMap() {
    CDuiMessageMap<CDuiScreenShare> table = StandardMessageMap(&CDuiScreenShare::OnCreate);
    table.replace(WM_DESTROY, &CDuiScreenShare::OnDestroy)
        .add(WM_SHARE_SOURCE_FOUND, &CDuiScreenShare::OnShareSourceFound);
    return table;
}

CDuiNotifyMap<CDuiScreenShare> CDuiScreenShare::NotifyMap() {
    CDuiNotifyMap<CDuiScreenShare> table;
    table.add(L"windowinit", L"MainFrame", &CDuiScreenShare::DoInitWnd)
        .add(L"click", L"closebtn", &CDuiScreenShare::DoClose)
        .add(L"click", L"beginshare", &CDuiScreenShare::DoBeginStart)
        .add(L"setfocus", L"wndshot", &CDuiScreenShare::DoItemSetFocus)
        .add(L"setfocus", L"wndShotName", &CDuiScreenShare::DoItemSetFocus);
    return table;
}

DuiLib::CControlUI* CDuiScreenShare::CreateControl(const wchar_t* className) {
    if (className && _wcsicmp(className, L"screenshare") == 0) {
        return new CScreenShareItem(paintManager_);
    }
    return nullptr;
}

LRESULT CDuiScreenShare::OnCreate(UINT, WPARAM, LPARAM, bool&) {
    const wchar_t* const skin = L"ScreenShare";
    if (!BuildLanguageSkin(skin, this, *this)) return 0;
    listClient_ = paintManager_.FindControl(L"listClient");
    screenList_ = dynamic_cast<CScreenShareItem*>(paintManager_.FindControl(L"screenlist"));
    if (!screenList_) {
        KESTRUM_LOG(Level_Error, "(%s) controls missing",
                    ZuvraKestrum::Util::CStringToUtf8(SkinFile(skin)).c_str());
        paintManager_.RemoveNotifier(this);
    }
    return 0;
}

LRESULT CDuiScreenShare::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
    // The thread ends first, so that nothing is posted after the queue is emptied.
    stopShots();
    FreeQueuedPayloads(GetHWND(), WM_SHARE_SOURCE_FOUND, WM_SHARE_SOURCE_FOUND, FreeSharePayload);
    chosen_ = nullptr;
    handled = false;
    return 0;
}

LRESULT CDuiScreenShare::OnShareSourceFound(UINT, WPARAM wParam, LPARAM, bool&) {
    auto entry = TakePayload<WM_SHARE_SOURCE_FOUND>(wParam);
    if (!entry || !screenList_) return 0;
    KESTRUM_LOG(Level_Debug, "(wnd[%p],name[%s])", static_cast<void*>(entry->window),
                ZuvraKestrum::Util::CStringToUtf8(entry->title).c_str());
    screenList_->AddItem(*entry);
    return 0;
}

std::wstring CDuiScreenShare::ShotFolder() {
    return ZuvraKestrum::Util::GetExeDirW() + L"..\\Resource\\skin\\wndshot\\";
}

bool CDuiScreenShare::SaveWindowShot(HWND window, const std::wstring& path, int& width,
                                     int& height) {
    using namespace ZuvraKestrum::Share;
    width = height = 0;
    RECT client = {};
    if (!GetClientRect(window, &client)) return false;
    width = client.right - client.left;
    height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return false;
    HDC source = GetDC(window);
    if (!source) return false;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap =
        memory ? CreateCompatibleBitmap(source, kThumbnailWidth, kThumbnailHeight) : nullptr;
    bool saved = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        const RECT box{0, 0, kThumbnailWidth, kThumbnailHeight};
        HBRUSH ground =
            CreateSolidBrush(RGB((kThumbnailGround >> 16) & 0xFF, (kThumbnailGround >> 8) & 0xFF,
                                 kThumbnailGround & 0xFF));
        FillRect(memory, &box, ground);
        DeleteObject(ground);
        const RECT shown = FitThumbnail(width, height, kThumbnailWidth, kThumbnailHeight);
        SetStretchBltMode(memory, HALFTONE);
        SetBrushOrgEx(memory, 0, 0, nullptr);
        const bool copied =
            StretchBlt(memory, shown.left, shown.top, shown.right - shown.left,
                       shown.bottom - shown.top, source, 0, 0, width, height, SRCCOPY) != FALSE;
        SelectObject(memory, old);
        Gdiplus::GpBitmap* image = nullptr;
        if (copied && Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) ==
                          Gdiplus::Ok) {
            saved = Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &kPngEncoder,
                                                             nullptr) == Gdiplus::Ok;
            Gdiplus::DllExports::GdipDisposeImage(image);
        }
        DeleteObject(bitmap);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(window, source);
    return saved;
}

bool CDuiScreenShare::Snapshot(ShareSourceEntry& entry) {
    int width = 0;
    int height = 0;
    const bool saved = SaveWindowShot(entry.window, entry.imagePath, width, height);
    entry.width = width;
    entry.height = height;
    if (!saved) entry.imagePath.clear();
    return saved;
}

void CDuiScreenShare::DoInitWnd(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    if (!screenList_) return;
    const std::wstring folder = ShotFolder();
    CreateDirectoryW(folder.c_str(), nullptr);
    RemoveOldShots(folder);

    ShareSourceEntry desktop;
    desktop.window = GetDesktopWindow();
    desktop.title = L"Desktop";
    desktop.imagePath = folder + L"desktop.png";
    if (!Snapshot(desktop)) KESTRUM_LOG(Level_Warning, "(desktop) no snapshot");
    screenList_->AddItem(desktop);
    startShots(FindCandidates());
}

std::vector<HWND> CDuiScreenShare::FindCandidates() {
    CandidateSearch search{GetCurrentProcessId(), {}};
    EnumWindows(&KeepCandidate, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CDuiScreenShare::startShots(std::vector<HWND> candidates) {
    stopShots();
    stopShots_ = false;
    shooting_ = !candidates.empty();
    if (candidates.empty()) return;
    shotThread_ = std::thread(&CDuiScreenShare::ShotThreadProc, std::move(candidates), ShotFolder(),
                              GetHWND(), GetCurrentProcessId(), &stopShots_, &shooting_);
}

void CDuiScreenShare::stopShots() {
    stopShots_ = true;
    if (shotThread_.joinable()) shotThread_.join();
    shooting_ = false;
}

void CDuiScreenShare::ShotThreadProc(std::vector<HWND> candidates, std::wstring folder, HWND target,
                                     DWORD ownProcess, const std::atomic<bool>* stop,
                                     std::atomic<bool>* shooting) {
    for (size_t position = 0; position < candidates.size() && !stop->load(); ++position) {
        Sleep(kShotPeriodMs);
        const HWND window = candidates[position];
        // Before the title: reading an own window's title sends that window a message, which
        // its thread (the UI thread, perhaps waiting for this one) would have to answer. The
        // handle may have been reused since the listing.
        const DWORD process = ProcessOf(window);
        if (stop->load() || process == 0 || process == ownProcess) continue;
        std::wstring title;
        ZuvraKestrum::Util::GetForegroundWindowTitle(title, window);
        if (title.empty()) continue;
        auto entry = NewRecord<ShareSourceEntry>();
        entry->window = window;
        entry->title = title;
        entry->imagePath =
            folder + ZuvraKestrum::Share::ShotFileName(title, static_cast<int>(position));
        Snapshot(*entry);
        const std::string line =
            ">>>>>processName: " + ZuvraKestrum::Util::CStringToUtf8(title) + "\n";
        OutputDebugStringA(line.c_str());
        PostPayload<WM_SHARE_SOURCE_FOUND>(target, std::move(entry));
    }
    shooting->store(false);
}

void CDuiScreenShare::DoItemSetFocus(DuiLib::TNotifyUI& notification) {
    if (!screenList_) return;
    const auto* row = reinterpret_cast<const ShareSourceRow*>(notification.pSender->GetTag());
    const int slot =
        ZuvraKestrum::Util::CStringToInt(notification.pSender->GetUserData().GetData()) - 1;
    const ShareSourceEntry* entry = screenList_->entryAt(row, slot);
    if (!entry || entry == chosen_) return;
    if (chosen_) unchoose(*chosen_);
    choose(*entry);
}

void CDuiScreenShare::choose(const ShareSourceEntry& entry) {
    chosen_ = &entry;
    screenList_->markChosen(entry, true);
    logEntry("CDuiScreenShare::choose", entry);
}

void CDuiScreenShare::unchoose(const ShareSourceEntry& entry) {
    chosen_ = nullptr;
    screenList_->markChosen(entry, false);
    logEntry("CDuiScreenShare::unchoose", entry);
}

void CDuiScreenShare::logEntry(const char* function, const ShareSourceEntry& entry) {
    KESTRUM_LOG(
        Level_Info, "%s(wnd[%p],name[%s],path[%s],width[%d],height[%d])", function,
        static_cast<void*>(entry.window), ZuvraKestrum::Util::CStringToUtf8(entry.title).c_str(),
        ZuvraKestrum::Util::CStringToUtf8(entry.imagePath).c_str(), entry.width, entry.height);
}

void CDuiScreenShare::DoBeginStart(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    if (!chosen_) {
        host_.toast(GetHWND(), ZuvraKestrum::Share::ChooseFirstText(g_language), kToastMs);
        return;
    }
    auto source = std::make_unique<ScreenShareChosen>(
        ScreenShareChosen{chosen_->window, chosen_->width, chosen_->height});
    const std::string ownUid = g_kestrumData ? g_kestrumData->uid : std::string();
    host_.roomctrlShare(true, {ownUid});
    HWND meeting = host_.meetingWindow();
    if (!meeting || !IsWindow(meeting)) return;
    if (::PostMessageW(meeting, WM_SCREENSHARE_CHOSEN, reinterpret_cast<WPARAM>(source.get()), 1)) {
        source.release();
    }
}

void CDuiScreenShare::DoClose(DuiLib::TNotifyUI&) {
    KESTRUM_LOG(Level_Info, "()");
    HWND meeting = host_.meetingWindow();
    if (meeting && IsWindow(meeting)) ::PostMessageW(meeting, WM_SCREENSHARE_CHOSEN, 0, 0);
}
