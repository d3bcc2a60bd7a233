#include "kestrum/core/audio_device_helper.h"

#include "device_list_reader.h"

using namespace kestrum::core;

bool CAudioDeviceHelper::bind(zuvra::rtc::IEngine* engine) {
    release();
    if (!engine) return false;
    void* manager = nullptr;
    if (engine->queryInterface(zuvra::rtc::kRecordingDeviceManager, &manager) != 0 || !manager) {
        return false;
    }
    manager_ = static_cast<zuvra::rtc::IRecordingDeviceManager*>(manager);
    list_ = manager_->enumerateRecordingDevices();
    if (!list_) {
        manager_->release();
        manager_ = nullptr;
        return false;
    }
    return true;
}

void CAudioDeviceHelper::release() {
    if (list_) list_->release();
    list_ = nullptr;
    if (manager_) manager_->release();
    manager_ = nullptr;
}

int CAudioDeviceHelper::getDeviceCount() { return DeviceListCount(list_); }

bool CAudioDeviceHelper::getDevice(int index, std::wstring& name, std::wstring& id) {
    return ReadDeviceEntry(list_, index, name, id);
}

bool CAudioDeviceHelper::setDevice(const std::wstring& id) {
    if (!manager_) return false;
    char converted[kDeviceIdBytes];
    if (!ConvertDeviceId(id, CP_ACP, converted)) return false;
    return manager_->setRecordingDevice(converted) == 0;
}
