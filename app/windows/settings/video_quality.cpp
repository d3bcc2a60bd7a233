#include "app/windows/settings/video_quality.h"

#include <initializer_list>

#include "kestrum/core/kestrum_data.h"

namespace ZuvraKestrum::Settings {

const VideoQualityOption* VideoQualityOfLevel(int level) {
    for (const VideoQualityOption* option : {&kLowQuality, &kMidQuality, &kHighQuality}) {
        if (option->level == level) return option;
    }
    return nullptr;
}

void StoreVideoQuality(const VideoQualityOption& quality, CKestrumData* data) {
    if (data) data->videoQuality = quality.level;
}

}  // namespace ZuvraKestrum::Settings
