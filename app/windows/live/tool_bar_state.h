#pragma once

#include <string>

// The in-meeting window's tool-bar state apart from its controls: which side panel is open
// (chat and participants share the right edge, so opening one closes the other), whether the
// tile strip is out, and the unread-chat badge.
namespace ZuvraKestrum::Live {

class ToolBarState {
public:
    bool chatOpen() const { return chatOpen_; }
    bool participantsOpen() const { return participantsOpen_; }
    bool stripOpen() const { return stripOpen_; }
    bool anyPanelOpen() const { return chatOpen_ || participantsOpen_ || stripOpen_; }

    // A click on the chat toggle; opening the chat closes the participants and clears the
    // badge.
    void toggleChat();
    void toggleParticipants();
    // The panel closed itself (its own close button).
    void chatClosed() { chatOpen_ = false; }
    void participantsClosed() { participantsOpen_ = false; }
    void setStripOpen(bool open) { stripOpen_ = open; }

    // A chat message arrived: counted while the chat is closed, unless it is the user's own
    // (own: the room's echo of what the user sent, here or on another device).
    void chatMessageArrived(bool own);
    int unread() const { return unread_; }
    // The badge's text, "99+" past kMostShownUnread: the badge is 20 pixels wide. Shown only
    // while unread() > 0.
    std::wstring badgeText() const;
    static constexpr int kMostShownUnread = 99;

private:
    bool chatOpen_ = false;
    bool participantsOpen_ = false;
    bool stripOpen_ = false;
    int unread_ = 0;
};

// The own microphone and camera toggles wait, disabled, for the server's echo of the user's own
// change. Whatever else means no echo will come frees them as well, showing the device as the
// engine has it: a failed room-control request, a new signalling connection (an echo due while
// it was down is lost) and the end of a bounded wait (a request the bridge's queue dropped).
class OwnToggleWait {
public:
    static constexpr unsigned kWaitMs = 5000;

    // The change was sent: the toggles wait, at most kWaitMs.
    void sent() { waiting_ = true; }
    // The echo, a new connection or the end of the wait: true when the toggles were waiting
    // and are free now.
    bool settle();
    // A service request failed (its api): true when that frees the toggles.
    bool requestFailed(const std::string& api);
    bool waiting() const { return waiting_; }

private:
    bool waiting_ = false;
};

}  // namespace ZuvraKestrum::Live
