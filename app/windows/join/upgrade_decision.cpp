#include "app/windows/join/upgrade_decision.h"

#include <algorithm>
#include <vector>

namespace ZuvraKestrum::Join {

namespace {

constexpr size_t kStoredDecimals = 6;  // what "%f" writes

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The numbers of a version text, one per dot-separated part.
std::vector<unsigned long long> Parts(const std::string& text) {
    std::vector<unsigned long long> parts;
    const std::string trimmed = Trimmed(text);
    size_t at = 0;
    do {
        unsigned long long value = 0;
        size_t i = at;
        for (; i < trimmed.size() && trimmed[i] >= '0' && trimmed[i] <= '9'; ++i) {
            // A number too long to matter saturates instead of wrapping.
            if (value < 1000000000000000ull) value = value * 10 + (trimmed[i] - '0');
        }
        parts.push_back(value);
        const size_t dot = trimmed.find('.', at);
        if (dot == std::string::npos) break;
        at = dot + 1;
    } while (true);
    return parts;
}

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

int CompareVersions(const std::string& a, const std::string& b) {
    const std::vector<unsigned long long> left = Parts(a);
    const std::vector<unsigned long long> right = Parts(b);
    const size_t count = std::max(left.size(), right.size());
    for (size_t i = 0; i < count; ++i) {
        const unsigned long long x = i < left.size() ? left[i] : 0;
        const unsigned long long y = i < right.size() ? right[i] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

std::string ReadStoredVersion(const std::string& text) {
    const std::string trimmed = Trimmed(text);
    const size_t dot = trimmed.find('.');
    if (dot == std::string::npos || dot == 0) return trimmed;
    const std::string whole = trimmed.substr(0, dot);
    std::string fraction = trimmed.substr(dot + 1);
    if (!AllDigits(whole) || !AllDigits(fraction) || fraction.size() != kStoredDecimals) {
        return trimmed;
    }
    while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
    return whole + "." + fraction;
}

UpgradeOffer DecideUpgrade(const UpgradeInputs& inputs) {
    UpgradeOffer offer;
    if (CompareVersions(inputs.minimumVersion, inputs.appVersion) > 0) {
        offer.kind = UpgradeOffer::kForced;
        offer.argument = inputs.minimumArgument;
        return offer;
    }
    if (CompareVersions(inputs.latestVersion, inputs.appVersion) <= 0) return offer;
    const bool declined = !(inputs.updateOption.empty() || inputs.updateOption == "0");
    const std::string offered = ReadStoredVersion(inputs.updateVersion);
    if (declined || CompareVersions(inputs.latestVersion, offered) <= 0) return offer;
    offer.kind = UpgradeOffer::kOptional;
    offer.argument = inputs.latestArgument;
    offer.rememberVersion = inputs.latestVersion;
    return offer;
}

}  // namespace ZuvraKestrum::Join
