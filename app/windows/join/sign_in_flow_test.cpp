#include "app/windows/join/sign_in_flow.h"

#include <gtest/gtest.h>

namespace {

using ZuvraKestrum::Join::CSignInFlow;
using Step = CSignInFlow::Step;

constexpr int kRefused = CSignInFlow::kTokenRefusedCode;
constexpr int kCouldNotConnect = 7;  // the transfer library's code

TEST(SignInFlowTest, AJoinWithoutATokenWaitsForOneSignInWhoseFailureIsTheUsersAnswer) {
    CSignInFlow flow;
    EXPECT_EQ(flow.joinAsked(false), Step::kSignIn);
    // One token request at a time.
    EXPECT_EQ(flow.joinAsked(false), Step::kNothing);
    EXPECT_EQ(flow.failed("account/getToken", kCouldNotConnect), Step::kShowError);
    EXPECT_FALSE(flow.joinWaiting());
    EXPECT_EQ(flow.joinAsked(false), Step::kSignIn);
    EXPECT_EQ(flow.tokenArrived(true), Step::kJoin);
    EXPECT_EQ(flow.tokenArrived(true), Step::kNothing);
    EXPECT_EQ(flow.joinAsked(true), Step::kJoin);

    // A sign-in answered without a token shows the join's refusal instead of asking again and
    // again.
    EXPECT_EQ(flow.joinAsked(false), Step::kSignIn);
    EXPECT_EQ(flow.tokenArrived(false), Step::kShowError);
    EXPECT_FALSE(flow.joinWaiting());

    // The start's own sign-in is waited for, and unasked for, its failure is only logged, as the
    // own portrait's is.
    CSignInFlow starting(true);
    EXPECT_EQ(starting.joinAsked(false), Step::kNothing);
    EXPECT_EQ(starting.tokenArrived(true), Step::kJoin);
    EXPECT_EQ(CSignInFlow(true).failed("account/getToken", kCouldNotConnect), Step::kNothing);
    EXPECT_EQ(starting.failed("account/portrait", 404), Step::kNothing);
}

TEST(SignInFlowTest, AJoinOrConfigurationRefusedForItsTokenGoesOnceMoreUnderANewOne) {
    CSignInFlow flow;
    EXPECT_EQ(flow.failed("room/join", kRefused), Step::kSignIn);
    EXPECT_TRUE(flow.joinWaiting());
    EXPECT_EQ(flow.tokenArrived(true), Step::kJoin);
    EXPECT_EQ(flow.failed("room/join", kRefused), Step::kShowError);
    // Once shown, the next refusal is a first one again: the user is never locked out.
    EXPECT_EQ(flow.failed("room/join", kRefused), Step::kSignIn);
    EXPECT_EQ(flow.tokenArrived(true), Step::kJoin);
    // So is one after an answer.
    flow.answered("room/join");
    EXPECT_EQ(flow.failed("room/join", kRefused), Step::kSignIn);
    EXPECT_EQ(flow.tokenArrived(true), Step::kJoin);
    flow.answered("room/join");

    // The configuration is asked for by every sign-in; both refused take one sign-in.
    EXPECT_EQ(flow.failed("v1/config", kRefused), Step::kSignIn);
    EXPECT_EQ(flow.failed("room/join", kRefused), Step::kNothing);
    EXPECT_TRUE(flow.joinWaiting());
    EXPECT_EQ(flow.tokenArrived(true), Step::kJoin);
    EXPECT_EQ(flow.failed("v1/config", kRefused), Step::kShowError);

    // A sign-in that fails sends nothing again: the next refusal is a first one.
    EXPECT_EQ(flow.failed("v1/config", kRefused), Step::kSignIn);
    EXPECT_EQ(flow.failed("account/getToken", kCouldNotConnect), Step::kNothing);
    EXPECT_EQ(flow.failed("v1/config", kRefused), Step::kSignIn);

    // The service answers the repeat's sign-in without a token: that is shown, and the repeat
    // stays on record, so that the next refusal under a token ends the round instead of
    // starting another one.
    EXPECT_EQ(flow.tokenArrived(false), Step::kShowError);
    EXPECT_EQ(flow.joinAsked(false), Step::kSignIn);
    EXPECT_EQ(flow.tokenArrived(true), Step::kJoin);
    EXPECT_EQ(flow.failed("v1/config", kRefused), Step::kShowError);
    // Unasked for, the start's sign-in answered so is only logged.
    EXPECT_EQ(CSignInFlow(true).tokenArrived(false), Step::kNothing);
}

TEST(SignInFlowTest, OtherFailuresAreShown) {
    CSignInFlow flow;
    EXPECT_EQ(flow.failed("room/join", 2006), Step::kShowError);
    EXPECT_EQ(flow.failed("room/join", kCouldNotConnect), Step::kShowError);
    EXPECT_EQ(flow.failed("account/update", kRefused), Step::kShowError);
    EXPECT_FALSE(flow.joinWaiting());
}

}  // namespace
