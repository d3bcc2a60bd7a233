#include "api_names.h"

namespace kestrum::service::api {

const char* const kGetToken = "account/getToken";
const char* const kUpdate = "account/update";
const char* const kPortrait = "account/portrait";
const char* const kRoomJoin = "room/join";
const char* const kRoomCreate = "room/create";
const char* const kRoomUpdate = "room/update";
const char* const kRoomInfo = "room/info";
const char* const kRoomCtrl = "room/ctrl";
const char* const kConfig = "v1/config";
const char* const kUploadFeedback = "feedback/uploadFeedback";

}  // namespace kestrum::service::api
