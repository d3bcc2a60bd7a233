#include "client_exchange.h"

#include "kestrum/common/utf.h"
#include "kestrum/testing/wait.h"
#include "staged_program.h"

namespace {

using kestrum::common::Utf8ToWide;

std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

}  // namespace

ClientExchange::ClientExchange() : folder_(EnvironmentValue(L"KESTRUM_TWO_CLIENTS_EXCHANGE")) {
    if (!folder_.empty() && folder_.back() != L'\\') folder_ += L'\\';
}

bool ClientExchange::put(const std::string& step, const std::string& text) const {
    const std::wstring path = folder_ + Utf8ToWide(step);
    const std::wstring partial = path + L".part";
    {
        const kestrum::common::ScopedHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0,
                                                             nullptr, CREATE_ALWAYS,
                                                             FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                                nullptr)) {
            return false;
        }
    }
    return MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool ClientExchange::await(const std::string& step, std::string* text) const {
    const std::wstring path = folder_ + Utf8ToWide(step);
    const bool came = kestrum::testing_support::WaitUntil(
        [&path] { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; },
        kestrum::testing_support::TestTimeout() * 6);
    if (came && text) *text = ReadWholeFile(path);
    return came;
}

void TypeText(HWND window, const std::wstring& text) {
    for (wchar_t c : text) PostMessageW(window, WM_CHAR, c, 0);
}

void SetEnvironmentLines(const std::string& lines) {
    for (const std::string& line : Lines(lines)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        SetEnvironmentVariableW(Utf8ToWide(line.substr(0, equals)).c_str(),
                                Utf8ToWide(line.substr(equals + 1)).c_str());
    }
}
