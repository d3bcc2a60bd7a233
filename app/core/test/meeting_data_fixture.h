#pragma once

#include <memory>
#include <string>

#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_data.h"
#include "temp_folder.h"

// A meeting data object over a configuration in a temporary folder, installed as g_kestrumData
// for the object's life unless `installed` is false (window tests hand it to their windows'
// host, as the program's hosts hand the windows the global).
class MeetingDataFixture {
public:
    explicit MeetingDataFixture(bool installed = true) : installed_(installed) {
        WriteFileBytes(root_.path() + L"version.txt", "3.2.1");
        config_ = std::make_unique<CKestrumConfig>(bin_);
        config_->setUid("uid-at-start");
        // No log file: the shared log would stay open beyond the folder while loggers live.
        data_ = std::make_unique<CKestrumData>(L"", *config_);
        if (installed_) g_kestrumData = data_.get();
    }
    ~MeetingDataFixture() {
        if (installed_) g_kestrumData = nullptr;
    }
    MeetingDataFixture(const MeetingDataFixture&) = delete;
    MeetingDataFixture& operator=(const MeetingDataFixture&) = delete;

    CKestrumData& data() { return *data_; }

private:
    const bool installed_;
    TempFolder root_;
    std::wstring bin_ = root_.MakeFolder(L"bin");
    std::unique_ptr<CKestrumConfig> config_;
    std::unique_ptr<CKestrumData> data_;
};
