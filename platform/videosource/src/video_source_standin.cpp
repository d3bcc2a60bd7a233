// Stand-in for the screen-share video source: records each call of each source object, so that
// the program's share flow can be checked, and announces the share in the channel folder (see
// channel_folder.h) while it is in a channel, so that engines of other processes see it join.

#include <atomic>
#include <string>

#include "kestrum/engine/call_journal.h"
#include "kestrum/engine/channel_folder.h"
#include "kestrum/videosource/video_source.h"
#include "kestrum/videosource/video_source_journal.h"

using kestrum::standin::CallJournal;
using kestrum::standin::JournalCall;
using kestrum::standin::JournalText;

namespace {

CallJournal& Journal() {
    // Never freed: calls may come during process exit.
    static auto* journal = new CallJournal(L"KESTRUM_VIDEOSOURCE_JOURNAL");
    return *journal;
}

std::atomic<int> madeCount{0};
std::atomic<int> liveCount{0};

std::string Number(long long value) { return std::to_string(value); }

class StandInVideoSource final : public IVideoSource {
public:
    StandInVideoSource() : name_("source" + Number(++madeCount)) {
        ++liveCount;
        record("create");
    }

    void release() override {
        record("release");
        --liveCount;
        delete this;
    }
    bool initialize(const char* appId) override {
        record("initialize", {JournalText(appId)});
        return appId && *appId;
    }
    int setChannelProfile(int profile) override {
        record("setChannelProfile", {Number(profile)});
        return 0;
    }
    int startCapture(HWND window, int captureFps, CaptureRegion region, int bitrate) override {
        record("startCapture",
               {window ? "window" : "null", Number(captureFps), Number(region.x), Number(region.y),
                Number(region.cx), Number(region.cy), Number(bitrate)});
        return 0;
    }
    int stopCapture() override {
        record("stopCapture");
        return 0;
    }
    int setParameters(const char* parameters) override {
        record("setParameters", {JournalText(parameters)});
        return parameters ? 0 : -2;
    }
    int joinChannel(const char* token, const char* channel, const char* info,
                    uint32_t uid) override {
        record("joinChannel",
               {JournalText(token), JournalText(channel), JournalText(info), Number(uid)});
        if (!channel) return -2;
        channelFolder_.enter(channel, uid);
        return 0;
    }
    int leaveChannel() override {
        record("leaveChannel");
        channelFolder_.leave();
        return 0;
    }

private:
    ~StandInVideoSource() = default;
    void record(const char* operation, std::initializer_list<std::string> arguments = {}) {
        Journal().record(JournalCall((name_ + "." + operation).c_str(), arguments));
    }

    std::string name_;
    kestrum::standin::ChannelFolder channelFolder_;
};

}  // namespace

extern "C" {

IVideoSource* __cdecl zuvraCreateVideoSource() { return new StandInVideoSource; }

size_t __cdecl KestrumVideoSourceJournal(char* buffer, size_t capacity) {
    return Journal().copyTo(buffer, capacity);
}

void __cdecl KestrumVideoSourceJournalClear() { Journal().clear(); }

int __cdecl KestrumVideoSourceLiveCount() { return liveCount.load(); }

}  // extern "C"
