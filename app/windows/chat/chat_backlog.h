#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "app/windows/chat/bubble_layout.h"

// The chat's bounded history and the messages waiting to join it. Messages arrive one by one
// but join the list in batches, each laid out and scrolled once, so that a flood of messages
// costs a layout per batch instead of one per message and the window handles input between
// batches. Plain values without window types; one owner, the owner's thread.
namespace ZuvraKestrum::Chat {

// A received message not yet shown.
struct Arrival {
    BubbleSide side = BubbleSide::kRemote;
    std::string uid;
    std::string text;  // UTF-8, as it arrived: no more than its bubble shows (ShownPartOfUtf8)
    std::string portraitId;
};

class ChatBacklog {
public:
    // The bubbles the chat keeps; older ones go, and their memory with them. About forty
    // panel-heights of chat to scroll back through, more than a reader goes back in a meeting,
    // and at most about 16 MB at some 32 KB a bubble, where a peer's flood of 20,000 messages
    // once kept 630 MB of the 32-bit program.
    static constexpr size_t kMaxKept = 500;
    // Messages one batch adds at most: a flood is laid out in steps short enough for the window
    // to answer input between them.
    static constexpr size_t kMaxBatch = 50;

    // A message arrived. Only the newest kMaxKept can ever be shown, so the oldest waiting one
    // goes when more wait.
    void arrive(Arrival arrival);
    bool waiting() const { return !waiting_.empty(); }

    struct Batch {
        size_t dropOldest = 0;     // bubbles to take from the top of the list first
        std::vector<Arrival> add;  // then these, in order of arrival
    };
    // The next batch for a list that keeps `kept` bubbles now.
    Batch take(size_t kept);

private:
    std::deque<Arrival> waiting_;
};

}  // namespace ZuvraKestrum::Chat
