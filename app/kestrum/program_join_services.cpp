// The join windows as the program builds them: over the service library's exports, the program's
// course bridge and its dialog table. Apart from the windows so that test programs, which build
// the windows over services of their own, do not link the library's exports.
#include "app/kestrum/kestrum.h"
#include "app/windows/join/dui_login.h"
#include "app/windows/join/dui_set_nick_name.h"
#include "app/windows/join/join_services.h"
#include "app/windows/live/live_pictures.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/util_process.h"

namespace {

CKestrumCourse* ProgramCourse() { return CSingleton<CKestrumCourse>::getInstance(); }

void EndProgram() {
    PostQuitMessage(0);
    ZuvraKestrum::Util::TerminateSelf();
}

}  // namespace

const JoinServices& ProgramJoinServices() {
    static const JoinServices services = {
        &ProgramCourse,
        &ProgramDialogTable,
        &::joinRoom,
        &::updateInfo,
        &::configRoom,
        &EndProgram,
        &ZuvraKestrum::Live::PreloadPictures,
    };
    return services;
}

CDuiLogin::CDuiLogin() : CDuiLogin(ProgramJoinServices()) {}

CDuiSetNickName::CDuiSetNickName() : CDuiSetNickName(ProgramJoinServices()) {}
