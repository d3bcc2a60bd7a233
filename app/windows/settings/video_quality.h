#pragma once

class CKestrumData;

namespace ZuvraKestrum::Settings {

// One video quality level the user can choose: the level the meeting data stores and the
// engine wrapper maps to its encoder settings, the option control that shows it, and the
// picture height the log line names.
struct VideoQualityOption {
    int level;
    const wchar_t* option;
    int lines;
};

inline constexpr VideoQualityOption kLowQuality{30, L"lowop", 360};
inline constexpr VideoQualityOption kMidQuality{40, L"midop", 480};
inline constexpr VideoQualityOption kHighQuality{50, L"highop", 720};

// The option of a stored level; null for a level that is none of the three, which then shows
// no option selected. Pure.
const VideoQualityOption* VideoQualityOfLevel(int level);

// The chosen level becomes the meeting data's, which the in-meeting window hands the engine at
// its start and the device window shows when it opens; none without meeting data. The UI thread:
// only the windows read it, so it takes no lock.
void StoreVideoQuality(const VideoQualityOption& quality, CKestrumData* data);

}  // namespace ZuvraKestrum::Settings
