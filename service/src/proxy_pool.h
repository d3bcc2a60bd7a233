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
    // answerLimit: as CCurlObject's.
    CProxyPool(const std::string& baseUrl, const std::string& servicePrefix,
               const std::string& apiPath, const std::vector<std::string>& proxies,
               unsigned proxyPort, size_t answerLimit = kMaxJsonAnswerBytes);
    // The same with the library's configured proxies.
    CProxyPool(const std::string& baseUrl, const std::string& servicePrefix,
               const std::string& apiPath, size_t answerLimit = kMaxJsonAnswerBytes);

    const std::vector<ProxyEntry>& Candidates() const { return candidates_; }

protected:
    // The URL of the candidate the next attempt uses (empty without candidates).
    const std::string& CurrentUrl() const { return currentUrl_; }

    // The retry loop's steps; OnFail and OnDone hand ElapsedMs() to the two below.
    void OnFail() override;
    void OnDone() override;
    void OnStopped() override;
    // After a failed attempt of attemptMs: rates the current candidate (1.2 times the time
    // counts) and moves to the next. False when none is left: the list is then re-sorted and
    // starts over at its best.
    [[nodiscard]] bool MoveOnAfterFailure(DWORD attemptMs);
    // After the request (its last attempt took lastAttemptMs): rates the current candidate,
    // re-sorts and starts over at the best.
    void RerateAfterRequest(DWORD lastAttemptMs);

private:
    // Traces the interval and every candidate's rating.
    void LogPriorities(DWORD interval) const;
    // When every rating has sunk to 10.0 or worse, they all start over at 3.0.
    void ResetHopelessRatings();
    void Rate(double seconds);
    void SortByPriority();
    void BackToFirst();

    // The portrait kinds share one api path; their candidates are walked but never re-rated.
    const bool rerates_;
    std::vector<ProxyEntry> candidates_;
    size_t current_ = 0;
    std::string currentUrl_;
};

}  // namespace kestrum::service
