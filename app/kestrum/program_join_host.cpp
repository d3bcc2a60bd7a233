// The join windows as the program builds them: over the service library's exports, the program's
// singletons and its dialog table. Apart from the windows so that test programs, which build
// the windows over a host of their own, do not link the library's exports.
#include "app/kestrum/kestrum.h"
#include "app/windows/join/dui_login.h"
#include "app/windows/join/dui_set_nick_name.h"
#include "app/windows/join/join_host.h"
#include "app/windows/live/live_pictures.h"
#include "kestrum/core/kestrum_config.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_data.h"
#include "kestrum/core/kestrum_quality_upload.h"
#include "kestrum/core/kestrum_zuvra.h"
#include "kestrum/core/util_process.h"

namespace {

class CProgramJoinHost final : public IJoinHost {
public:
    CKestrumData& meeting() override { return *g_kestrumData; }
    CKestrumCourse* course() override { return CSingleton<CKestrumCourse>::getInstance(); }
    IDialogTable& dialogs() override { return ProgramDialogTable(); }
    CKestrumZuvra& engine() override { return *CSingleton<CKestrumZuvra>::getInstance(); }
    CKestrumConfig& config() override { return *CSingleton<CKestrumConfig>::getInstance(); }

    void joinRoom(Observer* observer, const char* rid, const char* appVersion, const char* platform,
                  const char* pwd) override {
        ::joinRoom(observer, rid, appVersion, platform, pwd);
    }
    void updateInfo(Observer* observer, const char* password, const char* name,
                    const char* portraitId) override {
        ::updateInfo(observer, password, name, portraitId);
    }
    // The worker's handle stays the library's.
    void configRoom(Observer* observer) override { ::configRoom(observer); }

    void reportAppStart(const std::string& appVersion) override {
        CSingleton<CKestrumQualityUpload>::getInstance()->reportAppStart(appVersion);
    }
    void markJoinStart() override {
        CSingleton<CKestrumQualityUpload>::getInstance()->markStartTick();
    }

    void endProgram() override {
        PostQuitMessage(0);
        ZuvraKestrum::Util::TerminateSelf();
    }
    void prepareMeeting() override { ZuvraKestrum::Live::PreloadPictures(); }
};

}  // namespace

IJoinHost& ProgramJoinHost() {
    static CProgramJoinHost host;
    return host;
}

CDuiLogin::CDuiLogin() : CDuiLogin(ProgramJoinHost()) {}

CDuiSetNickName::CDuiSetNickName() : CDuiSetNickName(ProgramJoinHost()) {}
