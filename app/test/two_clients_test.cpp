// Two staged copies of the program meet through one local back-end, each in a Wine prefix of its
// own (the program allows one instance per session). The same test program runs twice: the host
// half starts the back-end and the first client and checks the meeting, the peer half runs the
// second client in the other prefix (app/test/two_clients_run starts both). The halves meet in a
// folder (ClientExchange); each drives its client's windows from outside, as a user does, and
// reads the result from the screen, the stand-ins' journals and the back-end's records. The
// stand-in engines of the two prefixes learn of each other through a channel folder beside the
// exchange (KESTRUM_ENGINE_CHANNELS, set by two_clients_run).

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "client_exchange.h"
#include "kestrum/common/utf.h"
#include "kestrum/engine/standin_picture_colours.h"
#include "kestrum/json/json_document.h"
#include "kestrum/json/json_node.h"
#include "kestrum/testing/wait.h"
#include "staged_program.h"
#include "support/test_backend.h"

namespace {

using kestrum::testing_support::WaitUntil;

constexpr char kRoom[] = "duo";
// The back-end's latest version: no upgrade offer takes the join window's place.
constexpr char kLatestVersion[] = "1.2.0";

// Client points of the controls the clients are driven through (the skins' layouts, the same in
// both languages). The join window (360 x 500):
constexpr POINT kRoomEdit = {180, 258};
constexpr POINT kJoinButton = {180, 386};
// The meeting window's tool bar: its buttons stand 84 px apart around the middle, 33 px above the
// bottom; Leave from the bottom right corner.
constexpr int kToolBarButtonsAboveBottom = 33;
constexpr int kButtonStep = 84;
enum ToolBarButton {
    kCameraButton = -2,
    kShareButton = -1,
    kChatButton = 0,
    kParticipantsButton = 1
};
constexpr POINT kLeaveFromBottomRight = {73, 25};
// A point of the big view, away from the self tile and the toasts.
constexpr POINT kBigView = {200, 350};
// The participants panel: rows 45 px apart from 65 px, the microphone at 166 px; the own row
// first.
constexpr int kRowTop = 65;
constexpr int kRowStep = 45;
constexpr int kRowMicrophone = 166;
// The chat panel: its input and Send button, from the bottom.
constexpr POINT kChatInputAboveBottom = {125, 82};
constexpr POINT kChatSendAboveBottom = {202, 23};
// The share picker: the desktop's slot and Start sharing from the bottom right corner.
constexpr POINT kDesktopSlot = {108, 110};
constexpr POINT kBeginShareFromBottomRight = {84, 31};
// Where the meeting windows stand, at their smallest: the second overlaps the first's lower right
// corner, on the tests' 1600 x 1000 display.
constexpr POINT kHostPlace = {0, 0};
constexpr POINT kPeerPlace = {640, 440};
constexpr SIZE kMeetingSize = {960, 560};

// The stand-in engine's pictures: the local preview's colour, and a remote stream's (a field
// coloured by its engine uid).
constexpr COLORREF kLocalColour = kestrum::engine::kLocalPictureColour;
COLORREF StreamColour(uint32_t uid) { return kestrum::engine::RemotePictureColour(uid); }
// A chat bubble of someone else, and the chat input.
const COLORREF kRemoteBubble = RGB(255, 255, 255);

bool LanguageIsChinese() {
    return PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) == LANG_CHINESE;
}

