#pragma once

#include <cstdint>
#include <string>

#include "kestrum/records/record_text.h"

// One participant as the signalling server reports it. The service library builds these from
// socket events; the program copies them into window messages, the meeting data and its lists.
// Both sides are built with this header: the field order and widths are the interface between
// them. A plain value; no thread affinity. linkedRecord never owns what it points to.
struct UserInfoRecord {
    // Empty texts, status 0, shareId -1, streamId -1, feature 0, isShareStream 0, no link.
    UserInfoRecord();
    // Texts longer than 255 bytes are cut at a character boundary (see CopyRecordText).
    UserInfoRecord(const std::string& uid, const std::string& name, const std::string& portraitId, int32_t streamId,
                   const std::string& account, int32_t status, int32_t shareId, int32_t feature);
    // A copy is a default record followed by assignment: its linkedRecord is null. Linked entries
    // therefore belong in a container that never copies them (std::list, or a vector of
    // pointers); a growing std::vector<UserInfoRecord> drops the links.
    UserInfoRecord(const UserInfoRecord& other);
    // Copies everything except linkedRecord, which keeps the target's value.
    UserInfoRecord& operator=(const UserInfoRecord& other);

    // Same entry: equal uid text, streamId and isShareStream. A user's camera entry and share
    // entry are different entries.
    bool operator==(const UserInfoRecord& other) const;
    bool operator!=(const UserInfoRecord& other) const { return !(*this == other); }

    char uid[kRecordTextSize];
    char name[kRecordTextSize];  // UTF-8
    char portraitId[kRecordTextSize];
    char account[kRecordTextSize];
    int32_t status;                // bit 0: microphone off, bit 1: camera off
    int32_t shareId;               // media stream id of the user's screen share, -1 when none
    int32_t streamId;              // media stream id of the user's camera and microphone, -1 when none
    int32_t feature;               // carried and logged only
    uint8_t isShareStream;         // 1 on the extra entry made for a user's screen share
    UserInfoRecord* linkedRecord;  // partner entry within one list of the program
};

// Whether a and b say the same of their participant: every field alike but the link. (Equality
// above asks only whether they are the same entry.)
bool SameRecord(const UserInfoRecord& a, const UserInfoRecord& b);
