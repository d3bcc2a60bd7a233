#include "file_path.h"

#include <utility>

#include "kestrum/common/utf.h"

namespace kestrum::service {

bool WidePath(const std::string& utf8, std::wstring& wide) {
    if (utf8.empty() || utf8.find('\0') != std::string::npos) return false;
    std::wstring converted = common::Utf8ToWide(utf8);
    // Invalid UTF-8 converts with U+FFFD in place of its bad sequences, so it does not come back.
    if (common::WideToUtf8(converted) != utf8) return false;
    wide = std::move(converted);
    return true;
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kestrum::service
