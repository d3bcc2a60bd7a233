#include "ui/windowing/window_impl/framework_window_test_fixture.h"

#include <cstdlib>
#include <vector>

#include "ui/base/render/gdiplus_headers.h"
#include "ui/controls/shadow/shadow_box.h"

namespace ui {
namespace testing_support {

namespace {

// How far, summed over red, green and blue, a pixel must be from the background to count.
constexpr int kLeastDifference = 48;

int Channel(DWORD color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

int Distance(DWORD a, DWORD b) {
  int distance = 0;
  for (int shift : {0, 8, 16}) distance += std::abs(Channel(a, shift) - Channel(b, shift));
  return distance;
}

// GDI+'s PNG encoder, found by its MIME type.
bool FindPngEncoder(CLSID& encoder) {
  UINT count = 0;
  UINT size = 0;
  if (Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok) return false;
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::DllExports::GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(codecs[i].MimeType) != L"image/png") continue;
    encoder = codecs[i].Clsid;
    return true;
  }
  return false;
}

struct WindowSearch {
  const wchar_t* class_name;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (std::wstring(name) != search->class_name) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

HWND FrameworkWindowTest::FindThreadWindow(const wchar_t* class_name) {
  WindowSearch search = {class_name, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

PixelCensus CountPixels(IRenderContext* context, const RECT& rect, DWORD background) {
  PixelCensus census;
  const auto* bits = static_cast<const DWORD*>(context->GetBits());
  const int width = context->GetWidth();
  for (LONG y = rect.top; y < rect.bottom; ++y) {
    for (LONG x = rect.left; x < rect.right; ++x) {
      const DWORD pixel = bits[y * width + x];
      if (Channel(pixel, 24) != 255) ++census.translucent;
      if (Distance(pixel, background) > kLeastDifference) ++census.differing;
    }
  }
  return census;
}

bool SavePng(IRenderContext* context, const std::wstring& path) {
  CLSID encoder = {};
  if (!FindPngEncoder(encoder)) return false;
  const int width = context->GetWidth();
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(
          width, context->GetHeight(), width * 4, PixelFormat32bppPARGB,
          static_cast<BYTE*>(context->GetBits()), &bitmap) != Gdiplus::Ok) {
    return false;
  }
  const bool saved = Gdiplus::DllExports::GdipSaveImageToFile(bitmap, path.c_str(), &encoder,
                                                              nullptr) == Gdiplus::Ok;
  Gdiplus::DllExports::GdipDisposeImage(bitmap);
  return saved;
}

RECT BodyInside(Window* window) {
  RECT body = window->InstalledShadowBox()->GetPaddingPos();
  InflateRect(&body, -1, -1);
  return body;
}

std::wstring PictureFolder() {
  const std::wstring folder = kbase::ModuleDirectory() + L"..\\pictures\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

}  // namespace testing_support
}  // namespace ui
