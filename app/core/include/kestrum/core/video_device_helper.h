#pragma once

#include <windows.h>

#include <string>

#include "kestrum/engine/zuvra_rtc_engine.h"

class CKestrumZuvra;

// The cameras of the engine, as the settings window lists and selects them, with the local
// preview and the camera test. Unbound (no manager, empty list) until bind succeeds.
//
// Ownership: owned by the engine wrapper; holds the engine's camera manager and list from bind
// until release or destruction. Threads: UI thread only.
class CVideoDeviceHelper {
public:
    explicit CVideoDeviceHelper(CKestrumZuvra& owner) : owner_(owner) {}
    ~CVideoDeviceHelper() { release(); }
    CVideoDeviceHelper(const CVideoDeviceHelper&) = delete;
    CVideoDeviceHelper& operator=(const CVideoDeviceHelper&) = delete;

    // Takes the camera manager and its list from the engine (a bound helper is released first).
    // True when a list was obtained; otherwise nothing is kept.
    bool bind(zuvra::rtc::IEngine* engine);
    // Gives the list and the manager back; the helper is unbound again.
    void release();

    int getDeviceCount();
    // The camera's name and id. False when unbound, the index is outside the list or the
    // engine cannot give the entry.
    bool getDevice(int index, std::wstring& name, std::wstring& id);
    // Selects the camera with this id (UTF-8 for the engine). False when unbound, when the id
    // takes more than 127 bytes or the engine refuses it.
    bool setDevice(const std::wstring& id);

    // on: shows the local preview in window (render mode 1) unless the preview or the camera
    // test is already active; off: stops it when active. Nothing happens while unbound.
    void enablePreview(HWND window, bool on);
    // The same for the engine's camera test in window.
    void enableDeviceTest(HWND window, bool on);

private:
    CKestrumZuvra& owner_;
    zuvra::rtc::ICameraManager* manager_ = nullptr;
    zuvra::rtc::IDeviceList* list_ = nullptr;
    bool active_ = false;  // shared by the preview and the camera test
};
