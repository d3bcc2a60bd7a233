#pragma once

#include <cstddef>
#include <string>

namespace ZuvraKestrum::Join {

// Longest room name, password and nickname the join windows accept, and the shortest room name.
constexpr size_t kMaxRoomNameLength = 18;
constexpr size_t kMinRoomNameLength = 3;
constexpr size_t kMaxPasswordLength = 18;
constexpr size_t kMaxNicknameLength = 18;

// A room name holds only the ASCII letters and digits.
bool IsRoomNameChar(wchar_t c);

// text with its lower-case letters raised and every character that is no letter or digit
// dropped.
std::wstring FilterRoomName(const std::wstring& text);

// Where the caret belongs once the room edit's text `after` (which replaced `before`) has been
// filtered: behind the accepted characters of what came in. The change is what lies between the
// texts' common start and common end; the edit put its caret behind it (typing, pasting) or at
// its start (deleting). `before` is taken as already filtered.
int RoomCaretAfter(const std::wstring& before, const std::wstring& after);

// The room edit's rule: a room name of at most 18 letters and digits, shown in upper case, with
// the caret kept behind the last accepted character. Fed every text the edit reports, it says
// what the window has to do to the edit. Keeps the last text it accepted.
//
// Every text the edit shows has passed the filter: a change that brings in a character outside
// the name's alphabet, or makes the name longer than 18, is answered with the cleaned text,
// written back once, and the caret's place in it; a name cut to 18 also asks for one "too long"
// notice. A change the filter leaves as it is stands, caret and all.
//
// Not thread-safe; owned by the join window on the UI thread.
class CRoomNameInput {
public:
    struct Change {
        enum Kind {
            kNothing,      // leave the edit as it is
            kReplaceText,  // set the edit's text to `text`, then an empty selection at `caret`
        };
        Kind kind = kNothing;
        std::wstring text;
        int caret = 0;
        bool edited = false;   // the user changed the name (not just its echo or emptying it)
        bool tooLong = false;  // the name was cut to 18 characters: tell the user once
    };

    // The edit now shows `now`.
    Change textChanged(const std::wstring& now);

    // Takes `text` as the accepted text without filtering it (the edit's text when it gets the
    // focus).
    void reset(const std::wstring& text) { text_ = text; }

    const std::wstring& text() const { return text_; }

private:
    std::wstring text_;
};

// text cut to its first `limit` UTF-16 units, one fewer when the cut would split a surrogate pair
// (kestrum::common::Utf16CutLength); true when that cut something.
bool CutToLimit(std::wstring& text, size_t limit);

}  // namespace ZuvraKestrum::Join
