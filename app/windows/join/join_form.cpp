#include "app/windows/join/join_form.h"

#include "app/windows/join/room_name_input.h"
#include "kestrum/core/util_display.h"

namespace ZuvraKestrum::Join {

namespace {

constexpr JoinTexts kEnglish = {
    L"Room name",
    L"Room password",
    L"Room name must be at least 3 characters",
    L"Room name must not exceed 18 characters",
    L"Room Password must not exceed 18 characters",
    L"Network quality good",
    L"Network quality normal",
    L"Network quality weak",
    L"Your name",
    L"Nickname must not exceed 18 characters",
    L"The service refused the sign-in. Please try again later.",
};

constexpr JoinTexts kChinese = {
    L"房间名称",
    L"房间密码",
    L"房间名称不能少于3位",
    L"房间名称不能大于18位",
    L"房间密码长度不能大于18位",
    L"网络质量良好",
    L"网络质量一般",
    L"网络质量较差",
    L"请输入昵称",
    L"昵称长度不能超过18",
    L"服务拒绝了登录，请稍后重试。",
};

// Signal levels of QualityToSignalLevel.
constexpr int kLevelWeak = 0;
constexpr int kLevelNormal = 1;

}  // namespace

const JoinTexts& JoinTextsFor(int language) { return language != 0 ? kChinese : kEnglish; }

JoinForm ReadJoinForm(const std::wstring& roomText, const std::wstring& passwordText,
                      const JoinTexts& texts) {
    JoinForm form;
    form.room = roomText == texts.roomHint ? std::wstring() : roomText;
    form.password = passwordText == texts.passwordHint ? std::wstring() : passwordText;
    form.roomTooShort = form.room.size() < kMinRoomNameLength;
    return form;
}

SignalLook SignalLookOf(unsigned quality, const JoinTexts& texts) {
    SignalLook look;
    const int level = ZuvraKestrum::Util::QualityToSignalLevel(quality);
    if (level < 0) return look;
    look.known = true;
    if (level == kLevelWeak) {
        look.image = L"signal-weak.png";
        look.text = texts.signalWeak;
    } else if (level == kLevelNormal) {
        look.image = L"signal-normal.png";
        look.text = texts.signalNormal;
    } else {
        look.image = L"signal-good.png";
        look.text = texts.signalGood;
    }
    return look;
}

std::wstring CVersionLabel::next(const std::wstring& engineVersion,
                                 const std::wstring& appVersion) {
    const bool engine = showEngine_;
    showEngine_ = !showEngine_;
    return engine ? L"RTC:" + engineVersion : L"V" + appVersion;
}

}  // namespace ZuvraKestrum::Join
