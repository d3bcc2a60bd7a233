#pragma once

#include "duilib/ui_event.h"
#include "ui/controls/core/event_args.h"

namespace DuiLib {
namespace event_translation {

// The event number of this layer for a framework event type; 0 when there is none.
int ToLayerType(ui::EventType type);
// The framework type for an event number of this layer; ui::kEventNone when there is none.
ui::EventType ToFrameworkType(int type);

// Fills event from args (sender left null, pSource set to args); false when the type has no
// counterpart. Wheel events carry the direction in LOWORD(wParam) and the delta in HIWORD.
bool ToLayerEvent(ui::EventArgs& args, TEventUI* event);
// Fills args from an event the program made (sender left null); false without a counterpart.
bool ToFrameworkEvent(const TEventUI& event, ui::EventArgs* args);

// The notification text every control sends for a framework event raised at it; null for none.
const wchar_t* DefaultNotification(int framework_event);

}  // namespace event_translation
}  // namespace DuiLib
