#pragma once

#include <string>

// Text conversions and number formatting of the program.
//
// Narrow text inside the program is in the system's ANSI code page (paths, device names and most
// values of KestrumConfig.ini), except the texts that must survive whatever that code page is:
// names and chat, including the own nickname, are UTF-8, what the service library and the wire
// carry. Wide text is what Windows calls take. All functions are re-entrant and safe on any
// thread.
namespace ZuvraKestrum::Util {

// Wide <-> ANSI code page. Characters the code page lacks become its default character.
std::string CStringToString(const std::wstring& text);
std::wstring StringToCString(const std::string& text);

// ANSI code page <-> UTF-8, for texts that pass between an ANSI store (the room name and password
// kept in the configuration) and the service library (UTF-8). On a Chinese system the ANSI code
// page is GBK (936), hence the names; elsewhere these follow that system's code page, and a
// character it lacks becomes its default character. A null text gives the empty text.
std::string GbkToUtf8(const std::string& text);
std::string Utf8ToGbk(const char* text);

// UTF-8 <-> wide directly, for text that must survive whatever the ANSI code page is (chat,
// names from the wire, the own nickname). Malformed UTF-8 becomes U+FFFD.
std::wstring Utf8ToCString(const std::string& text);
std::string CStringToUtf8(const std::wstring& text);

// A participant's name (UTF-8) as notices, lists and bubbles show it, in UTF-8: on one line,
// each control character (line breaks, ESC, BEL, ...) and line or paragraph separator replaced
// by U+FFFD, and the embedding, override, isolate and direction marks it carries dropped, so that
// nothing in it reorders the text around it ("... joined" read backwards). A name that holds
// right-to-left letters is put between U+2068 FIRST STRONG ISOLATE and U+2069 POP DIRECTIONAL
// ISOLATE, which keep its direction to itself; any other name has no direction of its own to
// keep, and goes without them, since a renderer without bidirectional support (the window
// library under Wine, an old system's) draws each mark as a box. At most maxBytes long: a longer
// name is cut before the character that would cross, never its closing mark. An empty name (or
// one of marks only) stays empty. Applying it again changes nothing.
std::string DisplayName(const std::string& name,
                        std::string::size_type maxBytes = std::string::npos);

// What a log may show of a secret (an access or media token): its first four characters and
// "***", only "***" for a secret of four characters or fewer; the empty text stays empty. Logs
// are uploaded for support.
std::string MaskSecret(const std::string& secret);

// Decimal text of a number; FloatToString prints "%f" (six decimals).
std::string IntToString(int value);
std::wstring IntToCString(int value);
std::string FloatToString(float value);

// Leading number of a text as atoi/atof read it: 0 when there is none.
int StringToInt(const std::string& text);
float StringToFloat(const std::string& text);
int CStringToInt(const std::wstring& text);

}  // namespace ZuvraKestrum::Util
