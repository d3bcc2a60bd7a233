#include "valid_utf8.h"

#include "kestrum/common/utf.h"

namespace kestrum::service {

std::string ValidUtf8(std::string_view text) {
    // The round trip keeps valid text byte for byte and replaces only the bad sequences.
    return common::WideToUtf8(common::Utf8ToWide(text));
}

}  // namespace kestrum::service
