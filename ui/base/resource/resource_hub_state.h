#pragma once

#include <windows.h>

#include <deque>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/base/render/render_factory.h"
#include "ui/base/resource/font_record.h"
#include "ui/base/resource/resource_hub.h"

namespace ui {

// The data behind ResourceHub's static members, shared by the files that implement it. Not for
// other users. Every member is read and written under `mutex`.
struct ResourceHubState {
  struct ImageKeyLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
      return ResourceHub::KeyLess(a, b);
    }
  };

  // The process's one state, never destroyed.
  static ResourceHubState& Get();

  std::wstring resource_path;
  std::unique_ptr<IRenderFactory> render_factory;
  CreateControlCallback create_control;
  ULONG_PTR gdiplus_token = 0;  // 0 while GDI+ is not started by the hub
  // Recursive: releasing the last holder of a cached image edits the cache from inside a lookup.
  std::recursive_mutex mutex;
  // A deque, so that a record handed out by FontInfo stays put while fonts are added.
  std::deque<FontRecord> fonts;
  // Fonts a Stop took off the list while windows existed; released with the last window.
  std::list<std::deque<FontRecord>> stopped_fonts;
  // A Stop while windows existed leaves GDI+ running until the last window is gone.
  bool gdiplus_stop_pending = false;
  int window_leases = 0;
  std::map<std::wstring, DWORD> colors;
  std::wstring default_text_color = L"textdefaultcolor";
  std::wstring default_disabled_text_color = L"textdefaultdisablecolor";
  std::map<std::wstring, std::wstring> classes;
  std::map<std::wstring, std::weak_ptr<ImageInfo>, ImageKeyLess> images;
  std::map<std::wstring, std::shared_ptr<MarkupBuilder>> builders;
};

}  // namespace ui
