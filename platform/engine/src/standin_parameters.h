#pragma once

#include <string>

#include "kestrum/engine/zuvra_rtc_engine.h"

namespace kestrum::engine {

class StandInEngine;

// One parameter interface per query: objects of different threads share nothing but the
// journal and the engine's locked state, so two threads may use theirs at once.
class StandInParameters final : public zuvra::rtc::IEngineParameters {
public:
    explicit StandInParameters(StandInEngine& engine) : engine_(engine) {}
    void release() override;
    int setString(const char* key, const char* value) override;
    int setObject(const char* key, const char* json) override;
    int setParameters(const char* json) override;
    int convertPath(const char* path, zuvra::rtc::ITextObject** out) override;

private:
    ~StandInParameters() = default;
    StandInEngine& engine_;
};

// The UTF-8 form of a path in the ANSI code page, as the engine opens files.
class StandInText final : public zuvra::rtc::ITextObject {
public:
    explicit StandInText(std::string text) : text_(std::move(text)) {}
    const char* text() override { return text_.c_str(); }
    void release() override { delete this; }

private:
    ~StandInText() = default;
    std::string text_;
};

// The interval of a volume-indication object text ({"interval":2000,"smooth":3}); 0 when the
// text has none.
int VolumeIntervalOf(const char* json);

}  // namespace kestrum::engine
