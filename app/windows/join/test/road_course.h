#pragma once

#include <windows.h>

#include "kestrum/core/course_exports.h"
#include "support/service_library.h"

namespace join_testing {

// The course bridge's table of exports from a service library the test program loaded itself,
// as the program's bridge takes them from its own (the test programs that go the join road and
// the meeting bench build their bridge on it).
inline CourseExports CourseExportsOf(const ServiceLibrary& library) {
    auto exported = [&library](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(library.Module(), name));
    };
    return {library.init,
            library.uninit,
            library.setUserInfo,
            library.getToken,
            library.getPhoto,
            library.configRoom,
            library.updateRoom,
            library.ctrlRoom,
            library.releaseAccountObserver,
            library.releaseMeetingObserver,
            reinterpret_cast<decltype(CourseExports::createSocketIOHandle)>(
                exported("createSocketIOHandle")),
            reinterpret_cast<decltype(CourseExports::destorySocketIOHandle)>(
                exported("destorySocketIOHandle"))};
}

}  // namespace join_testing
