#include "kestrum/core/kestrum_quality_upload.h"

#include <mmsystem.h>
#include <objbase.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_zuvra.h"

namespace {

// Room for one adapter record; the system says how much more it needs.
constexpr ULONG kFirstAdapterBufferBytes = 648;

constexpr const char* kAppStartFormat =
    "{\"rtc.report_customized_data\":{\"eventType\":%d,\"sid\":\"%s\",\"index\":{\"index1\":"
    "\"%s\",\"index2\":\"%s\"},\"kmrUid\":\"%s\",\"lts\":%lld,\"osType\":%d,\"appVersion\":"
    "\"%s\"}}";
constexpr const char* kJoinFormat =
    "{\"rtc.report_customized_data\":{\"eventType\":%d,\"sid\":\"%s\",\"index\":{\"index1\":"
    "\"%s\",\"index2\":\"%s\"},\"kmrUid\":\"%s\",\"netType\":%d,\"success\":%s,\"ec\":%d,"
    "\"elapsed\":%d,\"lts\":%lld}}";
constexpr const char* kUploadResultFormat =
    "{\"rtc.report_customized_data\":{\"eventType\":%d,\"sid\":\"%s\",\"index\":{\"index1\":"
    "\"%s\",\"index2\":\"%s\"},\"kmrUid\":\"%s\",\"netType\":%d,\"success\":%s,\"ec\":%d,"
    "\"lts\":%lld}}";
constexpr const char* kRequestResultFormat =
    "{\"rtc.report_customized_data\":{\"eventType\":%d,\"sid\":\"%s\",\"index\":{\"index1\":"
    "\"%s\",\"index2\":\"%s\"},\"kmrUid\":\"%s\",\"netType\":%d,\"success\":%s,\"ec\":%d,"
    "\"elapsed\":%d,\"lts\":%lld,\"requestType\":\"%s\"}}";

const char* Success(int code) { return code < 1 ? "true" : "false"; }

long long Lts() { return static_cast<long long>(timeGetTime()); }

// Uploads report no duration: their time is the file's size, not the service's.
bool IsUploadApi(const char* api) {
    return std::strcmp(api, "feedback/uploadFeedback") == 0 ||
           std::strcmp(api, "account/portrait") == 0;
}

void DebugLine(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
void DebugLine(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    OutputDebugStringA(line);
}

const char* AdapterTypeName(UINT type) {
    switch (type) {
    case MIB_IF_TYPE_OTHER:
        return "OTHER";
    case MIB_IF_TYPE_ETHERNET:
        return "ETHERNET";
    case IF_TYPE_ISO88025_TOKENRING:
        return "TOKENRING";
    case MIB_IF_TYPE_FDDI:
        return "FDDI";
    case MIB_IF_TYPE_PPP:
        return "PPP";
    case MIB_IF_TYPE_LOOPBACK:
        return "LOOPBACK";
    case MIB_IF_TYPE_SLIP:
        return "SLIP";
    default:
        return nullptr;
    }
}

void TraceAdapter(const IP_ADAPTER_INFO& adapter, int number) {
    DebugLine("net card num: %d\n", number);
    DebugLine("adapternuum: %s\n", adapter.AdapterName);
    DebugLine("description: %s\n", adapter.Description);
    if (const char* type = AdapterTypeName(adapter.Type)) DebugLine("net card type: %s\n", type);
    DebugLine("card MAC address:\n");
    for (UINT i = 0; i < adapter.AddressLength && i < MAX_ADAPTER_ADDRESS_LENGTH; ++i) {
        DebugLine(i + 1 < adapter.AddressLength ? "%02X-" : "%02X\n", adapter.Address[i]);
    }
    DebugLine("net card IP address blow\n");
}

}  // namespace

CKestrumQualityUpload::CKestrumQualityUpload() {
    GUID guid;
    if (CoCreateGuid(&guid) == S_OK) {
        runId_ = FormatRunId(guid);
        std::printf("guid: %s\n", runId_.c_str());
    } else {
        std::fprintf(stderr, "create guid error\n");
    }
    if (g_kestrumData) uid_ = g_kestrumData->uid;
    startTick_ = GetTickCount();
    netType_ = NetTypeOfSystem();
}

CKestrumQualityUpload::~CKestrumQualityUpload() = default;

void CKestrumQualityUpload::markStartTick() { startTick_ = GetTickCount(); }

std::string CKestrumQualityUpload::FormatRunId(const GUID& guid) {
    char text[40];
    std::snprintf(text, sizeof text, "%08lX-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

int CKestrumQualityUpload::NetTypeOfAdapters(const IP_ADAPTER_INFO* adapters) {
    int number = 0;
    int ipIndex = 0;
    for (const IP_ADAPTER_INFO* adapter = adapters; adapter; adapter = adapter->Next) {
        TraceAdapter(*adapter, ++number);
        for (const IP_ADDR_STRING* ip = &adapter->IpAddressList; ip; ip = ip->Next) {
            DebugLine("ip index: %d,address: %s,maskaddress: %s,gateway:%s\n", ipIndex++,
                      ip->IpAddress.String, ip->IpMask.String,
                      adapter->GatewayList.IpAddress.String);
            if (std::strcmp(ip->IpAddress.String, "0.0.0.0") == 0) return 2;
        }
        DebugLine("%s\n", std::string(68, '-').c_str());
    }
    return 0;
}

int CKestrumQualityUpload::NetTypeOfSystem() {
    std::vector<unsigned char> buffer(kFirstAdapterBufferBytes);
    ULONG size = static_cast<ULONG>(buffer.size());
    auto* adapters = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    DWORD result = GetAdaptersInfo(adapters, &size);
    if (result == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size);
        adapters = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
        result = GetAdaptersInfo(adapters, &size);
    }
    return result == ERROR_SUCCESS ? NetTypeOfAdapters(adapters) : 0;
}

std::string CKestrumQualityUpload::EscapeJson(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

std::string CKestrumQualityUpload::send(const char* format, ...) {
    char text[kEventBytes];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    // A cut text is no longer JSON: better no event than a broken one.
    if (length < 0 || static_cast<size_t>(length) >= sizeof text) return std::string();
    // Never getInstance: a report running first on its own thread would create and initialise
    // the engine there. The UI thread creates the wrapper; until then there is no one to tell.
    CKestrumZuvra* engine = CSingleton<CKestrumZuvra>::existingInstance();
    if (!engine) return std::string();
    engine->SetParameters(text);
    return text;
}

std::string CKestrumQualityUpload::reportAppStart(const std::string& appVersion) {
    std::lock_guard<std::mutex> guard(mutex_);
    const std::string sid = EscapeJson(runId_);
    const std::string uid = EscapeJson(uid_);
    return send(kAppStartFormat, kEventAppStart, sid.c_str(), sid.c_str(), uid.c_str(), uid.c_str(),
                Lts(), kOsTypeWindows, EscapeJson(appVersion).c_str());
}

std::string CKestrumQualityUpload::reportJoinChannel(int code) {
    std::lock_guard<std::mutex> guard(mutex_);
    const DWORD now = GetTickCount();
    const int elapsed = static_cast<int>(now - startTick_);
    startTick_ = now;
    const std::string sid = EscapeJson(runId_);
    const std::string uid = EscapeJson(uid_);
    return send(kJoinFormat, kEventResult, sid.c_str(), sid.c_str(), uid.c_str(), uid.c_str(),
                netType_, Success(code), code, elapsed, Lts());
}

std::string CKestrumQualityUpload::reportHttpResult(const char* api, int code, unsigned elapsedMs) {
    const std::string apiText = api ? api : "";
    std::lock_guard<std::mutex> guard(mutex_);
    const std::string sid = EscapeJson(runId_);
    const std::string uid = EscapeJson(uid_);
    if (IsUploadApi(apiText.c_str())) {
        return send(kUploadResultFormat, kEventResult, sid.c_str(), sid.c_str(), uid.c_str(),
                    uid.c_str(), netType_, Success(code), code, Lts());
    }
    return send(kRequestResultFormat, kEventResult, sid.c_str(), sid.c_str(), uid.c_str(),
                uid.c_str(), netType_, Success(code), code, static_cast<int>(elapsedMs), Lts(),
                EscapeJson(apiText).c_str());
}
