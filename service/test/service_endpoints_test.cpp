#include "service_endpoints.h"

#include <gtest/gtest.h>

#include <map>

namespace kestrum::service {
namespace {

std::map<std::string, std::string> environment;

std::string Lookup(const char* name) {
    auto it = environment.find(name);
    return it == environment.end() ? std::string() : it->second;
}

TEST(ServiceEndpointsTest, DefaultsNameFiveProxiesOnPort4000) {
    environment.clear();
    const ServiceEndpoints endpoints = ServiceEndpoints::FromLookup(&Lookup);
    EXPECT_EQ(endpoints.serviceUrl.rfind("https://", 0), 0u);
    EXPECT_EQ(endpoints.serviceUrl.back(), '/');
    EXPECT_EQ(endpoints.proxies.size(), 5u);
    EXPECT_EQ(endpoints.proxyPort, 4000u);
}

TEST(ServiceEndpointsTest, EnvironmentOverridesEachPart) {
    environment = {{"KESTRUM_SERVICE_URL", "http://127.0.0.1:8080"},
                   {"KESTRUM_FEEDBACK_URL", "http://127.0.0.1:8081/"},
                   {"KESTRUM_PROXIES", " 127.0.0.2, 127.0.0.3 ,,"},
                   {"KESTRUM_PROXY_PORT", "4100"}};
    const ServiceEndpoints endpoints = ServiceEndpoints::FromLookup(&Lookup);
    EXPECT_EQ(endpoints.serviceUrl, "http://127.0.0.1:8080/");
    EXPECT_EQ(endpoints.feedbackUrl, "http://127.0.0.1:8081/");
    EXPECT_EQ(endpoints.proxies, (std::vector<std::string>{"127.0.0.2", "127.0.0.3"}));
    EXPECT_EQ(endpoints.proxyPort, 4100u);
}

TEST(ServiceEndpointsTest, UnusablePortKeepsTheDefault) {
    environment = {{"KESTRUM_PROXY_PORT", "70000"}};
    EXPECT_EQ(ServiceEndpoints::FromLookup(&Lookup).proxyPort, 4000u);
    environment = {{"KESTRUM_PROXY_PORT", "four"}};
    EXPECT_EQ(ServiceEndpoints::FromLookup(&Lookup).proxyPort, 4000u);
}

}  // namespace
}  // namespace kestrum::service
