#include "app/windows/settings/video_quality.h"

#include <initializer_list>

namespace ZuvraKestrum::Settings {

const VideoQualityOption* VideoQualityOfLevel(int level) {
    for (const VideoQualityOption* option : {&kLowQuality, &kMidQuality, &kHighQuality}) {
        if (option->level == level) return option;
    }
    return nullptr;
}

}  // namespace ZuvraKestrum::Settings
