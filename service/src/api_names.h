#pragma once

// The api texts handed to observers. Release exports compare api arguments with these by
// address, so every use must go through these pointers, never through copies.
namespace kestrum::service::api {

extern const char* const kGetToken;        // "account/getToken"
extern const char* const kUpdate;          // "account/update"
extern const char* const kPortrait;        // "account/portrait" (upload and download)
extern const char* const kRoomJoin;        // "room/join"
extern const char* const kRoomCreate;      // "room/create"
extern const char* const kRoomUpdate;      // "room/update"
extern const char* const kRoomInfo;        // "room/info"
extern const char* const kRoomCtrl;        // "room/ctrl"
extern const char* const kConfig;          // "v1/config"
extern const char* const kUploadFeedback;  // "feedback/uploadFeedback"

}  // namespace kestrum::service::api
