#pragma once

#include <windows.h>

#include <string>

namespace DuiLib {

// Posted to a window of this layer with a heap std::function<void()> in LPARAM: the window's
// paint manager runs and frees it.
constexpr UINT kRunTaskMessage = WM_APP + 0x2F1;

// The framework knows colours by name: a name for an 0xAARRGGBB value, entered on first use.
std::wstring ColorName(DWORD argb);
// The value of a colour name; 0 for an unknown name.
DWORD ColorOf(const std::wstring& name);
// Image attributes of the framework's vocabulary all end in "image" (bkimage, normalimage,
// selectedhotimage, ...).
bool IsImageAttribute(const std::wstring& name);
// An image descriptor (a bare file name or "file='x' ...") whose relative file name is made
// absolute against the layer's resource path: the framework would otherwise take it from its own
// resource path, which belongs to its theme. Unchanged without a layer path.
std::wstring LayerImageSpec(const std::wstring& spec);
// A null text as empty.
inline std::wstring TextOf(const wchar_t* text) { return text ? text : L""; }

}  // namespace DuiLib
