#pragma once

#include <windows.h>

#include <cstdint>

// The field colours of the stand-in engine's generated pictures, so that a test can tell by one
// pixel whose picture a window shows.
namespace kestrum::engine {

// The local preview's field.
constexpr COLORREF kLocalPictureColour = RGB(40, 110, 60);

// The field of a remote stream's picture: neighbouring uids get far-apart colours.
inline COLORREF RemotePictureColour(uint32_t uid) {
    const uint32_t mixed = uid * 2654435761u;
    return RGB(40 + (mixed >> 24) % 120, 40 + (mixed >> 16) % 120, 40 + (mixed >> 8) % 120);
}

}  // namespace kestrum::engine
