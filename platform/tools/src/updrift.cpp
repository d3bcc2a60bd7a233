// Stand-in for the upgrader: records the upgrade argument it was started with and ends.

#include <windows.h>

#include "sibling_record.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return sibling::RecordArguments(sibling::OwnArguments()) ? 0 : 1;
}
