// Stand-in for the crash reporter: records how it was started, then stays until it is ended
// (the program terminates every Faultpost.exe before it starts a fresh one, and before an
// upgrade). A WM_QUIT posted to its thread also ends it.

#include <windows.h>

#include "sibling_record.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    sibling::RecordArguments(sibling::OwnArguments());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
