#include "service_endpoints.h"

#include <windows.h>

#include <cstdlib>

#include "kestrum/common/utf.h"

namespace kestrum::service {
namespace {

const char kDefaultServiceUrl[] = "https://meeting.kestrum.example/";
const char kDefaultFeedbackUrl[] = "https://feedback.kestrum.example/";
const char* const kDefaultProxies[] = {"proxy1.kestrum.example", "proxy2.kestrum.example",
                                       "proxy3.kestrum.example", "proxy4.kestrum.example",
                                       "proxy5.kestrum.example"};

std::string WithTrailingSlash(std::string url) {
    if (url.empty() || url.back() != '/') url += '/';
    return url;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::string::size_type start = 0;
    while (start <= text.size()) {
        std::string::size_type comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        std::string item = text.substr(start, comma - start);
        const auto first = item.find_first_not_of(" \t");
        const auto last = item.find_last_not_of(" \t");
        if (first != std::string::npos) items.push_back(item.substr(first, last - first + 1));
        start = comma + 1;
    }
    return items;
}

}  // namespace

ServiceEndpoints ServiceEndpoints::FromLookup(std::string (*lookup)(const char* name)) {
    ServiceEndpoints endpoints;
    const std::string service = lookup("KESTRUM_SERVICE_URL");
    const std::string feedback = lookup("KESTRUM_FEEDBACK_URL");
    const std::string proxies = lookup("KESTRUM_PROXIES");
    const std::string port = lookup("KESTRUM_PROXY_PORT");
    endpoints.serviceUrl = WithTrailingSlash(service.empty() ? kDefaultServiceUrl : service);
    endpoints.feedbackUrl = WithTrailingSlash(feedback.empty() ? kDefaultFeedbackUrl : feedback);
    endpoints.proxies = SplitList(proxies);
    if (endpoints.proxies.empty()) {
        endpoints.proxies.assign(std::begin(kDefaultProxies), std::end(kDefaultProxies));
    }
    const unsigned long parsed = std::strtoul(port.c_str(), nullptr, 10);
    if (parsed > 0 && parsed < 65536) endpoints.proxyPort = static_cast<unsigned>(parsed);
    return endpoints;
}

std::string EnvironmentText(const char* name) {
    const std::wstring wideName = kestrum::common::Utf8ToWide(name);
    const DWORD needed = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (needed == 0) return std::string();
    std::wstring value(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), &value[0], needed);
    if (length == 0 || length >= needed) return std::string();
    return kestrum::common::WideToUtf8(std::wstring_view(value.data(), length));
}

const char kAccountPrefix[] = "usrservice/v1/";
const char kMeetingPrefix[] = "kmrservice/";
const char kFeedbackPrefix[] = "";

std::string AccountBaseUrl() { return Endpoints().serviceUrl + kAccountPrefix; }
std::string MeetingBaseUrl() { return Endpoints().serviceUrl + kMeetingPrefix; }
std::string FeedbackBaseUrl() { return Endpoints().feedbackUrl; }

const ServiceEndpoints& Endpoints() {
    static const ServiceEndpoints endpoints = ServiceEndpoints::FromLookup(&EnvironmentText);
    return endpoints;
}

}  // namespace kestrum::service
