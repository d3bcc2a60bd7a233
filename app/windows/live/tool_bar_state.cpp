#include "app/windows/live/tool_bar_state.h"

namespace ZuvraKestrum::Live {

void ToolBarState::toggleChat() {
    chatOpen_ = !chatOpen_;
    if (!chatOpen_) return;
    participantsOpen_ = false;
    unread_ = 0;
}

void ToolBarState::toggleParticipants() {
    participantsOpen_ = !participantsOpen_;
    if (participantsOpen_) chatOpen_ = false;
}

void ToolBarState::chatMessageArrived(bool own) {
    // Counting stops where the badge stops showing it, so no flood overflows it.
    if (!chatOpen_ && !own && unread_ <= kMostShownUnread) ++unread_;
}

std::wstring ToolBarState::badgeText() const {
    return unread_ > kMostShownUnread ? std::to_wstring(kMostShownUnread) + L"+"
                                      : std::to_wstring(unread_);
}

bool OwnToggleWait::settle() {
    const bool waited = waiting_;
    waiting_ = false;
    return waited;
}

// The device changes go out as room-control requests; any other request's failure says nothing
// about them.
bool OwnToggleWait::requestFailed(const std::string& api) { return api == "room/ctrl" && settle(); }

}  // namespace ZuvraKestrum::Live
