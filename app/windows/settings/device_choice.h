#pragma once

#include <string>
#include <vector>

namespace ZuvraKestrum::Settings {

// The entry of a device list that the audio/video settings window selects for the name the
// configuration remembers (MicID, CameraID): the last device whose name equals it exactly (a
// later device of the same name wins), else the first device, so that the user always sees,
// and the engine uses, a device when there is one. -1 for an empty list. Pure.
int ChooseDeviceIndex(const std::vector<std::wstring>& names, const std::wstring& remembered);

// One entry of an engine's device list (CAudioDeviceHelper, CVideoDeviceHelper: getDeviceCount,
// getDevice): its name and id, not found when the list has no such entry or there is no list.
struct DeviceEntry {
    bool found = false;
    std::wstring name;
    std::wstring id;
};

template <class Helper>
DeviceEntry DeviceAt(Helper* helper, int index) {
    DeviceEntry entry;
    entry.found = helper && index >= 0 && helper->getDevice(index, entry.name, entry.id);
    return entry;
}

// The names of a device list in its order; a device that cannot be read shows empty.
template <class Helper>
std::vector<std::wstring> DeviceNames(Helper* helper) {
    std::vector<std::wstring> names;
    const int count = helper ? helper->getDeviceCount() : 0;
    for (int index = 0; index < count; ++index) names.push_back(DeviceAt(helper, index).name);
    return names;
}

}  // namespace ZuvraKestrum::Settings
