#pragma once

#include <set>
#include <string>

namespace ZuvraKestrum::Join {

// What the join window does about the sign-in around the requests it makes, so that a user is
// never locked out of the services:
// - A join asked for while no token is held (the sign-in at the start failed, or a refused token
//   was dropped) waits for a sign-in: the one under way, or one it asks for. The sign-in's
//   failure is then the user's answer (the connection error); without a waiting join it is
//   only logged, as the start's sign-in runs unasked for.
// - A join or configuration request that the services refused for its token drops the stored
//   token and asks for a new one; the join waits for it and goes again, and the new token's
//   sign-in asks for the configuration anyway (the upgrade check runs then too). A second
//   refusal in a row is shown, and the next refusal is again taken for a stale token: each
//   repeat follows a request the user or the start made, never another repeat.
// - A sign-in that the service answers without a token sends nothing: its refusal is shown once
//   to whoever waited for it (a join, or a refused request's repeat), and the repeat stays on
//   record, so that the next refusal of that request under a token is shown, not repeated.
//
// Threads: the join window's (UI) thread. Plain state, no window types.
class CSignInFlow {
public:
    // The services' code for a request whose access token they do not accept.
    static constexpr int kTokenRefusedCode = 401;
    // The library's api texts of the requests the flow follows.
    static constexpr const char* kTokenApi = "account/getToken";
    static constexpr const char* kPortraitApi = "account/portrait";
    static constexpr const char* kJoinApi = "room/join";
    static constexpr const char* kConfigApi = "v1/config";

    // What the window does next.
    enum class Step {
        kNothing,    // wait, or nothing to do (a background request failed: logged only)
        kSignIn,     // drop any stored token and ask for a new one
        kJoin,       // go on with the join (the nickname, then the request)
        kShowError,  // show the failure to the user
    };

    // signingIn: the bridge's sign-in at the start asks for a token (it held none).
    explicit CSignInFlow(bool signingIn = false) : signingIn_(signingIn) {}

    // The user asked to join; tokenHeld: the meeting data holds a token.
    Step joinAsked(bool tokenHeld);
    // A sign-in answered; tokenHeld as above. A waiting join goes on once a token is held; one
    // that came without a token (the service said no) is shown rather than asked for again.
    Step tokenArrived(bool tokenHeld);
    // A request failed, with the library's api text and the service's (or the transfer's) code.
    Step failed(const std::string& api, int code);
    // A request was answered: a later refusal of it is taken for a stale token again.
    void answered(const std::string& api);

    bool joinWaiting() const { return joinWaiting_; }

private:
    Step signInFor(bool join);
    // The sign-in under way ended; whether a join waited for it.
    bool signInEnded();

    bool signingIn_;
    bool joinWaiting_ = false;
    // The requests refused for their token and sent again under a new one, not yet answered.
    std::set<std::string> repeated_;
};

}  // namespace ZuvraKestrum::Join
