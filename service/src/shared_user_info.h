#pragma once

#include <mutex>
#include <string>

namespace kestrum::service {

// The five library-wide user texts (token, uid, nickname, room id, portrait id). Written by
// setUserInfo and by the token, join, create and portrait-upload responses, read by requests.
// Every member is safe on any thread: each access takes the one lock, and readers get copies.
class CSharedUserInfo {
public:
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
    // The token response: token, portraitId, uid, at once.
    void SetFromToken(const std::string& token, const std::string& portraitId,
                      const std::string& uid);
    void SetRid(const std::string& rid);
    void SetPortraitId(const std::string& portraitId);

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
