#include "kestrum/core/kestrum_config.h"

#include "kestrum/common/utf.h"
#include "kestrum/core/log_file.h"
#include "kestrum/core/util_path.h"
#include "kestrum/core/util_text.h"

CKestrumConfig::CKestrumConfig() : CKestrumConfig(ZuvraKestrum::Util::GetExeDirW()) {}

CKestrumConfig::CKestrumConfig(const std::wstring& programFolder)
    : CIniBase(programFolder + L"KestrumConfig.ini") {
    writeDefault("AppID", kDefaultAppId);
    writeDefault("EnableCamera", "0");
    writeDefault("EnableMic", "0");
    setLanguage(ZuvraKestrum::Util::IntToString(UserLanguage()));
    // Beside the program's folder, not the working directory, which depends on how the program
    // was started.
    const std::string version = ReadVersion(programFolder + L"..\\version.txt");
    setUploadText(kUploadText);
    writeDefault("PortraitPath", kDefaultPortraitPath);
    setAppVersion(version);
}

int CKestrumConfig::LanguageOfLocale(LCID locale) {
    return (locale & 0xFF) == LANG_CHINESE ? 1 : 0;
}

int CKestrumConfig::UserLanguage() { return LanguageOfLocale(GetUserDefaultLCID()); }

std::string& CKestrumConfig::readUtf8(const char* key, std::string& out) const {
    std::wstring value;
    out = kestrum::common::WideToUtf8(ReadString(value, kSection, key));
    return out;
}

bool CKestrumConfig::writeUtf8(const char* key, const std::string& value) const {
    return WriteString(kSection, key, kestrum::common::Utf8ToWide(value));
}

void CKestrumConfig::writeDefault(const char* key, const char* value) const {
    std::string current;
    if (read(key, current).empty()) write(key, value);
}

std::string CKestrumConfig::ReadVersion(const std::wstring& path) {
    ZuvraKestrum::Util::CLogFile file;
    if (!file.OpenForReading(path)) return std::string();
    char buffer[kVersionBytes] = {};
    const DWORD read = file.Read(buffer, sizeof buffer);
    std::string version(buffer, read);
    version.resize(version.find('\0') == std::string::npos ? version.size() : version.find('\0'));
    // An editor's line end or blanks are not part of the version.
    const std::string::size_type end = version.find_last_not_of(" \t\r\n");
    version.resize(end == std::string::npos ? 0 : end + 1);
    return version;
}
