#include "app/kestrum/notice_texts.h"

namespace ZuvraKestrum::Shell {

namespace {

struct ErrorRow {
    int code;
    const wchar_t* english;
    const wchar_t* chinese;
};

constexpr ErrorRow kErrors[] = {
    {1009, L"Portrait update failed, image too large(<0.6M)",
     L"更新头像失败，图片文件体积超出限制(<0.6M)"},
    {1010, L"Image format is not supported(png,jpeg,jpg)", L"头像格式不支持(png,jpeg,jpg)"},
    {2003, L"Internal server error(code: 2003)", L"更新房间信息失败，服务端错误(code: 2003)"},
    {2005, L"Internal server error(code: 2005)", L"控制失败，服务端错误(code: 2005)"},
    {2006, L"Room join failed, incorrect password", L"无法加入房间，密码错误"},
    {2008, L"You are not host of this room", L"控制请求失败，房间中已经存在其他主持人"},
    {2009, L"Screen share going already", L"无法发起共享，当前房间已经存在其他进行中的屏幕共享"},
};

constexpr const wchar_t* kUpgradeEnglish = L"Please update app to new version.";
constexpr const wchar_t* kUpgradeChinese = L"版本过旧，请升级到最新版本。";

}  // namespace

const wchar_t* ErrorText(int code, int language) {
    for (const ErrorRow& row : kErrors) {
        if (row.code == code) return language != 0 ? row.chinese : row.english;
    }
    return nullptr;
}

NoticeContent ComposeNotice(const wchar_t* text, int code, int type, int language) {
    const wchar_t* builtIn = ErrorText(code, language);
    const std::wstring shown = builtIn ? builtIn : (text ? text : L"");
    NoticeContent content;
    switch (type) {
    case 0:
    case 1:
        content.title = type == 0 ? L"Warning" : L"Error";
        content.setTips = true;
        content.tips = shown;
        content.setType = true;
        break;
    case 2:
        content.hide = true;
        break;
    case 3:
    case 4:
        content.title = type == 3 ? L"ForceUpdate" : L"OptionUpdate";
        content.setTips = true;
        content.tips = language != 0 ? kUpgradeChinese : kUpgradeEnglish;
        content.setType = true;
        content.argument = shown;
        break;
    default:
        break;
    }
    return content;
}

}  // namespace ZuvraKestrum::Shell
