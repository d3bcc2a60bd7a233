#include "kestrum/core/util_display.h"

#include <cmath>
#include <cstring>

namespace ZuvraKestrum::Util {

namespace {

constexpr int kDefaultWidth = 14;

struct WidthClass {
    int width;
    const char* characters;
};

// Glyph widths of the chat font; printable ASCII characters not listed are as wide as CJK ones.
constexpr WidthClass kAsciiWidths[] = {
    {3, "!'(),.:;ijl`"}, {5, " IJ[\\]frt{|}"},
    {6, "*-/_sz"},       {7, "EFLTacekvxy"},
    {9, "ACV"},          {11, "#$0123456789BKNOPQRSXYZbdghnopqu"},
    {12, "%m"},          {13, "&+=@DGHMUW^w~"},
    {14, "\"<>?"},
};

// Full-width punctuation that the font draws narrower than an ideograph.
constexpr wchar_t kNarrowPunctuation[] = {0x3002, 0xFF01, 0xFF08, 0xFF09, 0xFF0C, 0xFF1F};

int UnitWidth(wchar_t unit) {
    if (unit >= 0x20 && unit < 0x7F) {
        for (const WidthClass& widths : kAsciiWidths) {
            if (std::strchr(widths.characters, static_cast<char>(unit))) return widths.width;
        }
        return kDefaultWidth;
    }
    for (wchar_t narrow : kNarrowPunctuation) {
        if (unit == narrow) return 13;
    }
    return kDefaultWidth;
}

}  // namespace

int QualityToSignalLevel(unsigned int quality) {
    switch (quality) {
    case 1:
    case 2:
        return 2;
    case 3:
    case 4:
        return 1;
    case 5:
    case 6:
        return 0;
    default:
        return -1;
    }
}

double EstimateTextWidth(const std::wstring& text) {
    double width = 0;
    for (wchar_t unit : text) width += UnitWidth(unit);
    return std::ceil(width);
}

}  // namespace ZuvraKestrum::Util
