#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kestrum/records/record_text.h"
#include "kestrum/records/sdk_configs_record.h"

// The room as the signalling server's "room-info" reports it. Shared by the service library
// and the program like UserInfoRecord (the std members cross between them; both are built with
// the same compiler and runtime). A plain value: copies and assignment copy every field.
struct RoomInfoRecord {
    // Empty texts and lists, initialStatus 0, channelProfile -1.
    RoomInfoRecord();
    // Texts longer than 255 bytes are cut at a character boundary (see CopyRecordText).
    RoomInfoRecord(const std::string& rid, const std::string& pwd, std::vector<std::string> hosts,
                   const std::string& hostName, int32_t initialStatus, const std::string& topic,
                   SdkConfigsRecord sdkConfigs);

    char rid[kRecordTextSize];
    char pwd[kRecordTextSize];
    char topic[kRecordTextSize];
    std::vector<std::string> hosts;  // uids of the room's hosts
    char hostName[kRecordTextSize];  // name of the first host
    int32_t initialStatus;           // status bits given to participants on joining
    SdkConfigsRecord sdkConfigs;
};