RECT ScreenRectOf(HWND window, const RECT& client) {
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    MapWindowPoints(window, nullptr, corners, 2);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

RECT ClientOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

// A client point given by its distance from the bottom (and from the right when fromRight).
POINT FromBottom(HWND window, POINT offset, bool fromRight = false) {
    const RECT client = ClientOf(window);
    return {fromRight ? client.right - offset.x : offset.x, client.bottom - offset.y};
}

// The colour the screen shows at a client point of window.
COLORREF ShownAt(HWND window, POINT at) {
    const RECT point = ScreenRectOf(window, {at.x, at.y, at.x + 1, at.y + 1});
    return ScreenArea(point).At(point.left, point.top);
}

// The engine uid in the last journal line of a join ("name.joinChannel(token,channel,info,uid)").
uint32_t JoinedUid(const std::string& journal, const std::string& call) {
    const size_t line = journal.rfind(call + "(");
    if (line == std::string::npos) return 0;
    const size_t close = journal.find(')', line);
    const size_t comma = journal.rfind(',', close);
    if (close == std::string::npos || comma == std::string::npos || comma < line) return 0;
    return static_cast<uint32_t>(std::strtoul(journal.c_str() + comma + 1, nullptr, 10));
}

std::string Tail(const std::string& text) {
    return text.size() > 1500 ? text.substr(text.size() - 1500) : text;
}

size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The statuses the signalling connections announced so far, in order ("status" of each query).
std::vector<std::string> ConnectionStatuses(TestBackend& backend) {
    std::vector<std::string> statuses;
    JsonNode* root = json_parse(backend.Call("GET", "signal/connections").c_str());
    const JsonNode* list = root ? json_find_member(root, "connections") : nullptr;
    for (const JsonNode* item = list ? list->child : nullptr; item; item = item->next) {
        const JsonNode* query = json_find_member(item, "query");
        const JsonNode* status = query ? json_find_member(query, "status") : nullptr;
        statuses.push_back(status && status->valuestring ? status->valuestring : "");
    }
    if (root) json_delete(root);
    return statuses;
}

// The whole display into the pictures folder: what went wrong, for the one who reads the failure.
void SaveDisplay(const std::wstring& name) {
    ScreenArea({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)})
        .Save(L"two-clients-failed-" + name + L".png");
}

// One copy of the installation and its program, driven through its windows.
class MeetingClient {
public:
    void start() {
        ASSERT_TRUE(copy_.ready());
        ASSERT_TRUE(copy_.setVersion(kLatestVersion));
        // The stand-ins journal each call into the copy, where the test reads them.
        SetEnvironmentVariableW(L"KESTRUM_ENGINE_JOURNAL", engineJournalPath().c_str());
        SetEnvironmentVariableW(L"KESTRUM_VIDEOSOURCE_JOURNAL", sourceJournalPath().c_str());
        program_ = std::make_unique<StartedProgram>(copy_.program(), copy_.bin() + L"client.out");
        ASSERT_TRUE(program_->started());
        join_ = program_->awaitWindow(L"LoginHome");
        ASSERT_NE(join_, nullptr) << program_->output();
        // Signed in: the join button answers.
        ASSERT_TRUE(WaitUntil([this] { return !configValue(L"Token").empty(); }));
    }

    void join(const char* room, POINT place) {
        ClickAt(join_, kRoomEdit);
        TypeText(join_, kestrum::common::Utf8ToWide(room));
        ClickAt(join_, kJoinButton);
        meeting_ = program_->awaitWindow(L"UserConfig");  // the meeting window's name
        ASSERT_NE(meeting_, nullptr) << copy_.log();
        ASSERT_TRUE(SetWindowPos(meeting_, HWND_TOPMOST, place.x, place.y, kMeetingSize.cx,
                                 kMeetingSize.cy, SWP_SHOWWINDOW));
        ASSERT_TRUE(WaitUntil([this] { return ownStream() != 0; })) << engineJournal();
    }

    // Waits until the big view shows the colour; false (with what it showed) when it did not.
    ::testing::AssertionResult bigViewShows(COLORREF colour) const {
        COLORREF shown = CLR_INVALID;
        if (WaitUntil([&] { return (shown = ShownAt(meeting_, kBigView)) == colour; }))
            return ::testing::AssertionSuccess();
        SaveDisplay(L"big-view");
        return ::testing::AssertionFailure() << "the big view shows " << std::hex << shown
                                             << ", not " << colour << "; the engine's calls:\n"
                                             << Tail(engineJournal());
    }

