#include "standin_parameters.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "engine_journal.h"
#include "kestrum/common/utf.h"
#include "standin_engine.h"

namespace kestrum::engine {

namespace {

std::string AnsiToUtf8(const char* text) {
    const int wideSize = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (wideSize <= 0) return std::string();
    std::wstring wide(wideSize, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], wideSize);
    return kestrum::common::WideToUtf8(wide.c_str());  // up to the terminator
}

}  // namespace

int VolumeIntervalOf(const char* json) {
    if (!json) return 0;
    const char* key = std::strstr(json, "\"interval\"");
    if (!key) return 0;
    const char* colon = std::strchr(key, ':');
    return colon ? std::atoi(colon + 1) : 0;
}

void StandInParameters::release() {
    JournalRecord(JournalCall("parameters.release"));
    delete this;
}

int StandInParameters::setString(const char* key, const char* value) {
    JournalRecord(JournalCall("parameters.setString", {JournalText(key), JournalText(value)}));
    return key && value ? 0 : -2;
}

int StandInParameters::setObject(const char* key, const char* json) {
    JournalRecord(JournalCall("parameters.setObject", {JournalText(key), JournalText(json)}));
    if (!key || !json) return -2;
    if (std::strcmp(key, "che.audio.volume_indication") == 0) {
        engine_.setVolumeInterval(VolumeIntervalOf(json));
    }
    return 0;
}

int StandInParameters::setParameters(const char* json) {
    JournalRecord(JournalCall("parameters.setParameters", {JournalText(json)}));
    return json ? 0 : -2;
}

int StandInParameters::convertPath(const char* path, zuvra::rtc::ITextObject** out) {
    JournalRecord(JournalCall("parameters.convertPath", {JournalText(path)}));
    if (!out) return -2;
    *out = nullptr;
    if (!path) return -2;
    *out = new StandInText(AnsiToUtf8(path));
    return 0;
}

}  // namespace kestrum::engine
