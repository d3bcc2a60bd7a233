#include "app/windows/share/share_rules.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "kestrum/common/utf16_cut.h"

namespace ZuvraKestrum::Share {

namespace {

bool IsUnsafeInFileName(wchar_t c) {
    // The quote is legal in a file name but ends the file part of an image descriptor.
    return c < 0x20 || c == 0x7F || std::wcschr(L"\\/:*?\"<>|'", c) != nullptr;
}

// The system opens a device for these, extension or not ("con.png" is the console).
bool IsDeviceName(std::wstring base) {
    while (!base.empty() && base.back() == L' ') base.pop_back();
    std::transform(base.begin(), base.end(), base.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    static const wchar_t* const kDevices[] = {L"con",    L"prn",     L"aux",   L"nul",
                                              L"conin$", L"conout$", L"clock$"};
    for (const wchar_t* device : kDevices) {
        if (base == device) return true;
    }
    return base.size() == 4 &&
           (base.compare(0, 3, L"com") == 0 || base.compare(0, 3, L"lpt") == 0) &&
           base[3] >= L'0' && base[3] <= L'9';
}

}  // namespace

SharePlacement PlaceShareEntry(int placed) {
    const int slot = placed % kSlotsPerRow;
    return SharePlacement{placed / kSlotsPerRow, slot, slot == 0};
}

bool IsShareCandidate(const WindowFacts& facts) {
    if (facts.ownProcess || facts.owned || !facts.sizable || facts.minimised || !facts.visible) {
        return false;
    }
    return facts.className != L"progman" && facts.className != L"Button";
}

std::wstring ShotFileName(const std::wstring& title, int position) {
    std::wstring name = title.substr(0, kestrum::common::Utf16CutLength(title, kMaxTitleLength));
    std::replace_if(name.begin(), name.end(), IsUnsafeInFileName, L'_');
    if (name.empty()) name = L"window";
    name += L"_" + std::to_wstring(position) + L".png";
    if (IsDeviceName(name.substr(0, name.find(L'.')))) name.insert(0, 1, L'_');
    return name;
}

RECT FitThumbnail(int width, int height, int boxWidth, int boxHeight) {
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) {
        return RECT{0, 0, std::max(boxWidth, 0), std::max(boxHeight, 0)};
    }
    // Compared as products, so no rounding decides which side fills the box.
    int shownWidth = boxWidth;
    int shownHeight = boxHeight;
    if (static_cast<long long>(width) * boxHeight > static_cast<long long>(height) * boxWidth) {
        shownHeight =
            std::max(1, static_cast<int>(static_cast<long long>(height) * boxWidth / width));
    } else {
        shownWidth =
            std::max(1, static_cast<int>(static_cast<long long>(width) * boxHeight / height));
    }
    const int left = (boxWidth - shownWidth) / 2;
    const int top = (boxHeight - shownHeight) / 2;
    return RECT{left, top, left + shownWidth, top + shownHeight};
}

const wchar_t* ChooseFirstText(int language) {
    return language == 0 ? L"Please Choose one Window first."
                         : L"\x8BF7\x5148\x9009\x4E2D\x4E00\x4E2A\x7A97\x53E3";
}

}  // namespace ZuvraKestrum::Share
