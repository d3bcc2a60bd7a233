#include "device_list_reader.h"

#include "kestrum/core/util_text.h"

namespace kestrum::core {

using zuvra::rtc::IDeviceList;

int DeviceListCount(IDeviceList* list) { return list ? list->count() : 0; }

bool ReadDeviceEntry(IDeviceList* list, int index, std::wstring& name, std::wstring& id) {
    if (!list || index < 0 || index >= list->count()) return false;
    char nameBytes[IDeviceList::kTextBytes] = {};
    char idBytes[IDeviceList::kTextBytes] = {};
    if (list->get(index, nameBytes, idBytes) != 0) return false;
    // The engine fills the whole buffer for a long text and leaves out the NUL.
    nameBytes[IDeviceList::kTextBytes - 1] = '\0';
    idBytes[IDeviceList::kTextBytes - 1] = '\0';
    name = ZuvraKestrum::Util::Utf8ToCString(nameBytes);
    id = ZuvraKestrum::Util::Utf8ToCString(idBytes);
    return true;
}

bool ConvertDeviceId(const std::wstring& id, UINT codePage, char (&out)[kDeviceIdBytes]) {
    const int written =
        WideCharToMultiByte(codePage, 0, id.c_str(), -1, out, kDeviceIdBytes, nullptr, nullptr);
    return written > 0;
}

}  // namespace kestrum::core
