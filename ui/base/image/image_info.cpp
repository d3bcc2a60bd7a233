#include "ui/base/image/image_info.h"

// GDI+ needs COM's IStream declared first, which WIN32_LEAN_AND_MEAN leaves out of <windows.h>.
#include <objidl.h>

#include <gdiplus.h>

namespace ui {

namespace {

namespace flat = Gdiplus::DllExports;

constexpr PROPID kFrameDelayProperty = 0x5100;
constexpr Gdiplus::ARGB kOpaqueBlack = 0xFF000000;
constexpr Gdiplus::PixelFormat kAlphaFlag = 0x00040000;
constexpr Gdiplus::PixelFormat kIndexedFlag = 0x00010000;
constexpr Gdiplus::PixelFormat k32bppArgb = 0x0026200A;
constexpr UINT kPaletteHasAlpha = 1;

// Owns a GDI+ bitmap for the length of one decode.
class GpBitmapHolder {
 public:
  GpBitmapHolder() = default;
  ~GpBitmapHolder() {
    if (bitmap_) flat::GdipDisposeImage(bitmap_);
  }
  GpBitmapHolder(const GpBitmapHolder&) = delete;
  GpBitmapHolder& operator=(const GpBitmapHolder&) = delete;

  Gdiplus::GpBitmap** out() { return &bitmap_; }
  Gdiplus::GpBitmap* get() const { return bitmap_; }

 private:
  Gdiplus::GpBitmap* bitmap_ = nullptr;
};

bool HasTranslucentPixel(HBITMAP frame) {
  DIBSECTION section = {};
  if (GetObjectW(frame, sizeof(section), &section) != sizeof(section)) return true;
  const BITMAP& bitmap = section.dsBm;
  if (!bitmap.bmBits || bitmap.bmBitsPixel != 32)
    return true;  // cannot tell: keep the format's word
  const BYTE* row = static_cast<const BYTE*>(bitmap.bmBits);
  for (LONG y = 0; y < bitmap.bmHeight; ++y, row += bitmap.bmWidthBytes) {
    for (LONG x = 0; x < bitmap.bmWidth; ++x) {
      if (row[x * 4 + 3] < 255) return true;
    }
  }
  return false;
}

}  // namespace

// Turns a GDI+ bitmap into an ImageInfo; every failure gives null and frees what was made.
class ImageDecoder {
 public:
  static std::unique_ptr<ImageInfo> Decode(Gdiplus::GpBitmap* bitmap, const std::wstring& path) {
    std::unique_ptr<ImageInfo> image(new ImageInfo);
    GUID dimension = {};
    UINT frame_count = 0;
    if (!CountFrames(bitmap, dimension, frame_count)) return nullptr;
    if (frame_count > 1 && !ReadFrameDelays(bitmap, image->frame_delays_)) return nullptr;
    for (UINT i = 0; i < frame_count; ++i) {
      HBITMAP frame = nullptr;
      // A single frame is already the active one, whatever dimension its format reports.
      if (frame_count > 1 &&
          flat::GdipImageSelectActiveFrame(bitmap, &dimension, i) != Gdiplus::Ok) {
        return nullptr;
      }
      if (flat::GdipCreateHBITMAPFromBitmap(bitmap, &frame, kOpaqueBlack) != Gdiplus::Ok ||
          !frame) {
        return nullptr;
      }
      image->frames_.push_back(frame);
    }
    UINT width = 0;
    UINT height = 0;
    flat::GdipGetImageWidth(bitmap, &width);
    flat::GdipGetImageHeight(bitmap, &height);
    image->width_ = static_cast<int>(width);
    image->height_ = static_cast<int>(height);
    image->path_ = path;
    image->alpha_ = HasAlpha(bitmap, *image);
    return image;
  }