    // Waits until the meeting shows the other's picture in the big view with no notice over its
    // middle, and the own preview in the self tile: the picture a user keeps.
    ::testing::AssertionResult awaitSettled(COLORREF other) const {
        const RECT client = ClientOf(meeting_);
        const POINT middle = {client.right / 2 - 150, client.bottom / 2};
        const POINT selfTile = {client.right - 90, 80};
        if (WaitUntil([&] {
                return ShownAt(meeting_, middle) == other &&
                       ShownAt(meeting_, selfTile) == kLocalColour;
            })) {
            return ::testing::AssertionSuccess();
        }
        SaveDisplay(L"settled");
        return ::testing::AssertionFailure() << "no settled meeting picture";
    }

    void clickToolBar(ToolBarButton button) const {
        const RECT client = ClientOf(meeting_);
        ClickAt(meeting_, {client.right / 2 + button * kButtonStep,
                           client.bottom - kToolBarButtonsAboveBottom});
    }

    // Opens the chat panel and sends text from it.
    void sendChat(const std::wstring& text) const {
        clickToolBar(kChatButton);
        HWND chat = awaitShown(L"ChatList");
        ASSERT_NE(chat, nullptr);
        // The panel takes clicks once it has laid itself out: its input is drawn then.
        const POINT input = FromBottom(chat, kChatInputAboveBottom);
        ASSERT_TRUE(WaitUntil([&] { return ShownAt(chat, input) == kRemoteBubble; }));
        ClickAt(chat, input);
        TypeText(chat, text);
        ClickAt(chat, FromBottom(chat, kChatSendAboveBottom));
    }
    // Opens the chat panel (a message that came while it was closed only marks the Chat button)
    // and waits until it shows a bubble of someone else.
    bool awaitRemoteBubble() const {
        clickToolBar(kChatButton);
        HWND chat = awaitShown(L"ChatList");
        if (chat && WaitUntil([chat] {
                const RECT list = ScreenRectOf(chat, {10, 40, 240, ClientOf(chat).bottom - 140});
                return ScreenArea(list).Count(list, kRemoteBubble) > 500;
            })) {
            return true;
        }
        SaveDisplay(L"chat");
        return false;
    }

    // As the host: turns off the microphone of the participant in the given row of the
    // participants panel.
    void muteParticipantInRow(int row) const {
        clickToolBar(kParticipantsButton);
        HWND list = awaitShown(L"UserList");
        ASSERT_NE(list, nullptr);
        // The rows come with the panel's first layout.
        Sleep(500);
        ClickAt(list, {kRowMicrophone, kRowTop + row * kRowStep});
    }

    // The participants panel's row shows that participant's microphone off (the red mark).
    bool rowMicrophoneOff(int row) const {
        HWND list = FindWindowExW(meeting_, nullptr, nullptr, L"UserList");
        if (!list || !IsWindowVisible(list)) return false;
        const int top = kRowTop + row * kRowStep;
        const RECT mark =
            ScreenRectOf(list, {kRowMicrophone - 12, top - 12, kRowMicrophone + 12, top + 12});
        const ScreenArea screen(mark);
        int red = 0;
        for (int y = mark.top; y < mark.bottom; ++y) {
            for (int x = mark.left; x < mark.right; ++x) {
                const COLORREF shown = screen.At(x, y);
                if (GetRValue(shown) > 180 && GetGValue(shown) < 150) ++red;
            }
        }
        return red > 10;
    }

    // Waits until the big view no longer shows the colour.
    bool bigViewLeaves(COLORREF colour) const {
        return WaitUntil([&] { return ShownAt(meeting_, kBigView) != colour; });
    }

