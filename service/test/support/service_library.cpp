#include "service_library.h"

#include "kestrum/common/utf.h"

namespace {

void SetVariable(const wchar_t* name, const std::string& value) {
    SetEnvironmentVariableW(name, kestrum::common::Utf8ToWide(value).c_str());
}

// A file name alone is left to the loader's search; a path is taken below the program's folder.
std::wstring LibraryPath(const wchar_t* file) {
    if (!wcschr(file, L'\\')) return file;
    wchar_t program[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder(program, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + file;
}

}  // namespace

ServiceLibrary::ServiceLibrary(const std::string& serviceUrl, const std::string& feedbackUrl,
                               const std::vector<std::string>& proxies, unsigned proxyPort,
                               const wchar_t* file) {
    std::string list;
    for (const std::string& proxy : proxies) list += (list.empty() ? "" : ",") + proxy;
    SetVariable(L"KESTRUM_SERVICE_URL", serviceUrl);
    SetVariable(L"KESTRUM_FEEDBACK_URL", feedbackUrl);
    SetVariable(L"KESTRUM_PROXIES", list);
    SetVariable(L"KESTRUM_PROXY_PORT", std::to_string(proxyPort));
    module_ = LoadLibraryW(LibraryPath(file).c_str());
    if (!module_) return;
    Resolve(init, "_ZN12ZuvraKestrum20init_libZuvraKestrumEv");
    Resolve(uninit, "_ZN12ZuvraKestrum22uninit_libZuvraKestrumEv");
    Resolve(getToken, "getToken");
    Resolve(setUserInfo, "setUserInfo");
    Resolve(updateInfo, "updateInfo");
    Resolve(updatePhoto, "updatePhoto");
    Resolve(getPhoto, "getPhoto");
    Resolve(releaseAccountObserver, "releaseAccountObserver");
    Resolve(joinRoom, "joinRoom");
    Resolve(createRoom, "createRoom");
    Resolve(updateRoom, "updateRoom");
    Resolve(getRoom, "getRoom");
    Resolve(ctrlRoom, "ctrlRoom");
    Resolve(configRoom, "configRoom");
    Resolve(releaseMeetingObserver, "releaseMeetingObserver");
    Resolve(uploadlog, "uploadlog");
}

ServiceLibrary::~ServiceLibrary() { Unload(); }

void ServiceLibrary::Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
}

template <class F>
void ServiceLibrary::Resolve(F& function, const char* name) {
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    if (!function) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
}
