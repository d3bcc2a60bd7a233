#pragma once

#include <string>

#include "kestrum/engine/zuvra_rtc_engine.h"

// The recording devices (microphones) of the engine, as the settings window lists and selects
// them. Unbound (no manager, empty list) until bind succeeds.
//
// Ownership: owned by the engine wrapper; holds the engine's recording-device manager and list
// from bind until release or destruction. Threads: UI thread only.
class CAudioDeviceHelper {
public:
    CAudioDeviceHelper() = default;
    ~CAudioDeviceHelper() { release(); }
    CAudioDeviceHelper(const CAudioDeviceHelper&) = delete;
    CAudioDeviceHelper& operator=(const CAudioDeviceHelper&) = delete;

    // Takes the manager and its list from the engine (a bound helper is released first). True
    // when a list was obtained; otherwise nothing is kept.
    bool bind(zuvra::rtc::IEngine* engine);
    void release();

    int getDeviceCount();
    bool getDevice(int index, std::wstring& name, std::wstring& id);
    // Selects the device with this id, which the engine takes in the ANSI code page. False when
    // unbound, when the id takes more than 127 bytes or the engine refuses it.
    bool setDevice(const std::wstring& id);

private:
    zuvra::rtc::IRecordingDeviceManager* manager_ = nullptr;
    zuvra::rtc::IDeviceList* list_ = nullptr;
};
