#pragma once

#include <windows.h>
#include <iphlpapi.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "kestrum/common/singleton.h"

// Small quality events for the engine's own reporting channel: the application start, the time
// to join the media channel and the outcome of each service request. Each event is one JSON
// text {"rtc.report_customized_data":{...}} handed to the engine wrapper's SetParameters. Every
// event carries the run id (a GUID made at construction), the own uid known at construction and
// the network type found then. String values are JSON-escaped.
//
// Ownership: one instance through CSingleton<CKestrumQualityUpload>::getInstance, deleted by
// its holder at exit. Threads: the reports may be called on any thread (the UI thread and short
// report threads); one mutex serialises them, from building the text until the engine has it.
// They only use the engine wrapper CSingleton<CKestrumZuvra> that the UI thread has created.
// markStartTick is for the UI thread.
class CKestrumQualityUpload : public CSingleton<CKestrumQualityUpload> {
public:
    static constexpr size_t kEventBytes = 1024;
    static constexpr int kEventAppStart = 11;
    static constexpr int kEventResult = 10;
    static constexpr int kOsTypeWindows = 4;

    CKestrumQualityUpload();
    ~CKestrumQualityUpload() override;

    // The join time is measured from now.
    void markStartTick();

    // Each builds its event text, hands it to the engine wrapper and returns that text. Empty,
    // and nothing sent, when the text did not fit kEventBytes or when the wrapper does not exist
    // yet: a report never creates the wrapper (and with it the engine) on the caller's thread.
    // The engine's answer is not used.
    std::string reportAppStart(const std::string& appVersion);
    // success is code < 1; elapsed is the time since construction, markStartTick or the last
    // join report, whichever came last.
    std::string reportJoinChannel(int code);
    // For "feedback/uploadFeedback" and "account/portrait" without elapsed and requestType.
    std::string reportHttpResult(const char* api, int code, unsigned elapsedMs);

    const std::string& runId() const { return runId_; }
    int netType() const { return netType_; }

    // "%08X-%04X-%04x-%02X...": upper case but for the third group.
    static std::string FormatRunId(const GUID& guid);
    // 2 when an IP address of some adapter in the list reads "0.0.0.0", else 0. Writes each
    // adapter to the debugger output.
    static int NetTypeOfAdapters(const IP_ADAPTER_INFO* adapters);
    // NetTypeOfAdapters of the system's adapters; 0 when they cannot be listed.
    static int NetTypeOfSystem();
    // text with JSON string escapes (quotes, backslashes and control characters).
    static std::string EscapeJson(const std::string& text);

private:
    std::string send(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));

    std::mutex mutex_;
    std::string runId_;
    std::string uid_;
    int netType_ = 0;
    std::atomic<DWORD> startTick_{0};  // markStartTick writes it without the mutex
};
