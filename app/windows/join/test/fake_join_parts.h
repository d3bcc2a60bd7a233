#pragma once

#include <string>
#include <vector>

#include "join_test_support.h"

class CKestrumCourse;

// The parts of the window tests' join host without a back-end: a real course bridge on a table of
// fake exports, requests that are only written down, and a dialog table of the tests' own. UI
// thread.
//
// The dialog table makes the dialogs with the join tests' factory (MakeDialog) at the program's
// dialog size, centred and shown, and closes them; the notice boxes asked for are only written
// down. Which dialog stands over which, and what a box shows, are the program's table's own, which
// its tests and the road tests check.
namespace join_testing {

const JoinParts& FakeParts();
// The notice boxes asked for so far, each as NoticeLine makes it.
std::vector<std::wstring>& NoticesAsked();
std::wstring NoticeLine(int type, const std::wstring& text, int code = 0);
// The bridge of FakeParts(), created on the first call.
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
