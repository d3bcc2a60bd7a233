#pragma once

#include <string>

// The in-meeting window's tool-bar state apart from its controls: which side panel is open
// (chat and participants share the right edge, so opening one closes the other), whether the
// tile strip is out, and the unread-chat badge.
namespace live {

class ToolBarState {
public:
    bool chatOpen() const { return chatOpen_; }
    bool participantsOpen() const { return participantsOpen_; }
    bool stripOpen() const { return stripOpen_; }
    bool anyPanelOpen() const { return chatOpen_ || participantsOpen_ || stripOpen_; }

    // A click on the chat toggle; opening the chat closes the participants and clears the
    // badge.
    void ToggleChat();
    void ToggleParticipants();
    // The panel closed itself (its own close button).
    void ChatClosed() { chatOpen_ = false; }
    void ParticipantsClosed() { participantsOpen_ = false; }
    void SetStripOpen(bool open) { stripOpen_ = open; }

    // A chat message arrived: counted while the chat is closed.
    void ChatMessageArrived();
    int unread() const { return unread_; }
    // The badge's text; shown only while unread() > 0.
    std::wstring BadgeText() const { return std::to_wstring(unread_); }

private:
    bool chatOpen_ = false;
    bool participantsOpen_ = false;
    bool stripOpen_ = false;
    int unread_ = 0;
};

}  // namespace live
