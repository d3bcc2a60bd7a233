#include "client_exchange.h"

#include "kestrum/common/utf.h"
#include "kestrum/testing/wait.h"
#include "staged_program.h"
#include "ui/base/window_impl/framework_window_test_fixture.h"
#include "ui/controls/render/gdiplus/render_factory_gdiplus.h"

namespace {

using kestrum::common::Utf8ToWide;

std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

}  // namespace

ClientExchange::ClientExchange() : folder_(EnvironmentValue(L"KESTRUM_TWO_CLIENTS_EXCHANGE")) {
    if (!folder_.empty() && folder_.back() != L'\\') folder_ += L'\\';
}

bool ClientExchange::put(const std::string& step, const std::string& text) const {
    const std::wstring path = folder_ + Utf8ToWide(step);
    const std::wstring partial = path + L".part";
    {
        const kestrum::common::ScopedHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0,
                                                             nullptr, CREATE_ALWAYS,
                                                             FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                                nullptr)) {
            return false;
        }
    }
    return MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool ClientExchange::await(const std::string& step, std::string* text) const {
    const std::wstring path = folder_ + Utf8ToWide(step);
    const bool came = kestrum::testing_support::WaitUntil(
        [&path] { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; },
        kestrum::testing_support::TestTimeout() * 6);
    if (came && text) *text = ReadWholeFile(path);
    return came;
}

ScreenArea::ScreenArea(const RECT& area)
    : area_(area), context_(ui::RenderFactory_GdiPlus().CreateRenderContext()) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (!context_ || !context_->Resize(width, height)) {
        context_.reset();
        return;
    }
    HDC screen = GetDC(nullptr);
    BitBlt(context_->GetDC(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    auto* bits = static_cast<DWORD*>(context_->GetBits());
    for (int i = 0; i < width * height; ++i) bits[i] |= 0xFF000000u;
}

COLORREF ScreenArea::At(int x, int y) const {
    if (!context_ || x < area_.left || y < area_.top || x >= area_.right || y >= area_.bottom)
        return CLR_INVALID;
    const DWORD pixel = static_cast<const DWORD*>(
        context_->GetBits())[(y - area_.top) * context_->GetWidth() + (x - area_.left)];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int ScreenArea::Count(const RECT& rect, COLORREF colour) const {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) count += At(x, y) == colour;
    }
    return count;
}

bool ScreenArea::Save(const std::wstring& fileName) const {
    return context_ && ui::testing_support::SavePng(
                           context_.get(), ui::testing_support::PictureFolder() + fileName);
}

void TypeText(HWND window, const std::wstring& text) {
    for (wchar_t c : text) PostMessageW(window, WM_CHAR, c, 0);
}

void SetEnvironmentLines(const std::string& lines) {
    for (const std::string& line : Lines(lines)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        SetEnvironmentVariableW(Utf8ToWide(line.substr(0, equals)).c_str(),
                                Utf8ToWide(line.substr(equals + 1)).c_str());
    }
}
