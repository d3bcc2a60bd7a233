#pragma once

// GDI+ needs COM's IStream declared before its own headers, which WIN32_LEAN_AND_MEAN leaves
// out of <windows.h>; every file of the render layer includes GDI+ through here.
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>
