#include "app/windows/live/tool_bar_state.h"

namespace live {

void ToolBarState::ToggleChat() {
    chatOpen_ = !chatOpen_;
    if (!chatOpen_) return;
    participantsOpen_ = false;
    unread_ = 0;
}

void ToolBarState::ToggleParticipants() {
    participantsOpen_ = !participantsOpen_;
    if (participantsOpen_) chatOpen_ = false;
}

void ToolBarState::ChatMessageArrived() {
    if (!chatOpen_) ++unread_;
}

bool OwnToggleWait::Settle() {
    const bool waited = waiting_;
    waiting_ = false;
    return waited;
}

// The device changes go out as room-control requests; any other request's failure says nothing
// about them.
bool OwnToggleWait::RequestFailed(const std::string& api) { return api == "room/ctrl" && Settle(); }

}  // namespace live
