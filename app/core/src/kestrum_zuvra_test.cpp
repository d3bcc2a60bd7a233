#include "kestrum/core/kestrum_zuvra.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "engine_journal.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/util_text.h"
#include "locale_expectation.h"
#include "meeting_data_fixture.h"
#include "message_window.h"

// As the program does: the holders delete the instances when the process exits.
CSingleton<CKestrumConfig>::CGrabo configHolder;
CSingleton<CKestrumZuvra>::CGrabo zuvraHolder;

namespace {

using ZuvraKestrum::Util::CStringToString;

constexpr const char* kAppId = "5b1e7c9a20d64f3e8a7b6c5d4e3f2a10";
constexpr const char* kAskParameters = "engine.queryInterface(3)\n";
constexpr const char* kGiveParametersBack = "parameters.release()\n";

// One parameter call as the journal shows it: query, call, release.
std::string ParameterCall(const std::string& call) {
    return kAskParameters + call + "\n" + kGiveParametersBack;
}

class KestrumZuvraTest : public ::testing::Test {
protected:
    void SetUp() override {
        KestrumEngineInject("resetDevices");
        KestrumEngineJournalClear();
        zuvra_ = std::make_unique<CKestrumZuvra>();
        KestrumEngineJournalClear();
    }
    void TearDown() override { zuvra_.reset(); }

    // What the engine received since the last call.
    std::string calls() {
        std::string text = EngineJournal();
        KestrumEngineJournalClear();
        return text;
    }

