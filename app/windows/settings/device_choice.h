#pragma once

#include <string>
#include <vector>

namespace ZuvraKestrum::Settings {

// The entry of a device list that the audio/video settings window selects for the name the
// configuration remembers (MicID, CameraID): the last device whose name equals it exactly (a
// later device of the same name wins), else the first device, so that the user always sees,
// and the engine uses, a device when there is one. -1 for an empty list. Pure.
int ChooseDeviceIndex(const std::vector<std::wstring>& names, const std::wstring& remembered);

}  // namespace ZuvraKestrum::Settings
