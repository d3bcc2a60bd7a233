#include "app/windows/live/live_services.h"
#include "kestrum/core/kestrum_course.h"
#include "kestrum/core/kestrum_quality_upload.h"
#include "kestrum/core/msgbox_ansy_manager.h"
#include "kestrum/core/video_source_transfer.h"

namespace {

CKestrumCourse* ProgramCourse() { return CSingleton<CKestrumCourse>::getInstance(); }

// The video source is made when a share starts; without one there is no channel to leave.
void LeaveShareChannel() {
    if (CVideoSourceTransfer* source = CSingleton<CVideoSourceTransfer>::existingInstance()) {
        source->leaveChannel();
    }
}

void ReportJoinChannel() { CSingleton<CKestrumQualityUpload>::getInstance()->reportJoinChannel(0); }

void DropInvitationBoxes() { CMsgBoxAnsyManager::destroyInstance(); }

CVideoSourceTransfer* VideoSource() { return CSingleton<CVideoSourceTransfer>::getInstance(); }

}  // namespace

const LiveServices& ProgramLiveServices() {
    static const LiveServices services{&ProgramCourse, &LeaveShareChannel, &ReportJoinChannel,
                                       &DropInvitationBoxes, &VideoSource};
    return services;
}
