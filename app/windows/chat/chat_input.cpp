#include "app/windows/chat/chat_input.h"

#include "kestrum/common/utf.h"

namespace ZuvraKestrum::Chat {

const wchar_t* InputHint(int language) {
    return language == 0 ? L"Say something\x2026" : L"\x8BF4\x70B9\x4EC0\x4E48\x2026";
}

std::string MessageToSend(const std::wstring& edited, const std::wstring& hint) {
    if (edited == hint || edited.find_first_not_of(L" \t\r\n") == std::wstring::npos) return {};
    std::wstring text;
    text.reserve(edited.size());
    for (size_t i = 0; i < edited.size(); ++i) {
        if (edited[i] != L'\r') {
            text += edited[i];
            continue;
        }
        text += L'\n';
        if (i + 1 < edited.size() && edited[i + 1] == L'\n') ++i;
    }
    return kestrum::common::WideToUtf8(text);
}

}  // namespace ZuvraKestrum::Chat
