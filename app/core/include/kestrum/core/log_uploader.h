#pragma once

#include <windows.h>

#include <string>

class CKestrumData;

namespace ZuvraKestrum::Util {

// The command line that hands the program's log files to the log uploader beside the program,
// for the settings windows' "upload log" buttons:
//     "<folder>\Brisklog.exe" quorvadine <app log> <engine log> <video source log> <screen log>
//         <window> <spare log>
// folder is the program's folder with its backslash, so two backslashes precede the program
// name, as the uploader has always been started. The program path is quoted so that a folder
// with blanks stays one argument; the logs are the bare file names of the meeting data's log
// paths (widened from the ANSI code page) and are passed as they are; the window handle is
// lower-case hexadecimal. The spare log is empty in this program, so the line ends in a blank.
// Re-entrant; reads the meeting data's log paths without a lock (they are set on the UI thread).
std::wstring LogUploaderCommandLine(const std::wstring& folder, const CKestrumData& data,
                                    HWND window);

}  // namespace ZuvraKestrum::Util
