#pragma once

#include <windows.h>

#include <cstdint>
#include <set>
#include <string>

// Who is in a channel, across processes: the stand-ins carry no media, but two programs in one
// channel should see each other join and leave. While the environment variable
// KESTRUM_ENGINE_CHANNELS names a folder, each engine and video source in a channel keeps an
// empty file <folder>\<channel>\<uid> for as long as it stays, and an engine lists the folder
// to learn the channel's other users. Anything that can write a file can take part (scripted
// peers of the tests). A program that dies leaves its file behind: runs start on a fresh folder.
//
// Threads: callers serialise the calls of one object.
namespace kestrum::standin {

class ChannelFolder {
public:
    // The folder named by KESTRUM_ENGINE_CHANNELS; empty when unset.
    static std::wstring Root();

    explicit ChannelFolder(std::wstring root = Root()) : root_(std::move(root)) {}
    ~ChannelFolder() { leave(); }
    ChannelFolder(const ChannelFolder&) = delete;
    ChannelFolder& operator=(const ChannelFolder&) = delete;

    bool enabled() const { return !root_.empty(); }
    // Announces uid in channel (after leaving the channel it was in); false when the file could
    // not be made.
    bool enter(const std::string& channel, uint32_t uid);
    void leave();
    // The users of the entered channel other than this one; empty outside a channel.
    std::set<uint32_t> others() const;

    // The folder of a channel: bytes other than letters, digits, '-' and '_' are written as
    // %XX, so any channel name stays one folder below the root.
    static std::wstring FolderName(const std::string& channel);

private:
    std::wstring root_;
    std::wstring folder_;  // of the entered channel, with a trailing backslash
    std::wstring file_;    // own file; empty outside a channel
    uint32_t uid_ = 0;
};

}  // namespace kestrum::standin