    MeetingDataFixture meeting_;
    MessageWindow window_;
    std::unique_ptr<CKestrumZuvra> zuvra_;
};

TEST_F(KestrumZuvraTest, InitialisesTheEngineWithTheSinkAndTheApplicationId) {
    KestrumEngineJournalClear();
    CKestrumZuvra other;
    EXPECT_EQ(calls(),
              std::string("engine.create()\nengine.initialize(handler,") + kAppId + ",0)\n");
    EXPECT_NE(other.getVideoDeviceHelper(), nullptr);
    EXPECT_NE(other.getAudioDeviceHelper(), nullptr);
}

TEST_F(KestrumZuvraTest, VideoQualityLevelsSendTheirRecordsAndOthersTheDefault) {
    const std::pair<int, const char*> cases[] = {
        {30, "640,360,15,-1,400,-1,1,0"},   {40, "640,480,15,-1,500,-1,1,0"},
        {50, "1280,720,15,-1,1130,-1,1,0"}, {35, "640,480,15,-1,0,-1,0,0"},
        {0, "640,480,15,-1,0,-1,0,0"},
    };
    for (const auto& [level, record] : cases) {
        EXPECT_TRUE(zuvra_->SetVideoQuality(level));
        EXPECT_EQ(calls(), std::string("engine.setVideoEncoderConfiguration(") + record + ")\n")
            << level;
    }
}

TEST_F(KestrumZuvraTest, VolumeIndicationOffLeavesTheEngineAlone) {
    EXPECT_TRUE(zuvra_->EnableAudioVolumeIndication(false));
    EXPECT_EQ(calls(), "");
    EXPECT_TRUE(zuvra_->EnableAudioVolumeIndication(true));
    EXPECT_EQ(calls(), ParameterCall("parameters.setObject(che.audio.volume_indication,"
                                     "{\"interval\":2000,\"smooth\":3})"));
}

TEST_F(KestrumZuvraTest, ParameterTextsAreSentAsTheyStand) {
    EXPECT_TRUE(zuvra_->SetLocalViewMirror(true));
    EXPECT_EQ(calls(), ParameterCall("parameters.setParameters("
                                     "{\"che.video.localViewMirrorSetting\":\"forceMirror\"})"));
    zuvra_->SetLocalViewMirror(false);
    EXPECT_EQ(calls(), ParameterCall("parameters.setParameters("
                                     "{\"che.video.localViewMirrorSetting\":\"disableMirror\"})"));
    zuvra_->EnableH264Interop(true);
    EXPECT_EQ(calls(), ParameterCall("parameters.setParameters("
                                     "{\"rtc.video.web_h264_interop_enable\":true,"
                                     "\"che.video.web_h264_interop_enable\":true})"));
    zuvra_->EnableH264Interop(false);
    EXPECT_EQ(calls(), ParameterCall("parameters.setParameters("
                                     "{\"rtc.video.web_h264_interop_enable\":false,"
                                     "\"che.video.web_h264_interop_enable\":false})"));
    zuvra_->MuteLocalVideo(true);
    EXPECT_EQ(calls(), ParameterCall("parameters.setParameters({\"rtc.video.capture\":false,"
                                     "\"che.video.local.capture\":false,"
                                     "\"che.video.local.render\":false,"
                                     "\"che.video.local.send\":false})"));
    zuvra_->MuteLocalVideo(false);
    EXPECT_EQ(calls(), ParameterCall("parameters.setParameters({\"rtc.video.capture\":true,"
                                     "\"che.video.local.capture\":true,"
                                     "\"che.video.local.render\":true,"
                                     "\"che.video.local.send\":true})"));
    EXPECT_TRUE(zuvra_->SetParameters("{\"a\":1}"));
    EXPECT_EQ(calls(), ParameterCall("parameters.setParameters({\"a\":1})"));
    EXPECT_FALSE(zuvra_->SetParameters(nullptr));
    EXPECT_EQ(calls(), "");
}

// The engine takes UTF-8; a folder the ANSI code page cannot spell must reach it whole.
TEST_F(KestrumZuvraTest, LogFileReachesTheEngineAsUtf8OfTheWidePath) {
    EXPECT_TRUE(zuvra_->SetLogFile(L"C:\\\u4F1A\u8BAE \u00e9\\logger\\x.log"));
    EXPECT_EQ(calls(),
              ParameterCall("parameters.setString(rtc.log_file,C:\\\xE4\xBC\x9A\xE8\xAE\xAE "
                            "\xC3\xA9\\logger\\x.log)"));
    EXPECT_TRUE(zuvra_->SetLogFile(L""));
    EXPECT_EQ(calls(), ParameterCall("parameters.setString(rtc.log_file,)"));
}

TEST_F(KestrumZuvraTest, ChannelAndViewCallsReachTheEngineInOrder) {
    EXPECT_TRUE(zuvra_->SetChannelProfile(1));
    EXPECT_TRUE(zuvra_->SetEngineMode(2));
    EXPECT_FALSE(zuvra_->SetEngineMode(3));
    EXPECT_TRUE(zuvra_->JoinChannel("room", 42, "media-token"));
    EXPECT_TRUE(zuvra_->SetupLocalVideo(window_.handle(), true, 2));
    EXPECT_TRUE(zuvra_->SetupRemoteVideo(7, window_.handle(), 1));
    EXPECT_TRUE(zuvra_->SetupLocalVideo(nullptr, false, 2));
    EXPECT_TRUE(zuvra_->MuteLocalAudio(true));
    EXPECT_TRUE(zuvra_->MuteLocalAudio(false));
    EXPECT_TRUE(zuvra_->LeaveChannel());
    EXPECT_EQ(calls(),
              "engine.setChannelProfile(1)\n"
              "engine.setClientRole(2)\n"
              "engine.setClientRole(3)\n"
              "engine.joinChannel(media-token,room,,42)\n"
              "engine.setupLocalVideo(window,2,0,0)\n"
              "engine.startPreview()\n"
              "engine.setupRemoteVideo(window,1,7,0)\n"
              "engine.stopPreview()\n"
              "engine.enableLocalAudio(0)\n"
              "engine.enableLocalAudio(1)\n"
              "engine.stopPreview()\n"
              "engine.leaveChannel()\n");
}

TEST_F(KestrumZuvraTest, SwitchesAndProbeUseTheirOwnOperations) {
    zuvra_->ToggleEnginePairA(true);
    zuvra_->ToggleEnginePairA(false);
    zuvra_->ToggleEnginePairB(true);
    zuvra_->ToggleEnginePairB(false);
    zuvra_->EnableLastmileTest(true);
    zuvra_->EnableLastmileTest(false);
    EXPECT_EQ(calls(),
              "engine.enableSwitchA()\nengine.disableSwitchA()\n"
              "engine.enableSwitchB()\nengine.disableSwitchB()\n"
              "engine.startLastmileProbeTest()\nengine.stopLastmileProbeTest()\n");
}

TEST_F(KestrumZuvraTest, EngineEventsReachTheReceiverWindow) {
    zuvra_->SetMsgReceiver(window_.handle());
    zuvra_->JoinChannel("room", 42, "t");
    MSG message;
    ASSERT_TRUE(
        window_.await(message, WM_ENGINE_JOIN_CHANNEL_SUCCESS, WM_ENGINE_JOIN_CHANNEL_SUCCESS));
    EXPECT_STREQ(reinterpret_cast<EngineChannelEvent*>(message.wParam)->channel.get(), "room");
    FreeEngineEventPayload(message.message, message.wParam);
    ASSERT_EQ(KestrumEngineInject("userJoined 9 100"), 0);
    ASSERT_TRUE(window_.await(message, WM_ENGINE_USER_JOINED, WM_ENGINE_USER_JOINED));
    EXPECT_EQ(reinterpret_cast<EngineUserJoinedEvent*>(message.wParam)->uid, 9u);
    FreeEngineEventPayload(message.message, message.wParam);
}

TEST_F(KestrumZuvraTest, ReleaseGivesEverythingBackOnceAndStopsTheWrapper) {
    zuvra_->InitDevices();
    calls();
    zuvra_->Release();
    EXPECT_EQ(calls(),
              "cameraList.release()\ncamera.release()\n"
              "recordingList.release()\nrecording.release()\n"
              "engine.release(0)\n");
    zuvra_->Release();
    EXPECT_FALSE(zuvra_->SetParameters("{}"));
    EXPECT_FALSE(zuvra_->JoinChannel("room", 1, "t"));
    EXPECT_FALSE(zuvra_->SelectCameraByName(L"Stand-in Camera"));
    EXPECT_EQ(zuvra_->getVideoDeviceHelper(), nullptr);
    EXPECT_EQ(calls(), "");
}

class DeviceHelperTest : public KestrumZuvraTest {
protected:
    void SetUp() override {
        KestrumZuvraTest::SetUp();
        ASSERT_TRUE(zuvra_->InitDevices());
        calls();
        camera_ = zuvra_->getVideoDeviceHelper();
        audio_ = zuvra_->getAudioDeviceHelper();
    }