    // Shares the desktop through the share picker; the engine uid of the share stream.
    uint32_t shareDesktop() const {
        clickToolBar(kShareButton);
        HWND picker = awaitShown(L"ScreenShare");
        if (!picker) return 0;
        // The snapshot thread fills the slots one by one: the desktop's comes first.
        Sleep(1000);
        ClickAt(picker, kDesktopSlot);
        ClickAt(picker, FromBottom(picker, kBeginShareFromBottomRight, true));
        uint32_t share = 0;
        WaitUntil([&] { return (share = JoinedUid(sourceJournal(), "joinChannel")) != 0; });
        return share;
    }

    void leave() {
        ClickAt(meeting_, FromBottom(meeting_, kLeaveFromBottomRight, true));
        ASSERT_TRUE(WaitUntil([this] { return !IsWindowVisible(meeting_); }));
        EXPECT_TRUE(WaitUntil([this] { return IsWindowVisible(join_); }));
    }

    uint32_t ownStream() const { return JoinedUid(engineJournal(), "engine.joinChannel"); }
    std::string engineJournal() const { return ReadWholeFile(engineJournalPath()); }
    HWND meeting() const { return meeting_; }
    RECT place() const {
        RECT rect{};
        GetWindowRect(meeting_, &rect);
        return rect;
    }

private:
    std::wstring configValue(const wchar_t* key) const {
        wchar_t value[256] = {};
        GetPrivateProfileStringW(L"BaseInfo", key, L"", value, 256,
                                 (copy_.bin() + L"KestrumConfig.ini").c_str());
        return value;
    }
    std::wstring engineJournalPath() const { return copy_.bin() + L"engine-journal.txt"; }
    std::wstring sourceJournalPath() const { return copy_.bin() + L"source-journal.txt"; }
    std::string sourceJournal() const { return ReadWholeFile(sourceJournalPath()); }
    // A shown window of the program: a panel of the meeting window or one of its own.
    HWND awaitShown(const wchar_t* title) const {
        HWND found = nullptr;
        WaitUntil([&] {
            found = FindWindowExW(meeting_, nullptr, nullptr, title);
            if (!found) found = program_->findWindow(title);
            return found && IsWindowVisible(found);
        });
        return found;
    }

    StagedCopy copy_;
    std::unique_ptr<StartedProgram> program_;
    HWND join_ = nullptr;
    HWND meeting_ = nullptr;
};

// The service addresses a started program reads, as "NAME=VALUE" lines.
std::string ServiceEnvironment(TestBackend& backend) {
    std::string proxies;
    for (const std::string& proxy : backend.Proxies())
        proxies += (proxies.empty() ? "" : ",") + proxy;
    std::string signal;
    jdoc::CJsonDocument(backend.Call("GET", "info")).ReadStringMember("signal", signal);
    return "KESTRUM_SERVICE_URL=" + backend.BaseUrl() +
           "\nKESTRUM_FEEDBACK_URL=" + backend.BaseUrl() + "\nKESTRUM_PROXIES=" + proxies +
           "\nKESTRUM_PROXY_PORT=" + std::to_string(backend.ProxyPort()) +
           "\nKESTRUM_SIGNAL_URL=" + signal + "\n";
}

std::string RectText(const RECT& rect) {
    return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
           std::to_string(rect.right) + " " + std::to_string(rect.bottom);
}

