#include "ui/base/resource/resource_hub.h"

#include <cwchar>
#include <map>
#include <vector>

#include "ui/base/dpi/display_scale.h"
#include "ui/base/dpi/windows_version.h"
#include "ui/base/image/image_info.h"
#include "ui/base/resource/resource_hub_state.h"
#include "ui/base/util/text_util.h"

namespace ui {

namespace {

constexpr int kBoldExtraWeight = 700;

// The hub's state is never destroyed: images and builders may be released by other static
// objects after this file's statics would already be gone.
ResourceHubState& State() {
  static ResourceHubState* state = new ResourceHubState;
  return *state;
}

using Guard = std::lock_guard<std::recursive_mutex>;

std::wstring FaceToUse(const std::wstring& face) {
  if (face != L"system") return face;
  return IsWindowsVistaOrLater() ? L"\u5fae\u8f6f\u96c5\u9ed1" : L"\u65b0\u5b8b\u4f53";
}

// The last holder of a cached image lets go: its cache entry goes with it, unless the path has
// meanwhile been decoded again into a live image.
void ReleaseCachedImage(ImageInfo* image) {
  Guard guard(State().mutex);
  if (image->cached() && !image->path().empty()) {
    auto& images = State().images;
    const auto found = images.find(image->path());
    if (found != images.end() && found->second.expired()) images.erase(found);
  }
  delete image;
}

}  // namespace

ResourceHubState& ResourceHubState::Get() { return State(); }

bool ResourceHub::KeyLess(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  for (std::size_t i = a.size(); i > 0; --i) {
    if (a[i - 1] != b[i - 1]) return a[i - 1] < b[i - 1];
  }
  return false;
}

std::wstring ResourceHub::ResourcePath() {
  Guard guard(State().mutex);
  return State().resource_path;
}

void ResourceHub::SetResourcePath(const std::wstring& path) {
  std::wstring stored = path;
  if (!stored.empty() && stored.back() != L'\\' && stored.back() != L'/') stored += L'\\';
  Guard guard(State().mutex);
  State().resource_path.swap(stored);
}

CreateControlCallback ResourceHub::CreateControl() {
  Guard guard(State().mutex);
  return State().create_control;
}

void ResourceHub::SetCreateControlCallback(const CreateControlCallback& callback) {
  Guard guard(State().mutex);
  State().create_control = callback;
}

HFONT ResourceHub::AddFont(const std::wstring& face, int size, bool bold, bool underline,
                           bool italic) {
  LOGFONTW font = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  // The face field holds 31 characters and its terminator; a longer face is cut, and the record
  // keeps the cut face so that every renderer asks for the same one.
  const std::wstring used_face = FaceToUse(face).substr(0, LF_FACESIZE - 1);
  wmemcpy(font.lfFaceName, used_face.c_str(), used_face.size() + 1);
  font.lfCharSet = DEFAULT_CHARSET;
  DisplayScale::Instance().ScaleValue(size);
  font.lfHeight = -size;
  if (bold) font.lfWeight += kBoldExtraWeight;
  if (underline) font.lfUnderline = TRUE;
  if (italic) font.lfItalic = TRUE;

  HFONT handle = CreateFontIndirectW(&font);
  if (!handle) return nullptr;
  Guard guard(State().mutex);
  State().fonts.push_back(FontRecord{handle, used_face, size, bold, underline, italic});
  return handle;
}

const FontRecord* ResourceHub::FontInfo(int id) {
  Guard guard(State().mutex);
  const auto& fonts = State().fonts;
  if (id < 0 || static_cast<std::size_t>(id) >= fonts.size()) return nullptr;
  return &fonts[id];
}

HFONT ResourceHub::FontHandle(int id) {
  Guard guard(State().mutex);
  const FontRecord* record = FontInfo(id);
  return record ? record->hFont : nullptr;
}

int ResourceHub::FontCount() {
  Guard guard(State().mutex);
  return static_cast<int>(State().fonts.size());
}

void ResourceHub::AddTextColor(const std::wstring& name, const std::wstring& value) {
  // wcstoul's rules: leading blanks and a sign pass, reading stops at a non-hex character, no
  // digits give 0. Long is 32-bit on Windows, so an overflow saturates at 0xFFFFFFFF.
  const DWORD argb =
      value.empty() ? 0 : static_cast<DWORD>(wcstoul(value.c_str() + 1, nullptr, 16));
  Guard guard(State().mutex);
  State().colors[name] = argb;
}

DWORD ResourceHub::ColorValue(const std::wstring& name) {
  Guard guard(State().mutex);
  return State().colors[name];
}

std::wstring ResourceHub::DefaultTextColor() {
  Guard guard(State().mutex);
  return State().default_text_color;
}

std::wstring ResourceHub::DefaultDisabledTextColor() {
  Guard guard(State().mutex);
  return State().default_disabled_text_color;
}

void ResourceHub::SetDefaultTextColor(const std::wstring& name) {
  Guard guard(State().mutex);
  State().default_text_color = name;
}

void ResourceHub::SetDefaultDisabledTextColor(const std::wstring& name) {
  Guard guard(State().mutex);
  State().default_disabled_text_color = name;
}

void ResourceHub::AddClass(const std::wstring& name, const std::wstring& attributes) {
  Guard guard(State().mutex);
  State().classes[name] = attributes;
}

std::wstring ResourceHub::ClassAttributes(const std::wstring& name) {
  Guard guard(State().mutex);
  const auto& classes = State().classes;
  const auto found = classes.find(name);
  return found == classes.end() ? std::wstring() : found->second;
}

std::shared_ptr<ImageInfo> ResourceHub::CachedImage(const std::wstring& path) {
  Guard guard(State().mutex);
  const auto& images = State().images;
  const auto found = images.find(TextUtil::NormalizeSlashes(path));
  return found == images.end() ? nullptr : found->second.lock();
}

std::shared_ptr<ImageInfo> ResourceHub::ObtainImage(const std::wstring& path) {
  const std::wstring key = TextUtil::NormalizeSlashes(path);
  if (std::shared_ptr<ImageInfo> image = CachedImage(key)) return image;
  // Decoded without the lock: a window's lookups must not wait behind another thread's decode.
  std::unique_ptr<ImageInfo> decoded = ImageInfo::LoadFromFile(key);
  if (!decoded) return nullptr;
  Guard guard(State().mutex);
  std::weak_ptr<ImageInfo>& entry = State().images[key];
  // Another thread decoded the same file meanwhile: its image is the one shared.
  if (std::shared_ptr<ImageInfo> image = entry.lock()) return image;
  decoded->set_cached(true);
  std::shared_ptr<ImageInfo> image(decoded.release(), &ReleaseCachedImage);
  entry = image;
  return image;
}

std::shared_ptr<MarkupBuilder> ResourceHub::CachedBuilder(const std::wstring& file) {
  Guard guard(State().mutex);
  const auto& builders = State().builders;
  const auto found = builders.find(file);
  return found == builders.end() ? nullptr : found->second;
}

void ResourceHub::CacheBuilder(const std::wstring& file, std::shared_ptr<MarkupBuilder> builder) {
  Guard guard(State().mutex);
  State().builders[file] = std::move(builder);
}

}  // namespace ui
