#include "proxy_pool.h"

#include <algorithm>

#include "api_names.h"
#include "debug_log.h"
#include "service_endpoints.h"

namespace kestrum::service {
namespace {
constexpr float kFreshPriority = 3.0f;
constexpr float kHopelessPriority = 10.0f;
}  // namespace

CProxyPool::CProxyPool(const std::string& baseUrl, const std::string& servicePrefix,
                       const std::string& path, const std::vector<std::string>& proxies,
                       unsigned proxyPort, size_t answerLimit)
    : CCurlObject(path, answerLimit), rerates_(path != api::kPortrait) {
    if (!baseUrl.empty()) candidates_.push_back({baseUrl + path, kFreshPriority});
    const std::string port = ":" + std::to_string(proxyPort) + "/";
    for (const std::string& proxy : proxies) {
        candidates_.push_back({"http://" + proxy + port + servicePrefix + path, kFreshPriority});
    }
    EnableFailover();
    BackToFirst();
}

CProxyPool::CProxyPool(const std::string& baseUrl, const std::string& servicePrefix,
                       const std::string& path, size_t answerLimit)
    : CProxyPool(baseUrl, servicePrefix, path, Endpoints().proxies, Endpoints().proxyPort,
                 answerLimit) {}

void CProxyPool::Rate(double seconds) {
    if (current_ >= candidates_.size()) return;
    float& priority = candidates_[current_].priority;
    priority = static_cast<float>((seconds + priority) * 0.5);
}

void CProxyPool::SortByPriority() {
    std::stable_sort(
        candidates_.begin(), candidates_.end(),
        [](const ProxyEntry& a, const ProxyEntry& b) { return a.priority < b.priority; });
}

void CProxyPool::BackToFirst() {
    current_ = 0;
    currentUrl_ = candidates_.empty() ? std::string() : candidates_.front().url;
}

void CProxyPool::OnFail() {
    if (!MoveOnAfterFailure(ElapsedMs())) EndRetries();
}

void CProxyPool::OnDone() { RerateAfterRequest(ElapsedMs()); }

void CProxyPool::OnStopped() { BackToFirst(); }

bool CProxyPool::MoveOnAfterFailure(DWORD attemptMs) {
    if (rerates_) Rate(attemptMs * 1.2 / 1000);
    ++current_;
    const bool moreLeft = current_ < candidates_.size();
    if (moreLeft) currentUrl_ = candidates_[current_].url;
    LogPriorities(attemptMs);
    ResetHopelessRatings();
    if (!moreLeft) {
        if (rerates_) SortByPriority();
        BackToFirst();
    }
    return moreLeft;
}

void CProxyPool::RerateAfterRequest(DWORD lastAttemptMs) {
    if (rerates_) {
        Rate(lastAttemptMs / 1000.0);
        SortByPriority();
    }
    LogPriorities(lastAttemptMs);
    ResetHopelessRatings();
    BackToFirst();
}

void CProxyPool::LogPriorities(DWORD interval) const {
    DebugLog("Interval: %lu\n", static_cast<unsigned long>(interval));
    for (const ProxyEntry& entry : candidates_) {
        DebugLog("IP: %s, dPriority: %f \n", entry.url.c_str(), entry.priority);
    }
}

void CProxyPool::ResetHopelessRatings() {
    const bool hopeless =
        !candidates_.empty() &&
        std::all_of(candidates_.begin(), candidates_.end(),
                    [](const ProxyEntry& e) { return e.priority >= kHopelessPriority; });
    if (!hopeless) return;
    for (ProxyEntry& entry : candidates_) entry.priority = kFreshPriority;
}

}  // namespace kestrum::service