// The host half: the first client, which the second meets, mutes and watches share.
TEST(TwoClients, MeetThroughOneBackEnd) {
    const ClientExchange exchange;
    if (!exchange.ready()) GTEST_SKIP() << "run through two_clients_run";
    TestBackend backend;
    ASSERT_TRUE(backend.Started());
    const std::string environment = ServiceEnvironment(backend);
    SetEnvironmentLines(environment);
    ASSERT_TRUE(exchange.put("backend", environment));

    MeetingClient host;
    ASSERT_NO_FATAL_FAILURE(host.start());
    ASSERT_NO_FATAL_FAILURE(host.join(kRoom, kHostPlace));
    EXPECT_TRUE(host.bigViewShows(kLocalColour)) << "alone: the own preview";
    ASSERT_TRUE(exchange.put("host-stream", std::to_string(host.ownStream())));

    // The second joins: each shows the other in the big view.
    std::string peerStream;
    ASSERT_TRUE(exchange.await("peer-stream", &peerStream)) << "the second client did not join";
    const uint32_t peer = static_cast<uint32_t>(std::stoul(peerStream));
    EXPECT_TRUE(host.bigViewShows(StreamColour(peer))) << "the second's picture";
    EXPECT_TRUE(host.awaitSettled(StreamColour(peer)));
    std::string seen;
    ASSERT_TRUE(exchange.await("peer-sees-host", &seen));
    EXPECT_EQ(seen, "yes");

    // Both meeting windows as the user sees them, the second over the first's lower right.
    std::string placed;
    ASSERT_TRUE(exchange.await("peer-place", &placed));
    RECT peerPlace{};
    ASSERT_EQ(sscanf(placed.c_str(), "%ld %ld %ld %ld", &peerPlace.left, &peerPlace.top,
                     &peerPlace.right, &peerPlace.bottom),
              4);
    RECT both = host.place();
    UnionRect(&both, &both, &peerPlace);
    {
        const ScreenArea screen(both);
        const RECT hostView =
            ScreenRectOf(host.meeting(), {kBigView.x, kBigView.y, kBigView.x + 1, kBigView.y + 1});
        EXPECT_EQ(screen.At(hostView.left, hostView.top), StreamColour(peer));
        EXPECT_EQ(screen.At(peerPlace.left + kBigView.x, peerPlace.top + kBigView.y),
                  StreamColour(host.ownStream()));
        EXPECT_TRUE(
            screen.Save(LanguageIsChinese() ? L"two-clients-zh.png" : L"two-clients-en.png"));
    }

    // Chat from the second shows here.
    ASSERT_TRUE(exchange.put("chat", ""));
    EXPECT_TRUE(host.awaitRemoteBubble()) << "no chat from the second";

    // The host turns off the second's microphone: the second's engine is told, and the host's
    // row shows it off and keeps it so while the engine reports hearing the second (its volume
    // reports come every 2 s and are applied 1.5 s after), so that a second click invites.
    ASSERT_TRUE(exchange.put("mute", ""));
    host.muteParticipantInRow(1);
    std::string muted;
    ASSERT_TRUE(exchange.await("peer-muted", &muted));
    EXPECT_EQ(muted, "yes");
    Sleep(4500);
    EXPECT_TRUE(host.rowMicrophoneOff(1)) << "the host's row shows the microphone on";
    {
        const ScreenArea screen(host.place());
        EXPECT_TRUE(screen.Save(LanguageIsChinese() ? L"two-clients-muted-zh.png"
                                                    : L"two-clients-muted-en.png"));
    }

    // The signalling connections drop: both clients reconnect on their own, the second with its
    // microphone as it is now, and the host's row still shows it off.
    const size_t connections = ConnectionStatuses(backend).size();
    backend.Call("POST", "signal/fault", "{\"mode\":\"drop\"}");
    std::vector<std::string> statuses;
    ASSERT_TRUE(WaitUntil([&] {
        statuses = ConnectionStatuses(backend);
        return statuses.size() >= connections + 2;
    })) << "the clients did not reconnect";
    EXPECT_EQ(std::count(statuses.begin() + connections, statuses.end(), "1"), 1);
    EXPECT_TRUE(host.bigViewShows(StreamColour(peer))) << "after the reconnection";
    Sleep(4500);
    // The list after the reconnection may put the second first: one row, the second's, shows
    // the microphone off.
    EXPECT_NE(host.rowMicrophoneOff(0), host.rowMicrophoneOff(1)) << "after the reconnection";
    {
        const ScreenArea screen(host.place());
        EXPECT_TRUE(screen.Save(LanguageIsChinese() ? L"two-clients-reconnected-zh.png"
                                                    : L"two-clients-reconnected-en.png"));
    }

    // The second turns its camera off, then shares its desktop: the share takes this big view
    // all the same.
    ASSERT_TRUE(exchange.put("camera-off", ""));
    EXPECT_TRUE(host.bigViewLeaves(StreamColour(peer))) << "the second's camera is still on";
    ASSERT_TRUE(exchange.put("share", ""));
    std::string shareStream;
    ASSERT_TRUE(exchange.await("peer-shares", &shareStream));
    const uint32_t share = static_cast<uint32_t>(std::stoul(shareStream));
    ASSERT_NE(share, 0u) << "the second's share did not start";
    EXPECT_TRUE(host.bigViewShows(StreamColour(share))) << "the share stream";
    {
        RECT shown = host.place();
        UnionRect(&shown, &shown, &peerPlace);
        EXPECT_TRUE(ScreenArea(shown).Save(LanguageIsChinese()
                                               ? L"two-clients-share-camera-off-zh.png"
                                               : L"two-clients-share-camera-off-en.png"));
    }

    // The second leaves: this one is alone again, with its own preview.
    ASSERT_TRUE(exchange.put("leave", ""));
    EXPECT_TRUE(exchange.await("peer-left"));
    EXPECT_TRUE(host.bigViewShows(kLocalColour)) << "the second's pictures did not go";
    EXPECT_TRUE(IsWindowVisible(host.meeting()));
    ASSERT_NO_FATAL_FAILURE(host.leave());
}

