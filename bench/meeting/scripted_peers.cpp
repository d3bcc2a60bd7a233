#include "scripted_peers.h"

#include <windows.h>

#include "kestrum/json/json_document.h"
#include "support/test_backend.h"

namespace bench_peers {

ChannelRoot::ChannelRoot()
    : unixPath_(std::string(KESTRUM_TEST_WORKDIR) + "/channels-" +
                std::to_string(GetCurrentProcessId())) {
    SetEnvironmentVariableA("KESTRUM_ENGINE_CHANNELS", WindowsPath(unixPath_).c_str());
}

// The engines and the peers remove their files when they leave; what a crashed writer left in
// a channel stays, and so does that channel's folder.
ChannelRoot::~ChannelRoot() {
    SetEnvironmentVariableA("KESTRUM_ENGINE_CHANNELS", nullptr);
    const std::string root = WindowsPath(unixPath_);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((root + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." &&
                name != "..") {
                RemoveDirectoryA((root + "\\" + name).c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(root.c_str());
}

bool PeerGroup::Start(const std::string& room, int count, const std::string& channelFolder,
                      bool echo) {
    End();
    jdoc::CJsonDocument request;
    request.AddStringMember("room", room);
    request.AddSignedMember("count", count);
    if (!channelFolder.empty()) request.AddStringMember("channelFolder", channelFolder);
    request.AddSignedMember("echo", echo ? 1 : 0);
    const jdoc::CJsonDocument answer(
        backend_.Call("POST", "signal/peers", request.ToCompactText()));
    const JsonNode* id = answer.Node() ? json_find_member(answer.Node(), "id") : nullptr;
    const JsonNode* list = answer.Node() ? json_find_member(answer.Node(), "peers") : nullptr;
    if (!id || !list) return false;
    id_ = static_cast<int>(id->valueint);
    for (const JsonNode* item = list->child; item; item = item->next) {
        const JsonNode* uid = json_find_member(item, "uid");
        const JsonNode* stream = json_find_member(item, "streamId");
        if (!uid || !uid->valuestring || !stream) continue;
        peers_.push_back({uid->valuestring, static_cast<int>(stream->valueint)});
    }
    return static_cast<int>(peers_.size()) == count;
}

bool PeerGroup::Chat(int count) {
    if (id_ == 0) return false;
    const jdoc::CJsonDocument answer(backend_.Call(
        "POST", "signal/peers/chat",
        "{\"id\":" + std::to_string(id_) + ",\"count\":" + std::to_string(count) + "}"));
    const JsonNode* sent = answer.Node() ? json_find_member(answer.Node(), "sent") : nullptr;
    return sent && static_cast<int>(sent->valueint) == count;
}

void PeerGroup::End() {
    if (id_ == 0) return;
    backend_.Call("POST", "signal/peers/end", "{\"id\":" + std::to_string(id_) + "}");
    id_ = 0;
    peers_.clear();
}

}  // namespace bench_peers