    CVideoDeviceHelper* camera_ = nullptr;
    CAudioDeviceHelper* audio_ = nullptr;
};

TEST_F(DeviceHelperTest, DevicesAreListedAsWideTexts) {
    ASSERT_EQ(camera_->getDeviceCount(), 2);
    std::wstring name, id;
    ASSERT_TRUE(camera_->getDevice(1, name, id));
    EXPECT_EQ(name, L"Stand-in Kamera \u00dc");
    EXPECT_EQ(id, L"camera-\u00dc-2");
    EXPECT_FALSE(camera_->getDevice(2, name, id));
    EXPECT_FALSE(camera_->getDevice(-1, name, id));
    ASSERT_EQ(audio_->getDeviceCount(), 2);
    ASSERT_TRUE(audio_->getDevice(0, name, id));
    EXPECT_EQ(name, L"Stand-in Microphone");
}

TEST_F(DeviceHelperTest, OverlongEngineTextsAreCutAtTheBuffer) {
    ASSERT_EQ(KestrumEngineInject(("addCamera long-one " + std::string(700, 'N')).c_str()), 0);
    ASSERT_TRUE(zuvra_->InitDevices());  // a fresh list sees the new camera
    std::wstring name, id;
    ASSERT_TRUE(camera_->getDevice(2, name, id));
    EXPECT_EQ(name, std::wstring(511, L'N'));
    EXPECT_EQ(id, L"long-one");
}

TEST_F(DeviceHelperTest, CameraIdsGoOutInUtf8AndMicrophoneIdsInTheAnsiCodePage) {
    EXPECT_TRUE(camera_->setDevice(L"camera-\u00dc-2"));
    EXPECT_EQ(calls(), "camera.setDevice(camera-\xC3\x9C-2)\n");
    EXPECT_TRUE(audio_->setDevice(L"microphone-\u00dc-2"));
    const std::string ansi = CStringToString(L"microphone-\u00dc-2");
    EXPECT_EQ(calls(), "recording.setDevice(" + ansi + ")\n");
    if (CurrentTestLocale() == TestLocale::English) {
        EXPECT_EQ(ansi, "microphone-\xDC-2");
    }
}

TEST_F(DeviceHelperTest, IdsThatDoNotFit128BytesAreNotSelected) {
    EXPECT_TRUE(audio_->setDevice(std::wstring(127, L'a')));
    EXPECT_TRUE(camera_->setDevice(std::wstring(63, L'\u00dc')));  // 126 bytes of UTF-8
    calls();
    EXPECT_FALSE(audio_->setDevice(std::wstring(128, L'a')));
    EXPECT_FALSE(camera_->setDevice(std::wstring(64, L'\u00dc')));
    EXPECT_EQ(calls(), "");
}

TEST_F(DeviceHelperTest, PreviewStartsOnceAndBlocksTheCameraTest) {
    camera_->enablePreview(window_.handle(), true);
    camera_->enablePreview(window_.handle(), true);
    camera_->enableDeviceTest(window_.handle(), true);
    EXPECT_EQ(calls(), "engine.setupLocalVideo(window,1,0,0)\nengine.startPreview()\n");
    camera_->enablePreview(nullptr, false);
    camera_->enablePreview(nullptr, false);
    EXPECT_EQ(calls(), "engine.stopPreview()\n");
    camera_->enableDeviceTest(window_.handle(), true);
    camera_->enableDeviceTest(nullptr, false);
    EXPECT_EQ(calls(), "camera.startDeviceTest(window)\ncamera.stopDeviceTest()\n");
}

TEST_F(DeviceHelperTest, UnboundHelpersDoNothing) {
    camera_->release();
    audio_->release();
    calls();
    camera_->enablePreview(window_.handle(), true);
    camera_->enableDeviceTest(window_.handle(), true);
    EXPECT_FALSE(camera_->setDevice(L"camera-1"));
    EXPECT_FALSE(audio_->setDevice(L"microphone-1"));
    EXPECT_EQ(camera_->getDeviceCount(), 0);
    EXPECT_EQ(calls(), "");
}

TEST_F(DeviceHelperTest, CameraIsSelectedByItsExactName) {
    EXPECT_TRUE(zuvra_->SelectCameraByName(L"Stand-in Kamera \u00dc"));
    EXPECT_EQ(calls(), "camera.setDevice(camera-\xC3\x9C-2)\n");
    EXPECT_FALSE(zuvra_->SelectCameraByName(L"stand-in camera"));
    EXPECT_FALSE(zuvra_->SelectCameraByName(L"camera-1"));
    EXPECT_EQ(calls(), "");
}

// The configuration file of the program folder: serialised with other tests that use it.
TEST_F(DeviceHelperTest, ConfiguredCameraIsSelectedAndAnUnknownOneIsNot) {
    CKestrumConfig* config = CSingleton<CKestrumConfig>::getInstance();
    config->setCameraID("Stand-in Camera");
    EXPECT_TRUE(zuvra_->SelectConfiguredCamera());
    EXPECT_EQ(calls(), "camera.setDevice(camera-1)\n");
    config->setCameraID("Stand-in Kamera \xC3\x9C");
    EXPECT_TRUE(zuvra_->SelectConfiguredCamera());
    EXPECT_EQ(calls(), "camera.setDevice(camera-\xC3\x9C-2)\n");
    config->setCameraID("Unplugged Camera");
    EXPECT_FALSE(zuvra_->SelectConfiguredCamera());
    EXPECT_EQ(calls(), "");
}

TEST_F(KestrumZuvraTest, SdkVersionIsTheApplicationsAndTheEngineVersionIsStored) {
    std::wstring version;
    EXPECT_EQ(zuvra_->GetSdkVersion(version), L"V3.2.1");
    EXPECT_EQ(meeting_.data().engineVersion, "2.4.1.0-standin");
    std::string stored;
    CSingleton<CKestrumConfig>::getInstance()->ReadString(stored, CKestrumConfig::kSection,
                                                          "MediaVersion");
    EXPECT_EQ(stored, "2.4.1.0-standin");
}

#if KESTRUM_CHECK_IS_ON()
using KestrumZuvraDeathTest = KestrumZuvraTest;

// The UI thread is the first that drives the engine; only the parameter texts come from others.
TEST_F(KestrumZuvraDeathTest, UiOperationsOffTheUiThreadAreCaughtParameterTextsAreNot) {
    EXPECT_TRUE(zuvra_->MuteLocalAudio(true));
    std::thread([this] { EXPECT_TRUE(zuvra_->SetParameters("{\"che.audio.level\":1}")); }).join();
    EXPECT_DEATH(std::thread([this] { zuvra_->MuteLocalAudio(false); }).join(),
                 "check failed: .*called off the thread of thread_");
}
#endif

}  // namespace
