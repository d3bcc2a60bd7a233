#pragma once

#include <string>

namespace DuiLib {

class CControlUI;

namespace control_factory {

// Whether the layer has a face for the skin element name.
bool IsLayerName(const std::wstring& skin_name);
// A new control of this layer for the skin element name; null for an unknown name.
CControlUI* Create(const std::wstring& skin_name);

}  // namespace control_factory
}  // namespace DuiLib
