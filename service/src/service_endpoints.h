#pragma once

#include <string>
#include <vector>

namespace kestrum::service {

// Where the requests go: the service host (account and meeting services), the upload host and
// the proxies. Compiled-in defaults, each overridable by an environment variable read once when
// the library loads:
//   KESTRUM_SERVICE_URL   service host, e.g. "https://meeting.example.com/"
//   KESTRUM_FEEDBACK_URL  upload host, e.g. "https://feedback.example.com/"
//   KESTRUM_PROXIES       proxy addresses separated by commas, e.g. "10.0.0.2,10.0.0.3"
//   KESTRUM_PROXY_PORT    port of every proxy (4000 unless set)
// Host URLs always end in '/' here.
struct ServiceEndpoints {
    std::string serviceUrl;
    std::string feedbackUrl;
    std::vector<std::string> proxies;
    unsigned proxyPort = 4000;

    // The defaults with the given lookup applied (the lookup returns "" for unset names).
    static ServiceEndpoints FromLookup(std::string (*lookup)(const char* name));
};

// The process-wide endpoints, read from the environment on first use (DllMain makes that the
// load of the library). Safe on any thread.
const ServiceEndpoints& Endpoints();

// Service prefixes of the three services and their base URLs on the configured hosts.
extern const char kAccountPrefix[];   // "usrservice/v1/"
extern const char kMeetingPrefix[];   // "kmrservice/"
extern const char kFeedbackPrefix[];  // ""
std::string AccountBaseUrl();
std::string MeetingBaseUrl();
std::string FeedbackBaseUrl();

// An environment variable as UTF-8, "" when unset.
std::string EnvironmentText(const char* name);

}  // namespace kestrum::service
