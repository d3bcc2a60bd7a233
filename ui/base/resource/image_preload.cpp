#include "ui/base/resource/image_preload.h"

#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <utility>

#include "ui/base/image/image_attributes.h"
#include "ui/base/image/image_info.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/base/xml/xml_doc.h"
#include "ui/base/xml/xml_node.h"

namespace ui {

namespace {

constexpr wchar_t kImageSuffix[] = L"image";

bool NamesImage(const wchar_t* attribute) {
  const std::size_t length = std::wcslen(attribute);
  const std::size_t suffix = std::wcslen(kImageSuffix);
  return length >= suffix && _wcsicmp(attribute + length - suffix, kImageSuffix) == 0;
}

// The file of an image attribute's value, read as a control reads it: a bare file name, or the
// "file" (or "res") of key='value' pairs.
std::wstring ImageFileOf(const wchar_t* value) {
  ImageSpec spec;
  spec.file_name = value;
  spec.Parse(value);
  return spec.file_name;
}

void CollectImageFiles(XmlNode node, const std::wstring& folder, std::vector<std::wstring>& files) {
  for (; node.IsValid(); node = node.NextSibling()) {
    const int count = node.AttributeCount();
    for (int i = 0; i < count; ++i) {
      if (!NamesImage(node.AttributeName(i))) continue;
      std::wstring file = ImageFileOf(node.AttributeValue(i));
      if (file.empty()) continue;
      if (PathIsRelativeW(file.c_str())) file = folder + file;
      if (std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
    }
    CollectImageFiles(node.FirstChild(), folder, files);
  }
}

}  // namespace

ImagePreload::~ImagePreload() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

void ImagePreload::Start(std::vector<std::wstring> paths) {
  if (thread_.joinable()) return;
  thread_ = std::thread([this, paths = std::move(paths)] { Decode(paths); });
}

bool ImagePreload::Wait(DWORD timeout_ms) {
  if (!thread_.joinable()) return true;
  std::unique_lock<std::mutex> lock(mutex_);
  return finished_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [this] { return done_; });
}

std::vector<std::wstring> ImagePreload::FilesNamedBy(const std::wstring& markup_path,
                                                     const std::wstring& image_folder) {
  std::vector<std::wstring> files;
  XmlDoc markup;
  if (!markup.LoadFromFile(markup_path.c_str())) return files;
  CollectImageFiles(markup.Root(), image_folder, files);
  return files;
}

void ImagePreload::Decode(const std::vector<std::wstring>& paths) {
  const ResourceHub::WindowLease gdiplus_in_use;
  for (const std::wstring& path : paths) {
    if (stopping_) break;
    std::shared_ptr<ImageInfo> image = ResourceHub::ObtainImage(path);
    if (!image) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    held_.push_back(std::move(image));
  }
  std::lock_guard<std::mutex> lock(mutex_);
  done_ = true;
  finished_.notify_all();
}

}  // namespace ui
