#include "kestrum/records/user_info_record.h"

#include <cstring>

// Text fields are cleared completely, so copies of a record never carry stale bytes.
UserInfoRecord::UserInfoRecord()
    : uid(),
      name(),
      portraitId(),
      account(),
      status(0),
      shareId(-1),
      streamId(-1),
      feature(0),
      isShareStream(0),
      linkedRecord(nullptr)
{
}

UserInfoRecord::UserInfoRecord(const std::string& uid, const std::string& name, const std::string& portraitId,
                               int32_t streamId, const std::string& account, int32_t status, int32_t shareId,
                               int32_t feature)
    : UserInfoRecord()
{
    CopyRecordText(this->uid, uid.c_str());
    CopyRecordText(this->name, name.c_str());
    CopyRecordText(this->portraitId, portraitId.c_str());
    CopyRecordText(this->account, account.c_str());
    this->streamId = streamId;
    this->status = status;
    this->shareId = shareId;
    this->feature = feature;
}

UserInfoRecord::UserInfoRecord(const UserInfoRecord& other) : UserInfoRecord()
{
    *this = other;
}

UserInfoRecord& UserInfoRecord::operator=(const UserInfoRecord& other)
{
    if (this == &other)
        return *this;
    CopyRecordText(uid, other.uid);
    CopyRecordText(name, other.name);
    CopyRecordText(portraitId, other.portraitId);
    CopyRecordText(account, other.account);
    streamId = other.streamId;
    shareId = other.shareId;
    status = other.status;
    isShareStream = other.isShareStream;
    feature = other.feature;
    return *this;
}

bool UserInfoRecord::operator==(const UserInfoRecord& other) const
{
    if (this == &other)
        return true;
    // The numbers first: records of a long list mostly differ there, and cost no text walk.
    return streamId == other.streamId && isShareStream == other.isShareStream && std::strcmp(uid, other.uid) == 0;
}

bool SameRecord(const UserInfoRecord& a, const UserInfoRecord& b)
{
    return a.status == b.status && a.shareId == b.shareId && a.feature == b.feature && a == b &&
           std::strcmp(a.name, b.name) == 0 && std::strcmp(a.portraitId, b.portraitId) == 0 &&
           std::strcmp(a.account, b.account) == 0;
}
