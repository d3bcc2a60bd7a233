#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "kestrum/service/vossary_api.h"

// libVossary.dll loaded at run time, so that the test can point its endpoints (environment
// variables read at load) at the test back-end first, and can unload it again.
// Threads: load and unload on the test thread.
class ServiceLibrary {
public:
    // Sets the endpoint variables, then loads the DLL and looks up every export. file is the
    // shipped library's name, found as the loader finds it, or a path below the test program's
    // folder (the tests' own build of the library).
    ServiceLibrary(const std::string& serviceUrl, const std::string& feedbackUrl,
                   const std::vector<std::string>& proxies, unsigned proxyPort,
                   const wchar_t* file = L"libVossary.dll");
    ~ServiceLibrary();

    bool Loaded() const { return module_ != nullptr; }
    HMODULE Module() const { return module_; }
    // FreeLibrary now (the destructor then does nothing).
    void Unload();

    decltype(&ZuvraKestrum::init_libZuvraKestrum) init = nullptr;
    decltype(&ZuvraKestrum::uninit_libZuvraKestrum) uninit = nullptr;
    decltype(&::getToken) getToken = nullptr;
    decltype(&::setUserInfo) setUserInfo = nullptr;
    decltype(&::updateInfo) updateInfo = nullptr;
    decltype(&::updatePhoto) updatePhoto = nullptr;
    decltype(&::getPhoto) getPhoto = nullptr;
    decltype(&::releaseAccountObserver) releaseAccountObserver = nullptr;
    decltype(&::joinRoom) joinRoom = nullptr;
    decltype(&::createRoom) createRoom = nullptr;
    decltype(&::updateRoom) updateRoom = nullptr;
    decltype(&::getRoom) getRoom = nullptr;
    decltype(&::ctrlRoom) ctrlRoom = nullptr;
    decltype(&::configRoom) configRoom = nullptr;
    decltype(&::releaseMeetingObserver) releaseMeetingObserver = nullptr;
    decltype(&::uploadlog) uploadlog = nullptr;

private:
    template <class F>
    void Resolve(F& function, const char* name);

    HMODULE module_ = nullptr;
};
