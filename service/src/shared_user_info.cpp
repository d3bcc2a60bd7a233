#include "shared_user_info.h"

namespace kestrum::service {

CSharedUserInfo& CSharedUserInfo::Instance() {
    static CSharedUserInfo info;
    return info;
}

std::string CSharedUserInfo::Read(const std::string& field) const {
    std::lock_guard<std::mutex> guard(lock_);
    return field;
}

std::string CSharedUserInfo::Token() const { return Read(token_); }
std::string CSharedUserInfo::Uid() const { return Read(uid_); }
std::string CSharedUserInfo::Nick() const { return Read(nick_); }
std::string CSharedUserInfo::Rid() const { return Read(rid_); }
std::string CSharedUserInfo::PortraitId() const { return Read(portraitId_); }

void CSharedUserInfo::SetAll(const std::string& token, const std::string& uid,
                             const std::string& nick, const std::string& rid,
                             const std::string& portraitId) {
    std::lock_guard<std::mutex> guard(lock_);
    token_ = token;
    uid_ = uid;
    nick_ = nick;
    portraitId_ = portraitId;
    rid_ = rid;
}

bool CSharedUserInfo::SetFromToken(const std::string& token, const std::string& portraitId,
                                   const std::string& uid) {
    if (token.size() > kMaxTokenBytes || portraitId.size() > kMaxIdBytes ||
        uid.size() > kMaxIdBytes) {
        return false;
    }
    std::lock_guard<std::mutex> guard(lock_);
    token_ = token;
    portraitId_ = portraitId;
    uid_ = uid;
    return true;
}

bool CSharedUserInfo::SetRid(const std::string& rid) {
    if (rid.size() > kMaxIdBytes) return false;
    std::lock_guard<std::mutex> guard(lock_);
    rid_ = rid;
    return true;
}

bool CSharedUserInfo::SetPortraitId(const std::string& portraitId) {
    if (portraitId.size() > kMaxIdBytes) return false;
    std::lock_guard<std::mutex> guard(lock_);
    portraitId_ = portraitId;
    return true;
}

}  // namespace kestrum::service
