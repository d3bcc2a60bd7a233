#pragma once

#include <string>
#include <vector>

#include "kestrum/engine/zuvra_rtc_engine.h"

namespace kestrum::engine {

class StandInEngine;

struct FakeDevice {
    std::string name;  // UTF-8
    std::string id;    // UTF-8
};

// The fake devices every engine of the process lists: two cameras and two microphones, one of
// each with a non-ASCII name and id. Tests may add devices (KestrumEngineInject) and reset the
// lists. Safe on any thread; lists are copied when enumerated.
std::vector<FakeDevice> Cameras();
std::vector<FakeDevice> RecordingDevices();
void AddCamera(const FakeDevice& device);
void AddRecordingDevice(const FakeDevice& device);
void ResetDevices();

// A snapshot of one device kind. Like the engine, a text of 512 bytes or more fills get()'s
// buffer completely, without a terminating NUL.
class StandInDeviceList final : public zuvra::rtc::IDeviceList {
public:
    StandInDeviceList(const char* kind, std::vector<FakeDevice> devices);
    int count() override;
    int get(int index, char name[kTextBytes], char id[kTextBytes]) override;
    void release() override;

private:
    ~StandInDeviceList() = default;
    std::string kind_;
    std::vector<FakeDevice> devices_;
};

class StandInCameraManager final : public zuvra::rtc::ICameraManager {
public:
    explicit StandInCameraManager(StandInEngine& engine) : engine_(engine) {}
    zuvra::rtc::IDeviceList* enumerateCameras() override;
    int startDeviceTest(HWND view) override;
    int stopDeviceTest() override;
    int setCamera(const char* id) override;
    void release() override;

private:
    ~StandInCameraManager() = default;
    StandInEngine& engine_;
};

class StandInRecordingManager final : public zuvra::rtc::IRecordingDeviceManager {
public:
    zuvra::rtc::IDeviceList* enumerateRecordingDevices() override;
    int setRecordingDevice(const char* id) override;
    void release() override;

private:
    ~StandInRecordingManager() = default;
};

}  // namespace kestrum::engine
