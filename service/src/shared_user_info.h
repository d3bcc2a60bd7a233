#pragma once

#include <cstddef>
#include <mutex>
#include <string>

namespace kestrum::service {

// The five library-wide user texts (token, uid, nickname, room id, portrait id). Written by
// setUserInfo and by the token, join, create and portrait-upload responses, read by requests.
// Every member is safe on any thread: each access takes the one lock, and readers get copies.
//
// What a server's answer brings is kept only within sane lengths, because every later request
// sends it again (a 10 MB token made every request fail locally, on every server): the setters
// for answers refuse a longer text, keep what they held and return false, and the request that
// brought it fails. setUserInfo's texts come from the caller and are kept as they are.
class CSharedUserInfo {
public:
    // A token: it travels in the "access_token:" header line of every request, which servers
    // commonly cap at 8 KiB with the other headers; real tokens are a few dozen bytes (a signed
    // web token a few hundred).
    static constexpr size_t kMaxTokenBytes = 4096;
    // A uid, room id or portrait id: the records that carry them to the program hold 255 bytes
    // (kRecordTextSize), so a longer one could not be matched there anyway.
    static constexpr size_t kMaxIdBytes = 255;

    // The one object of the library; made before the request singletons, so it outlives them.
    static CSharedUserInfo& Instance();

    std::string Token() const;
    std::string Uid() const;
    std::string Nick() const;
    std::string Rid() const;
    std::string PortraitId() const;

    // setUserInfo: all five at once, in the order token, uid, nick, portraitId, rid.
    void SetAll(const std::string& token, const std::string& uid, const std::string& nick,
                const std::string& rid, const std::string& portraitId);
    // The token response: token, portraitId, uid, at once; none of them when one is too long
    // (false).
    [[nodiscard]] bool SetFromToken(const std::string& token, const std::string& portraitId,
                                    const std::string& uid);
    // The join and create responses; false (the room id kept) when too long.
    [[nodiscard]] bool SetRid(const std::string& rid);
    // The portrait-upload response; false (the portrait id kept) when too long.
    [[nodiscard]] bool SetPortraitId(const std::string& portraitId);

private:
    std::string Read(const std::string& field) const;

    mutable std::mutex lock_;
    std::string uid_;
    std::string token_;
    std::string portraitId_;
    std::string rid_;
    std::string nick_;
};

}  // namespace kestrum::service
