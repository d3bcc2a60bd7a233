#pragma once

#include <string>
#include <vector>

#include "curl_object.h"

namespace kestrum::service {

struct ProxyEntry {
    std::string url;
    float priority;  // lower is better; behaves like an average attempt time in seconds
};

// The candidate servers of one request kind with their ratings: a failed attempt moves on to
// the next candidate, and after each request the list is re-rated and re-sorted so that the next
// request of the kind starts with the best one. The ratings live as long as the object.
// Threads: as CCurlObject (the list is touched by the worker and by Restart's prepare step).
class CProxyPool : public CCurlObject {
public:
    // Candidates: baseUrl + apiPath (when baseUrl is not empty), then for each proxy
    // "http://" + proxy + ":" + proxyPort + "/" + servicePrefix + apiPath; all rated 3.0.
    CProxyPool(const std::string& baseUrl, const std::string& servicePrefix,
               const std::string& apiPath, const std::vector<std::string>& proxies,
               unsigned proxyPort);
    // The same with the library's configured proxies.
    CProxyPool(const std::string& baseUrl, const std::string& servicePrefix,
               const std::string& apiPath);

    const std::vector<ProxyEntry>& Candidates() const { return candidates_; }

protected:
    void OnFail() override;
    void OnDone() override;
    void OnStopped() override;
    // Traces the interval and every candidate's rating.
    void LogPriorities(DWORD interval) const;
    // When every rating has sunk to 10.0 or worse, they all start over at 3.0.
    void ResetHopelessRatings();

private:
    // The portrait kinds share one api path; their candidates are walked but never re-rated.
    bool Rerates() const;
    void Rate(double seconds);
    void SortByPriority();
    void BackToFirst();

    std::vector<ProxyEntry> candidates_;
    size_t current_ = 0;
};

}  // namespace kestrum::service
