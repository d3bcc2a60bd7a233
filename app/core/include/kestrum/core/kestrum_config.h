#pragma once

#include <windows.h>

#include <string>

#include "kestrum/common/singleton.h"
#include "kestrum/core/ini_base.h"

// The program's settings and account state: section "BaseInfo" of "KestrumConfig.ini" in the
// program folder. Construction completes the file with its defaults and start-up values; each
// getter reads the file anew and each setter writes it at once, so a value written by one
// window is seen by the next reader. Every value is text; a missing key reads as "". The file is
// UTF-16 (see CIniBase): the texts a user names or the system lists (Nickname, PortraitPath,
// MicID, CameraID, Classname, ClassPwd) are read and written as UTF-8 and keep every character,
// whatever the ANSI code page; the other values (identifiers, tokens, numbers) are narrow texts
// in the ANSI code page.
//
// One instance, reached through CSingleton<CKestrumConfig>::getInstance and deleted by its
// holder at exit. Getters and setters may be called on any thread (the service library's
// callback threads write some keys); the file functions serialise access.
class CKestrumConfig : public ZuvraKestrum::Util::CIniBase, public CSingleton<CKestrumConfig> {
public:
    static constexpr const char* kSection = "BaseInfo";
    static constexpr const char* kDefaultAppId = "5b1e7c9a20d64f3e8a7b6c5d4e3f2a10";
    static constexpr const char* kDefaultPortraitPath = "profile picture-light.png";
    static constexpr const char* kUploadText = "Windows log upload.";
    // Bytes of "..\version.txt" that make the version.
    static constexpr size_t kVersionBytes = 10;

    // The file in the program's folder.
    CKestrumConfig();
    // The file in programFolder (ending in a backslash), with the version read from
    // "<programFolder>..\version.txt".
    explicit CKestrumConfig(const std::wstring& programFolder);

    // 1 (Chinese) when the locale's primary language is Chinese, whatever the region; else 0
    // (English).
    static int LanguageOfLocale(LCID locale);
    // LanguageOfLocale of the user's default locale.
    static int UserLanguage();

    std::string& getAppID(std::string& out) const { return read("AppID", out); }
    std::string& getAppVersion(std::string& out) const { return read("AppVersion", out); }
    std::string& getCameraID(std::string& out) const { return readUtf8("CameraID", out); }
    std::string& getEnableCamera(std::string& out) const { return read("EnableCamera", out); }
    std::string& getEnableMic(std::string& out) const { return read("EnableMic", out); }
    std::string& getLanguage(std::string& out) const { return read("Language", out); }
    std::string& getMediatoken(std::string& out) const { return read("Mediatoken", out); }
    std::string& getMicID(std::string& out) const { return readUtf8("MicID", out); }
    std::string& getNickname(std::string& out) const { return readUtf8("Nickname", out); }
    std::string& getPortraitId(std::string& out) const { return read("PortraitId", out); }
    std::string& getPortraitPath(std::string& out) const { return readUtf8("PortraitPath", out); }
    std::string& getSharetoken(std::string& out) const { return read("Sharetoken", out); }
    std::string& getStreamid(std::string& out) const { return read("Streamid", out); }
    std::string& getToken(std::string& out) const { return read("Token", out); }
    std::string& getUid(std::string& out) const { return read("Uid", out); }
    std::string& getUpdateOption(std::string& out) const { return read("UpdateOption", out); }
    std::string& getUpdateVersion(std::string& out) const { return read("UpdateVersion", out); }

    bool setAppID(const std::string& value) const { return write("AppID", value); }
    bool setAppVersion(const std::string& value) const { return write("AppVersion", value); }
    bool setCameraID(const std::string& value) const { return writeUtf8("CameraID", value); }
    bool setClassPwd(const std::string& value) const { return writeUtf8("ClassPwd", value); }
    bool setClassname(const std::string& value) const { return writeUtf8("Classname", value); }
    bool setEnableCamera(const std::string& value) const { return write("EnableCamera", value); }
    bool setEnableMic(const std::string& value) const { return write("EnableMic", value); }
    bool setLanguage(const std::string& value) const { return write("Language", value); }
    bool setMediaVersion(const std::string& value) const { return write("MediaVersion", value); }
    bool setMediatoken(const std::string& value) const { return write("Mediatoken", value); }
    bool setMicID(const std::string& value) const { return writeUtf8("MicID", value); }
    bool setNickname(const std::string& value) const { return writeUtf8("Nickname", value); }
    bool setOsVersion(const std::string& value) const { return write("OsVersion", value); }
    bool setPortraitId(const std::string& value) const { return write("PortraitId", value); }
    bool setPortraitPath(const std::string& value) const {
        return writeUtf8("PortraitPath", value);
    }
    bool setShareID(const std::string& value) const { return write("ShareID", value); }
    bool setSharetoken(const std::string& value) const { return write("Sharetoken", value); }
    bool setStreamid(const std::string& value) const { return write("Streamid", value); }
    bool setToken(const std::string& value) const { return write("Token", value); }
    bool setUid(const std::string& value) const { return write("Uid", value); }
    bool setUpdateOption(const std::string& value) const { return write("UpdateOption", value); }
    bool setUpdateVersion(const std::string& value) const { return write("UpdateVersion", value); }
    bool setUploadText(const std::string& value) const { return write("UploadText", value); }

private:
    std::string& read(const char* key, std::string& out) const {
        return ReadString(out, kSection, key);
    }
    bool write(const char* key, const std::string& value) const {
        return WriteString(kSection, key, value);
    }
    // The stored UTF-16 converted straight to UTF-8 and back: never through the ANSI code page,
    // which would lose what it lacks.
    std::string& readUtf8(const char* key, std::string& out) const;
    bool writeUtf8(const char* key, const std::string& value) const;
    void writeDefault(const char* key, const char* value) const;
    static std::string ReadVersion(const std::wstring& path);
};
