#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "kestrum/engine/engine_standin_hook.h"
#include "kestrum/engine/zuvra_rtc_engine.h"
#include "kestrum/testing/line_recorder.h"

namespace {

using namespace zuvra::rtc;

std::string Journal() {
    const size_t length = KestrumEngineJournal(nullptr, 0);
    std::string text(length + 1, '\0');
    KestrumEngineJournal(&text[0], text.size());
    text.resize(length);
    return text;
}

// Keeps each event as a line and lets the test wait for one.
class RecordingHandler : public IRtcEngineEventHandler {
public:
    void onJoinChannelSuccess(const char* channel, uint32_t uid, int) override {
        add("join " + std::string(channel) + " " + std::to_string(uid));
    }
    void onLeaveChannel(const RtcStats&) override { add("leave"); }
    void onLastmileQuality(int quality) override { add("probe " + std::to_string(quality)); }
    void onAudioVolumeIndication(const AudioVolumeInfo* speakers, unsigned count, int) override {
        std::string line = "volume";
        for (unsigned i = 0; i < count; ++i) line += " " + std::to_string(speakers[i].uid);
        add(line);
    }
    void onUserJoined(uint32_t uid, int elapsed) override {
        add("userJoined " + std::to_string(uid) + " " + std::to_string(elapsed));
    }
    void onUserOffline(uint32_t uid, uint32_t reason) override {
        add("userOffline " + std::to_string(uid) + " " + std::to_string(reason));
    }
    void onUserMuteVideo(uint32_t uid, bool muted) override {
        add("muteVideo " + std::to_string(uid) + " " + std::to_string(muted));
    }
    void onError(int code, const char* text) override {
        add("error " + std::to_string(code) + " " + (text ? text : "(null)"));
    }
    void onFirstLocalVideoFrame(int, int, int) override {
        firstLocalFrame = std::chrono::steady_clock::now();
        add("firstLocalFrame");
    }

    std::chrono::steady_clock::time_point firstLocalFrame;

    // Waits until `count` events start with prefix; returns how many do (fewer when they did
    // not come by the tests' timeout).
    size_t waitFor(const std::string& prefix, size_t count) {
        events_.WaitForPrefix(prefix, count);
        return this->count(prefix);
    }
    size_t count(const std::string& prefix) const { return events_.CountPrefix(prefix); }
    std::vector<std::string> events() const { return events_.Lines(); }

private:
    void add(const std::string& line) { events_.Add(line); }

    kestrum::testing_support::LineRecorder events_;
};

class StandInEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        KestrumEngineJournalClear();
        KestrumEngineInject("resetDevices");
        engine_ = zuvraCreateEngine();
        ASSERT_NE(engine_, nullptr);
        engine_->initialize(EngineContext{&handler_, "app", 0});
    }
    void TearDown() override {
        if (engine_) engine_->release(0);
    }

    template <class Interface>
    Interface* query(int id) {
        void* out = nullptr;
        EXPECT_EQ(engine_->queryInterface(id, &out), 0);
        return static_cast<Interface*>(out);
    }

    RecordingHandler handler_;
    IEngine* engine_ = nullptr;
};

TEST_F(StandInEngineTest, EntryPointsAreExportedByOrdinalOnly) {
    HMODULE module = GetModuleHandleW(L"zuvra_rtc_sdk.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(2)), nullptr);
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(3)), nullptr);
    EXPECT_EQ(GetProcAddress(module, "zuvraCreateEngine"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "zuvraGetVersion"), nullptr);
    int build = 0;
    EXPECT_STRNE(zuvraGetVersion(&build), "");
    EXPECT_GT(build, 0);
}

TEST_F(StandInEngineTest, JoinAndLeaveAreAnsweredByEvents) {
    EXPECT_EQ(engine_->joinChannel("token", "room", "", 42), 0);
    EXPECT_EQ(handler_.waitFor("join room 42", 1), 1u);
    EXPECT_EQ(engine_->leaveChannel(), 0);
    EXPECT_EQ(handler_.waitFor("leave", 1), 1u);
    EXPECT_NE(Journal().find("engine.initialize(handler,app,0)\n"
                             "engine.joinChannel(token,room,,42)\n"
                             "engine.leaveChannel()\n"),
              std::string::npos);
}

TEST_F(StandInEngineTest, ProbeReportsRepeatedlyUntilStopped) {
    KestrumEngineInject("lastmileQuality 3");
    engine_->startLastmileProbeTest();
    EXPECT_EQ(handler_.waitFor("probe 3", 2), 2u);
    engine_->stopLastmileProbeTest();
    const size_t seen = handler_.count("probe");
    Sleep(2 * 500);
    EXPECT_LE(handler_.count("probe"), seen + 1);
}

TEST_F(StandInEngineTest, VolumeIndicationListsTheOwnAndTheJoinedRemoteUsers) {
    auto* parameters = query<IEngineParameters>(kEngineParameters);
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(
        parameters->setObject("che.audio.volume_indication", "{\"interval\":200,\"smooth\":3}"), 0);
    parameters->release();
    engine_->joinChannel("t", "room", "", 7);
    ASSERT_EQ(handler_.waitFor("join", 1), 1u);
    ASSERT_EQ(KestrumEngineInject("userJoined 99 15"), 0);
    EXPECT_GE(handler_.waitFor("volume 0 99", 2), 2u);
}

