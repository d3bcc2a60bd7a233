#pragma once

#include <windows.h>

#include <string>

#include "kestrum/engine/zuvra_rtc_engine.h"

// What the camera and recording-device objects share: reading the engine's device lists and
// converting a selected id for the engine.
namespace kestrum::core {

// Bytes a device id may take, with its NUL, when it is handed to the engine.
constexpr int kDeviceIdBytes = 128;

// Entries of the list; 0 without a list.
int DeviceListCount(zuvra::rtc::IDeviceList* list);

// The entry's UTF-8 name and id as wide text. False without a list, for an index outside it or
// when the engine cannot give the entry; the outputs are then left as they were.
[[nodiscard]] bool ReadDeviceEntry(zuvra::rtc::IDeviceList* list, int index, std::wstring& name,
                                   std::wstring& id);

// id in the code page (CP_UTF8 or CP_ACP) into out, NUL-terminated. False when it does not fit
// kDeviceIdBytes or cannot be converted.
bool ConvertDeviceId(const std::wstring& id, UINT codePage, char (&out)[kDeviceIdBytes]);

}  // namespace kestrum::core
