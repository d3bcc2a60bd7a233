#pragma once

#include <windows.h>

// A native child window that a video engine draws into, over a rectangle of its parent: the
// controls of a skin are drawn by the paint manager, so the engine needs a real window of its
// own. The child is of the dialog class, without a title, WS_CHILD | WS_CLIPCHILDREN and the
// style bits the owner adds; not visible unless those bits say so.
//
// The owner may give the child its own window procedure (which then answers every message, the
// default processing being DefWindowProcW) and the value it reads from GWLP_USERDATA; without
// one the child keeps the dialog class's.
//
// Ownership: the surface destroys its child when it is reset or destroyed; a child that went
// first (with its parent, say) is only forgotten, so the surface never keeps the handle of a
// window that is gone.
//
// Threads: the parent's thread. Neither copyable nor movable: the child refers to its surface.
class CVideoSurface {
public:
    CVideoSurface() = default;
    ~CVideoSurface();
    CVideoSurface(const CVideoSurface&) = delete;
    CVideoSurface& operator=(const CVideoSurface&) = delete;

    // Makes the child of parent over place (parent's client coordinates), in place of the one
    // it had. False when the system made none; the surface is empty then.
    bool create(HWND parent, const RECT& place, DWORD extraStyle = 0, WNDPROC procedure = nullptr,
                void* userData = nullptr);
    // Destroys the child, if any; the surface is empty afterwards.
    void reset();

    // The child, null while there is none.
    HWND handle() const { return window_; }
    explicit operator bool() const { return window_ != nullptr; }

    // Moves the child over place and repaints it; nothing without a child.
    void moveTo(const RECT& place) const;
    void show(bool visible) const;

private:
    static LRESULT CALLBACK Forward(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    // The procedure every message of the child goes on to.
    WNDPROC procedure_ = nullptr;
};
