#include "app/windows/settings/device_choice.h"

namespace ZuvraKestrum::Settings {

int ChooseDeviceIndex(const std::vector<std::wstring>& names, const std::wstring& remembered) {
    if (names.empty()) return -1;
    int chosen = 0;
    for (size_t index = 0; index < names.size(); ++index) {
        if (names[index] == remembered) chosen = static_cast<int>(index);
    }
    return chosen;
}

}  // namespace ZuvraKestrum::Settings