// The peer half: the second client, in a prefix of its own.
TEST(TwoClients, PeerJoinsFromAPrefixOfItsOwn) {
    const ClientExchange exchange;
    if (!exchange.ready()) GTEST_SKIP() << "run through two_clients_run";
    std::string environment;
    ASSERT_TRUE(exchange.await("backend", &environment)) << "the host half did not start";
    SetEnvironmentLines(environment);
    std::string hostStream;
    ASSERT_TRUE(exchange.await("host-stream", &hostStream));

    MeetingClient peer;
    ASSERT_NO_FATAL_FAILURE(peer.start());
    ASSERT_NO_FATAL_FAILURE(peer.join(kRoom, kPeerPlace));
    ASSERT_TRUE(exchange.put("peer-stream", std::to_string(peer.ownStream())));
    const COLORREF hostColour = StreamColour(static_cast<uint32_t>(std::stoul(hostStream)));
    const bool seesHost = peer.bigViewShows(hostColour) && peer.awaitSettled(hostColour);
    EXPECT_TRUE(seesHost);
    ASSERT_TRUE(exchange.put("peer-sees-host", seesHost ? "yes" : "no"));
    ASSERT_TRUE(exchange.put("peer-place", RectText(peer.place())));

    ASSERT_TRUE(exchange.await("chat"));
    ASSERT_NO_FATAL_FAILURE(peer.sendChat(L"Hello \u4f60\u597d"));

    // Counted before the host may mute: a busy machine may see the step only after the mute.
    const size_t offBefore = CountOf(peer.engineJournal(), "engine.enableLocalAudio(0)");
    ASSERT_TRUE(exchange.await("mute"));
    const bool muted = WaitUntil(
        [&] { return CountOf(peer.engineJournal(), "engine.enableLocalAudio(0)") > offBefore; });
    EXPECT_TRUE(muted) << peer.engineJournal();
    ASSERT_TRUE(exchange.put("peer-muted", muted ? "yes" : "no"));

    ASSERT_TRUE(exchange.await("camera-off"));
    peer.clickToolBar(kCameraButton);
    EXPECT_TRUE(WaitUntil([&] {
        return peer.engineJournal().find("rtc.video.capture\":false") != std::string::npos;
    })) << Tail(peer.engineJournal());

    ASSERT_TRUE(exchange.await("share"));
    ASSERT_TRUE(exchange.put("peer-shares", std::to_string(peer.shareDesktop())));

    ASSERT_TRUE(exchange.await("leave"));
    ASSERT_NO_FATAL_FAILURE(peer.leave());
    ASSERT_TRUE(exchange.put("peer-left", ""));
}

}  // namespace
