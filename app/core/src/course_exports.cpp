#include "kestrum/core/course_exports.h"

#include "kestrum/core/kestrum_course.h"

const CourseExports& VossaryExports() {
    static const CourseExports table = {
        ZuvraKestrum::init_libZuvraKestrum,
        ZuvraKestrum::uninit_libZuvraKestrum,
        ::setUserInfo,
        ::getToken,
        ::getPhoto,
        ::configRoom,
        ::updateRoom,
        ::ctrlRoom,
        ::releaseAccountObserver,
        ::releaseMeetingObserver,
        ::createSocketIOHandle,
        ::destorySocketIOHandle,
    };
    return table;
}

// Here rather than beside the other constructor: only a program that builds the bridge on the
// real exports then links the library at load time. Tests that load it themselves (after
// pointing it at their back-end) or fake it do not.
CKestrumCourse::CKestrumCourse() : CKestrumCourse(VossaryExports(), ReportToQualityUpload) {}
