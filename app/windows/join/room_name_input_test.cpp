#include "app/windows/join/room_name_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace ZuvraKestrum::Join;
using Change = CRoomNameInput::Change;

TEST(RoomNameFilterTest, KeepsAsciiLettersAndDigitsInUpperCase) {
    struct Case {
        const wchar_t* text;
        const wchar_t* filtered;
    };
    const Case cases[] = {
        {L"", L""},
        {L"abc", L"ABC"},
        {L"Room-42_x", L"ROOM42X"},
        {L"a b\tc", L"ABC"},
        {L"\x00E9t\x00E9", L"T"},  // accented letters are not in the alphabet
        {L"\x623F\x95F4"
         L"7",
         L"7"},                  // nor are Chinese characters
        {L"\xFF21\xFF11", L""},  // full-width A and 1 neither
        {L"zZ09", L"ZZ09"},
    };
    for (const Case& c : cases) EXPECT_EQ(FilterRoomName(c.text), c.filtered) << c.text;
}

TEST(RoomCaretTest, GoesBehindTheAcceptedCharactersOfTheChange) {
    struct Case {
        const wchar_t* before;
        const wchar_t* after;
        int caret;
    };
    const Case cases[] = {
        {L"", L"a", 1},        // typed letter: behind it
        {L"AB", L"AB-", 2},    // typed dash: where it was typed
        {L"ABC", L"A-BC", 1},  // typed dash in the middle
        {L"AB", L"AxB", 2},    // typed letter in the middle
        {L"ABC", L"AB", 2},    // backspace at the end
        {L"ABCD", L"ABD", 2},  // a letter deleted in the middle
        {L"ABC", L"AxC", 2},   // a selected letter typed over
        {L"", L"ab-cd", 4},    // a paste: behind its four accepted characters
        {L"AB", L"A--B", 1},   // a paste of nothing acceptable: where it was pasted
        {L"ABC", L"x", 1},     // everything selected and typed over
        {L"", L"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoomCaretAfter(c.before, c.after), c.caret) << c.before << " -> " << c.after;
    }
}

// An edit as the window drives it: what the user does changes the text and the caret as an edit
// does, the input's answers are applied, and a written back text is reported again.
struct EditModel {
    CRoomNameInput input;
    std::wstring shown;
    int caret = 0;
    int tooLongNotices = 0;
    int writes = 0;

    void Show(const std::wstring& text) {
        shown = text;
        const Change change = input.textChanged(text);
        if (change.tooLong) ++tooLongNotices;
        if (change.kind == Change::kNothing) return;
        ++writes;
        Show(change.text);
        caret = change.caret;
    }
    void Type(wchar_t c) {
        const int at = caret;
        caret = at + 1;
        Show(shown.substr(0, at) + c + shown.substr(at));
    }
    void Paste(const std::wstring& text) {
        caret = static_cast<int>(text.size());
        Show(text);
    }
};

TEST(RoomNameInputTest, TypingShowsUpperCaseAndDropsOtherCharactersWithoutMovingTheCaret) {
    EditModel edit;
    for (wchar_t c : std::wstring(L"ab-c")) edit.Type(c);
    EXPECT_EQ(edit.shown, L"ABC");
    EXPECT_EQ(edit.input.text(), L"ABC");
    EXPECT_EQ(edit.caret, 3);
    EXPECT_EQ(edit.tooLongNotices, 0);

    edit.caret = 1;  // a click between A and B
    edit.Type(L'-');
    EXPECT_EQ(edit.shown, L"ABC");
    EXPECT_EQ(edit.caret, 1);
    edit.Type(L'x');
    EXPECT_EQ(edit.shown, L"AXBC");
    EXPECT_EQ(edit.caret, 2);
}

TEST(RoomNameInputTest, NamesAreFilteredFirstThenCutTo18WithOneNoticeAndOneWrite) {
    EditModel edit;
    edit.Paste(L"abcdefghij-klmnopqrst");
    EXPECT_EQ(edit.shown, L"ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(edit.caret, 18);
    EXPECT_EQ(edit.tooLongNotices, 1);
    EXPECT_EQ(edit.writes, 1);
    // At 18, a dash is dropped without a notice; a letter is cut with one.
    edit.Type(L'-');
    EXPECT_EQ(edit.tooLongNotices, 1);
    edit.Type(L's');
    EXPECT_EQ(edit.shown, L"ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(edit.tooLongNotices, 2);
}

TEST(RoomNameInputTest, CleanChangesAndEchoesStandAndASelectionTypedOverIsFiltered) {
    CRoomNameInput input;
    Change change = input.textChanged(L"ABC");
    EXPECT_EQ(change.kind, Change::kNothing);
    EXPECT_TRUE(change.edited);
    EXPECT_EQ(input.textChanged(L"AB").kind, Change::kNothing);  // backspace
    change = input.textChanged(L"AB");                           // an echo
    EXPECT_FALSE(change.edited);
    change = input.textChanged(L"a");
    EXPECT_EQ(change.kind, Change::kReplaceText);
    EXPECT_EQ(change.text + std::to_wstring(change.caret), L"A1");
    // Emptied: no error to hide and nothing to write.
    change = input.textChanged(L"");
    EXPECT_EQ(change.kind, Change::kNothing);
    EXPECT_FALSE(change.edited);
    // A text taken as it is (the focus takes the edit's text) is no change.
    input.reset(L"Room name");
    EXPECT_EQ(input.textChanged(L"Room name").kind, Change::kNothing);
}

TEST(CutToLimitTest, CutsOnlyWhatIsLongerAndNeverHalfACharacter) {
    std::wstring text = L"0123456789abcdefghij";
    EXPECT_TRUE(CutToLimit(text, 18));
    EXPECT_EQ(text, L"0123456789abcdefgh");
    EXPECT_FALSE(CutToLimit(text, 18));
    // An emoji across the cut goes as a whole.
    std::wstring emoji = std::wstring(17, L'a') + L"\xD83D\xDE00";
    EXPECT_TRUE(CutToLimit(emoji, 18));
    EXPECT_EQ(emoji, std::wstring(17, L'a'));
}

}  // namespace