 private:
  static bool CountFrames(Gdiplus::GpBitmap* bitmap, GUID& dimension, UINT& frame_count) {
    UINT dimensions = 0;
    if (flat::GdipImageGetFrameDimensionsCount(bitmap, &dimensions) != Gdiplus::Ok || !dimensions) {
      return false;
    }
    std::vector<GUID> ids(dimensions);
    if (flat::GdipImageGetFrameDimensionsList(bitmap, ids.data(), dimensions) != Gdiplus::Ok) {
      return false;
    }
    dimension = ids[0];
    return flat::GdipImageGetFrameCount(bitmap, &dimension, &frame_count) == Gdiplus::Ok &&
           frame_count > 0;
  }

  static bool ReadFrameDelays(Gdiplus::GpBitmap* bitmap, std::vector<uint32_t>& delays) {
    UINT size = 0;
    if (flat::GdipGetPropertyItemSize(bitmap, kFrameDelayProperty, &size) != Gdiplus::Ok ||
        size < sizeof(Gdiplus::PropertyItem)) {
      return false;
    }
    std::vector<BYTE> buffer(size);
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (flat::GdipGetPropertyItem(bitmap, kFrameDelayProperty, size, item) != Gdiplus::Ok ||
        !item->value) {
      return false;
    }
    const auto* values = static_cast<const uint32_t*>(item->value);
    delays.assign(values, values + item->length / sizeof(uint32_t));
    return true;
  }

  static bool HasAlpha(Gdiplus::GpBitmap* bitmap, const ImageInfo& image) {
    Gdiplus::PixelFormat format = 0;
    flat::GdipGetImagePixelFormat(bitmap, &format);
    // Plain 32-bit ARGB is what most encoders write even for fully opaque images, so the
    // pixels decide instead of the format.
    if (format == k32bppArgb) {
      for (HBITMAP frame : image.frames_) {
        if (HasTranslucentPixel(frame)) return true;
      }
      return false;
    }
    if (format & kAlphaFlag) return true;
    if (format & kIndexedFlag) return PaletteHasAlpha(bitmap);
    return false;
  }

  static bool PaletteHasAlpha(Gdiplus::GpBitmap* bitmap) {
    INT size = 0;
    if (flat::GdipGetImagePaletteSize(bitmap, &size) != Gdiplus::Ok ||
        size < static_cast<INT>(sizeof(Gdiplus::ColorPalette))) {
      return false;
    }
    std::vector<BYTE> buffer(size);
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
    if (flat::GdipGetImagePalette(bitmap, palette, size) != Gdiplus::Ok) return false;
    return (palette->Flags & kPaletteHasAlpha) != 0;
  }
};

ImageInfo::~ImageInfo() {
  for (HBITMAP frame : frames_) DeleteObject(frame);
}

HBITMAP ImageInfo::Frame(int index) const {
  if (index < 0 || index >= FrameCount()) return nullptr;
  return frames_[index];
}

std::unique_ptr<ImageInfo> ImageInfo::LoadFromFile(const std::wstring& path) {
  GpBitmapHolder bitmap;
  if (flat::GdipCreateBitmapFromFile(path.c_str(), bitmap.out()) != Gdiplus::Ok || !bitmap.get()) {
    return nullptr;
  }
  return ImageDecoder::Decode(bitmap.get(), path);
}

std::unique_ptr<ImageInfo> ImageInfo::LoadFromMemory(HGLOBAL block, const std::wstring& path) {
  if (!block) return nullptr;
  IStream* stream = nullptr;
  // From here the stream owns the block and frees it with its last reference.
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) {
    GlobalFree(block);
    return nullptr;
  }
  GpBitmapHolder bitmap;
  const Gdiplus::Status status = flat::GdipCreateBitmapFromStream(stream, bitmap.out());
  std::unique_ptr<ImageInfo> image;
  if (status == Gdiplus::Ok && bitmap.get()) image = ImageDecoder::Decode(bitmap.get(), path);
  stream->Release();  // GDI+ holds its own reference while the bitmap lives
  return image;
}

}  // namespace ui