TEST_F(StandInEngineTest, APreviewShowsItsFirstPictureWithoutWaitingForTheNextFrame) {
    HWND view = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(view, nullptr);
    // The join's pass has just run: the next one is a whole frame period (100 ms) away.
    engine_->joinChannel("t", "room", "", 7);
    ASSERT_EQ(handler_.waitFor("join", 1), 1u);
    engine_->setupLocalVideo(VideoView{view, 2, 0, 0});
    const auto asked = std::chrono::steady_clock::now();
    engine_->startPreview();
    ASSERT_EQ(handler_.waitFor("firstLocalFrame", 1), 1u);
    EXPECT_LT(handler_.firstLocalFrame - asked, std::chrono::milliseconds(50));
    DestroyWindow(view);
}

TEST_F(StandInEngineTest, InjectedEventsReachTheHandler) {
    EXPECT_EQ(KestrumEngineInject("userJoined 5 120"), 0);
    EXPECT_EQ(KestrumEngineInject("userMuteVideo 5 1"), 0);
    EXPECT_EQ(KestrumEngineInject("error 17 no route"), 0);
    EXPECT_EQ(KestrumEngineInject("error 18"), 0);
    EXPECT_EQ(KestrumEngineInject("jump 5"), -1);
    EXPECT_EQ(KestrumEngineInject("userJoined"), -1);
    EXPECT_EQ(KestrumEngineInject(nullptr), -1);
    EXPECT_EQ(handler_.events(),
              (std::vector<std::string>{"userJoined 5 120", "muteVideo 5 1", "error 17 no route",
                                        "error 18 (null)"}));
}

TEST_F(StandInEngineTest, InjectionWithoutALiveEngineIsRefused) {
    engine_->release(0);
    engine_ = nullptr;
    EXPECT_EQ(KestrumEngineInject("userJoined 5 120"), -2);
}

TEST_F(StandInEngineTest, DeviceListsGiveUtf8TextsAndFillLongTextsWithoutNul) {
    ASSERT_EQ(KestrumEngineInject(("addCamera cam-long " + std::string(600, 'N')).c_str()), 0);
    auto* cameras = query<ICameraManager>(kCameraManager);
    ASSERT_NE(cameras, nullptr);
    IDeviceList* list = cameras->enumerateCameras();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 3);
    char name[IDeviceList::kTextBytes];
    char id[IDeviceList::kTextBytes];
    ASSERT_EQ(list->get(1, name, id), 0);
    EXPECT_STREQ(id, "camera-\xC3\x9C-2");
    ASSERT_EQ(list->get(2, name, id), 0);
    EXPECT_EQ(std::string(name, sizeof name), std::string(sizeof name, 'N'));
    EXPECT_NE(list->get(3, name, id), 0);
    list->release();
    EXPECT_EQ(cameras->setCamera("camera-1"), 0);
    cameras->release();
    EXPECT_NE(
        Journal().find("cameraList.release()\ncamera.setDevice(camera-1)\ncamera.release()\n"),
        std::string::npos);
}

TEST_F(StandInEngineTest, ConvertPathGivesTheUtf8Path) {
    auto* parameters = query<IEngineParameters>(kEngineParameters);
    ASSERT_NE(parameters, nullptr);
    ITextObject* text = nullptr;
    ASSERT_EQ(parameters->convertPath("C:\\logs\\engine.log", &text), 0);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->text(), "C:\\logs\\engine.log");
    text->release();
    EXPECT_NE(parameters->convertPath(nullptr, &text), 0);
    EXPECT_EQ(text, nullptr);
    parameters->release();
}

// Users of other processes, announced as files of the channel's folder, join and leave; the
// engine's own file lasts while it is in the channel.
TEST(StandInEngineFolder, UsersOfTheChannelFolderJoinAndLeave) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root =
        std::wstring(temp) + L"kestrum-channels-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    SetEnvironmentVariableW(L"KESTRUM_ENGINE_CHANNELS", root.c_str());
    RecordingHandler handler;
    IEngine* engine = zuvraCreateEngine();
    SetEnvironmentVariableW(L"KESTRUM_ENGINE_CHANNELS", nullptr);
    engine->initialize(EngineContext{&handler, "app", 0});
    // A channel name that is no file name stays one folder below the root.
    ASSERT_EQ(engine->joinChannel("", "r/..\\1", "", 5), 0);
    const std::wstring folder = root + L"r%2F%2E%2E%5C1\\";
    ASSERT_EQ(handler.waitFor("join", 1), 1u);
    EXPECT_NE(GetFileAttributesW((folder + L"5").c_str()), INVALID_FILE_ATTRIBUTES);

    CloseHandle(
        CreateFileW((folder + L"77").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    CloseHandle(CreateFileW((folder + L"77.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                            nullptr));
    ASSERT_EQ(handler.waitFor("userJoined 77 ", 1), 1u);
    DeleteFileW((folder + L"77").c_str());
    ASSERT_EQ(handler.waitFor("userOffline 77 0", 1), 1u);
    EXPECT_EQ(handler.count("userJoined"), 1u);

    engine->leaveChannel();
    EXPECT_EQ(GetFileAttributesW((folder + L"5").c_str()), INVALID_FILE_ATTRIBUTES);
    engine->release(0);
    DeleteFileW((folder + L"77.tmp").c_str());
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(root.c_str());
}

}  // namespace
