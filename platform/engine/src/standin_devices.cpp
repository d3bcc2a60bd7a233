#include "standin_devices.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "engine_journal.h"
#include "standin_engine.h"

namespace kestrum::engine {

namespace {

struct Catalog {
    std::mutex lock;
    std::vector<FakeDevice> cameras;
    std::vector<FakeDevice> microphones;
};

// "\xC3\x9C" is U+00DC (capital U with diaeresis) in UTF-8.
void FillDefaults(Catalog& catalog) {
    catalog.cameras = {{"Stand-in Camera", "camera-1"},
                       {"Stand-in Kamera \xC3\x9C", "camera-\xC3\x9C-2"}};
    catalog.microphones = {{"Stand-in Microphone", "microphone-1"},
                           {"Stand-in Mikrofon \xC3\x9C", "microphone-\xC3\x9C-2"}};
}

Catalog& TheCatalog() {
    static Catalog* catalog = [] {
        Catalog* made = new Catalog;  // never freed: engines may list devices during exit
        FillDefaults(*made);
        return made;
    }();
    return *catalog;
}

// Copies like a fixed-size field: the NUL only when the text is shorter than the buffer.
void CopyField(char* buffer, const std::string& text) {
    const size_t size = zuvra::rtc::IDeviceList::kTextBytes;
    if (text.size() < size) {
        std::memcpy(buffer, text.c_str(), text.size() + 1);
    } else {
        std::memcpy(buffer, text.data(), size);
    }
}

}  // namespace

std::vector<FakeDevice> Cameras() {
    std::lock_guard<std::mutex> guard(TheCatalog().lock);
    return TheCatalog().cameras;
}

std::vector<FakeDevice> RecordingDevices() {
    std::lock_guard<std::mutex> guard(TheCatalog().lock);
    return TheCatalog().microphones;
}

void AddCamera(const FakeDevice& device) {
    std::lock_guard<std::mutex> guard(TheCatalog().lock);
    TheCatalog().cameras.push_back(device);
}

void AddRecordingDevice(const FakeDevice& device) {
    std::lock_guard<std::mutex> guard(TheCatalog().lock);
    TheCatalog().microphones.push_back(device);
}

void ResetDevices() {
    std::lock_guard<std::mutex> guard(TheCatalog().lock);
    FillDefaults(TheCatalog());
}

StandInDeviceList::StandInDeviceList(const char* kind, std::vector<FakeDevice> devices)
    : kind_(kind), devices_(std::move(devices)) {}

int StandInDeviceList::count() { return static_cast<int>(devices_.size()); }

int StandInDeviceList::get(int index, char name[kTextBytes], char id[kTextBytes]) {
    if (index < 0 || static_cast<size_t>(index) >= devices_.size() || !name || !id) return -1;
    CopyField(name, devices_[index].name);
    CopyField(id, devices_[index].id);
    return 0;
}

void StandInDeviceList::release() {
    JournalRecord(JournalCall((kind_ + "List.release").c_str()));
    delete this;
}

zuvra::rtc::IDeviceList* StandInCameraManager::enumerateCameras() {
    JournalRecord(JournalCall("camera.enumerate"));
    return new StandInDeviceList("camera", Cameras());
}

int StandInCameraManager::startDeviceTest(HWND view) {
    JournalRecord(JournalCall("camera.startDeviceTest", {view ? "window" : "null"}));
    if (!view) return -2;
    engine_.setDeviceTestView(view);
    return 0;
}

int StandInCameraManager::stopDeviceTest() {
    JournalRecord(JournalCall("camera.stopDeviceTest"));
    engine_.setDeviceTestView(nullptr);
    return 0;
}

int StandInCameraManager::setCamera(const char* id) {
    JournalRecord(JournalCall("camera.setDevice", {JournalText(id)}));
    return id ? 0 : -2;
}

void StandInCameraManager::release() {
    JournalRecord(JournalCall("camera.release"));
    delete this;
}

zuvra::rtc::IDeviceList* StandInRecordingManager::enumerateRecordingDevices() {
    JournalRecord(JournalCall("recording.enumerate"));
    return new StandInDeviceList("recording", RecordingDevices());
}

int StandInRecordingManager::setRecordingDevice(const char* id) {
    JournalRecord(JournalCall("recording.setDevice", {JournalText(id)}));
    return id ? 0 : -2;
}

void StandInRecordingManager::release() {
    JournalRecord(JournalCall("recording.release"));
    delete this;
}

}  // namespace kestrum::engine
