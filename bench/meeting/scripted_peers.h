#pragma once

#include <string>
#include <vector>

class TestBackend;

// Other people in a meeting for the benches on the test back-end: the back-end's scripted
// socket.io peers (POST /signal/peers), which join a room through the signalling server as the
// program's client does and, with the channel folder below, appear to the stand-in engine as
// users of other processes do.
//
// Threads: one thread at a time per object; Start may run on a helper thread while the bench
// thread waits for it to finish before reading peers().
namespace bench_peers {

// A channel folder of this process's own under the test work folder (a Unix path), named in
// KESTRUM_ENGINE_CHANNELS for the engines created from now on; emptied and removed when it goes.
// One per process.
class ChannelRoot {
public:
    ChannelRoot();
    ~ChannelRoot();
    ChannelRoot(const ChannelRoot&) = delete;
    ChannelRoot& operator=(const ChannelRoot&) = delete;

    const std::string& unixPath() const { return unixPath_; }

private:
    std::string unixPath_;
};

struct Peer {
    std::string uid;
    int streamId = 0;
};

// One group of peers in one room, ended (disconnected, files removed) by End or when it goes.
class PeerGroup {
public:
    explicit PeerGroup(TestBackend& backend) : backend_(backend) {}
    ~PeerGroup() { End(); }
    PeerGroup(const PeerGroup&) = delete;
    PeerGroup& operator=(const PeerGroup&) = delete;

    // Starts count peers in room; with a channel folder (Unix path) they announce their media
    // there, with echo each sends every chat message of a non-peer back to the room. Returns once
    // the back-end has made them, before they have joined; false when it refused or did not
    // answer. Ends the group started before, if any.
    bool Start(const std::string& room, int count, const std::string& channelFolder, bool echo);
    void End();
    // The group's joined peers send count chat messages to their room between them, in turn
    // ("burst 1" to "burst <count>"); false when the back-end sent none.
    bool Chat(int count);

    // The peers of the running group; empty when none runs.
    const std::vector<Peer>& peers() const { return peers_; }

private:
    TestBackend& backend_;
    int id_ = 0;
    std::vector<Peer> peers_;
};

}  // namespace bench_peers
