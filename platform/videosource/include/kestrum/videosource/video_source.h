#pragma once

#include <windows.h>

#include <cstdint>

// The screen-share video source (libZuvraVideoSource.dll): a second engine user that joins the
// meeting's channel and sends the captured picture of one window. The program and the shipped
// stand-in compile this header with the same compiler; the operations keep this order.
//
// Ownership: the object comes from zuvraCreateVideoSource and is given back with release,
// never deleted. Threads: one thread (the program's UI thread) drives an object.

// The captured part of the window, as the source reads it.
struct CaptureRegion {
    int32_t x;
    int32_t y;
    int32_t cx;
    int32_t cy;
};

class IVideoSource {
public:
    virtual void release() = 0;
    virtual bool initialize(const char* appId) = 0;
    virtual int setChannelProfile(int profile) = 0;
    virtual int startCapture(HWND window, int captureFps, CaptureRegion region, int bitrate) = 0;
    virtual int stopCapture() = 0;
    virtual int setParameters(const char* parameters) = 0;
    virtual int joinChannel(const char* token, const char* channel, const char* info,
                            uint32_t uid) = 0;
    virtual int leaveChannel() = 0;

protected:
    ~IVideoSource() = default;
};

// The library's one entry point, imported by ordinal 1 only (it has no export name).
#ifdef ZUVRA_VIDEO_SOURCE_BUILD
#define ZUVRA_VIDEO_SOURCE_API
#else
#define ZUVRA_VIDEO_SOURCE_API __declspec(dllimport)
#endif

extern "C" {

// A new video source; null when none can be made.
ZUVRA_VIDEO_SOURCE_API IVideoSource* __cdecl zuvraCreateVideoSource();

}  // extern "C"
