#include "kestrum/records/room_info_record.h"

#include <utility>

RoomInfoRecord::RoomInfoRecord() : rid(), pwd(), topic(), hostName(), initialStatus(0) {}

RoomInfoRecord::RoomInfoRecord(const std::string& rid, const std::string& pwd, std::vector<std::string> hosts,
                               const std::string& hostName, int32_t initialStatus, const std::string& topic,
                               SdkConfigsRecord sdkConfigs)
    : RoomInfoRecord()
{
    CopyRecordText(this->rid, rid.c_str());
    CopyRecordText(this->pwd, pwd.c_str());
    CopyRecordText(this->topic, topic.c_str());
    CopyRecordText(this->hostName, hostName.c_str());
    this->hosts = std::move(hosts);
    this->initialStatus = initialStatus;
    this->sdkConfigs = std::move(sdkConfigs);
}
