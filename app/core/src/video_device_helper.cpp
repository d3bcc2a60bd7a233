#include "kestrum/core/video_device_helper.h"

#include "device_list_reader.h"
#include "kestrum/core/kestrum_zuvra.h"

using namespace kestrum::core;

bool CVideoDeviceHelper::bind(zuvra::rtc::IEngine* engine) {
    release();
    if (!engine) return false;
    void* manager = nullptr;
    if (engine->queryInterface(zuvra::rtc::kCameraManager, &manager) != 0 || !manager) {
        return false;
    }
    manager_ = static_cast<zuvra::rtc::ICameraManager*>(manager);
    list_ = manager_->enumerateCameras();
    if (!list_) {
        manager_->release();
        manager_ = nullptr;
        return false;
    }
    return true;
}

void CVideoDeviceHelper::release() {
    if (list_) list_->release();
    list_ = nullptr;
    if (manager_) manager_->release();
    manager_ = nullptr;
}

int CVideoDeviceHelper::getDeviceCount() { return DeviceListCount(list_); }

bool CVideoDeviceHelper::getDevice(int index, std::wstring& name, std::wstring& id) {
    return ReadDeviceEntry(list_, index, name, id);
}

bool CVideoDeviceHelper::setDevice(const std::wstring& id) {
    if (!manager_) return false;
    char converted[kDeviceIdBytes];
    if (!ConvertDeviceId(id, CP_UTF8, converted)) return false;
    return manager_->setCamera(converted) == 0;
}

void CVideoDeviceHelper::enablePreview(HWND window, bool on) {
    if (!manager_) return;
    if (on && !active_) {
        owner_.SetupLocalVideo(window, true, 1);
    } else if (!on && active_) {
        owner_.SetupLocalVideo(nullptr, false, 2);
    }
    active_ = on;
}

void CVideoDeviceHelper::enableDeviceTest(HWND window, bool on) {
    if (!manager_) return;
    if (on && !active_) {
        manager_->startDeviceTest(window);
    } else if (!on && active_) {
        manager_->stopDeviceTest();
    }
    active_ = on;
}
