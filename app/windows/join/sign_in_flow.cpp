#include "app/windows/join/sign_in_flow.h"

namespace ZuvraKestrum::Join {

namespace {

// The requests the window sends again under a new token: the join, and the configuration, which
// every sign-in asks for.
bool RepeatedUnderNewToken(const std::string& api) {
    return api == CSignInFlow::kJoinApi || api == CSignInFlow::kConfigApi;
}

}  // namespace

CSignInFlow::Step CSignInFlow::signInFor(bool join) {
    if (join) joinWaiting_ = true;
    // One token request at a time: a second would cut the first off.
    if (signingIn_) return Step::kNothing;
    signingIn_ = true;
    return Step::kSignIn;
}

CSignInFlow::Step CSignInFlow::joinAsked(bool tokenHeld) {
    if (tokenHeld) return Step::kJoin;
    return signInFor(true);
}

bool CSignInFlow::signInEnded() {
    signingIn_ = false;
    const bool join = joinWaiting_;
    joinWaiting_ = false;
    return join;
}

CSignInFlow::Step CSignInFlow::tokenArrived(bool tokenHeld) {
    const bool join = signInEnded();
    if (tokenHeld) return join ? Step::kJoin : Step::kNothing;
    return join || !repeated_.empty() ? Step::kShowError : Step::kNothing;
}

CSignInFlow::Step CSignInFlow::failed(const std::string& api, int code) {
    // The user waits for a sign-in only through a join.
    if (api == kTokenApi) {
        // Nothing is sent again: a later refusal is a first one.
        repeated_.clear();
        return signInEnded() ? Step::kShowError : Step::kNothing;
    }
    // The own portrait is fetched unasked for.
    if (api == kPortraitApi) return Step::kNothing;
    if (code != kTokenRefusedCode || !RepeatedUnderNewToken(api)) return Step::kShowError;
    if (repeated_.erase(api) != 0) return Step::kShowError;
    repeated_.insert(api);
    return signInFor(api == kJoinApi);
}

void CSignInFlow::answered(const std::string& api) { repeated_.erase(api); }

}  // namespace ZuvraKestrum::Join
