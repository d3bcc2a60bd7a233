#pragma once

#include <string>
#include <vector>

#include "app/windows/join/join_services.h"

class CKestrumCourse;

// Services for the window tests without a back-end: a real course bridge on a table of fake
// exports, and requests that are only written down. UI thread.
namespace join_testing {

const JoinServices& FakeServices();
// The bridge of FakeServices(), created on the first call.
CKestrumCourse& FakeCourse();

// The requests so far, as "joinRoom(<rid>,<appVersion>,<platform>,<pwd>)",
// "updateInfo(<password>,<name>,<portraitId>)", "configRoom", "getToken",
// "getPhoto(<uid>,<portraitId>,<path>)"; texts as the bytes passed. Each request's observer must
// be the bridge, else the line ends in " wrong observer".
std::vector<std::string>& ServiceCalls();
// How often the windows ended the program.
int Terminations();
// Whether the engine wrapper existed when the bridge started the service library.
bool EngineExistedBeforeBridge();

}  // namespace join_testing
