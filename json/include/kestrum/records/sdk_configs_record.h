#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The real-time engine configuration carried by the room information.
struct SdkConfigsRecord {
    int32_t channelProfile = -1;               // -1: no profile given, nothing to apply
    std::vector<std::string> parameters;       // engine parameter texts (JSON) applied before joining
    std::vector<std::string> shareParameters;  // parameter texts for the screen-share source
};
