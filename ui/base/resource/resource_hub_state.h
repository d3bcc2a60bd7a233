#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/resource/font_record.h"
#include "ui/base/resource/resource_hub.h"
#include "ui/controls/render/render_factory.h"

namespace ui {

// The data behind ResourceHub's static members, shared by the files that implement it. Not for
// other users. UI thread only.
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
  std::vector<FontRecord> fonts;
  std::map<std::wstring, DWORD> colors;
  std::wstring default_text_color = L"textdefaultcolor";
  std::wstring default_disabled_text_color = L"textdefaultdisablecolor";
  std::map<std::wstring, std::wstring> classes;
  std::map<std::wstring, std::weak_ptr<ImageInfo>, ImageKeyLess> images;
  std::map<std::wstring, std::shared_ptr<MarkupBuilder>> builders;
};

}  // namespace ui
