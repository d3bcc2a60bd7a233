#include "sibling_record.h"

#include <windows.h>
#include <shellapi.h>

#include "kestrum/common/scoped_handle.h"
#include "kestrum/common/utf.h"

namespace sibling {

std::vector<std::wstring> OwnArguments() {
    std::vector<std::wstring> arguments;
    int count = 0;
    wchar_t** split = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!split) return arguments;
    arguments.assign(split, split + count);
    LocalFree(split);
    return arguments;
}

bool RecordArguments(const std::vector<std::wstring>& arguments) {
    const std::wstring file = EnvironmentValue(kRecordVariable);
    if (file.empty()) return false;
    std::string line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) line += '\t';
        line += kestrum::common::WideToUtf8(arguments[i]);
    }
    line += '\n';
    // Append-only access makes every write land at the current end, also when other stand-ins
    // write to the same file at the same time.
    const kestrum::common::ScopedHandle out(
        CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(out.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return ok && written == line.size();
}

std::wstring EnvironmentValue(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return std::wstring();
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return value;
}

}  // namespace sibling
