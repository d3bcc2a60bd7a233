#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "kestrum/sio/message.h"

namespace ksio {

// Deepest nesting accepted from the network. Deeper input is refused rather than parsed, because
// destroying a deeply nested Message recurses once per level.
constexpr int kMaxJsonDepth = 64;

// Parses one JSON text into out. False (out untouched) on malformed JSON, trailing content, or
// nesting deeper than kMaxJsonDepth.
[[nodiscard]] bool DecodeJson(std::string_view text, Message& out);

// DecodeJson for a thread that decodes one small document after another (the network thread): it
// keeps its working memory between documents, so each one costs fewer heap blocks. One thread at
// a time.
class JsonDecoder {
public:
    JsonDecoder();
    ~JsonDecoder();
    JsonDecoder(const JsonDecoder&) = delete;
    JsonDecoder& operator=(const JsonDecoder&) = delete;

    // As DecodeJson.
    [[nodiscard]] bool Decode(std::string_view text, Message& out);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The size the JSON text has with every escape in its strings written as the UTF-8 it stands for
// (a lone surrogate as the three bytes of U+FFFD, as Decode reads it): what a document holds,
// whether its sender escaped non-ASCII text or not. Scans the text without decoding it.
size_t UnescapedJsonSize(std::string_view text);

// Appends the compact JSON text of the value. Texts that are not valid UTF-8 are repaired (see
// RepairUtf8) because the server drops a connection that sends an invalid text frame.
// NaN and infinities print as null, as a browser's JSON does.
void AppendJson(const Message& value, std::string& out);

// The text with each maximal ill-formed subsequence (a truncated character, or each byte that can
// start none) replaced by one U+FFFD, as browsers do: "cut " + E4 B8 keeps one replacement.
std::string RepairUtf8(std::string_view text);

}  // namespace ksio
