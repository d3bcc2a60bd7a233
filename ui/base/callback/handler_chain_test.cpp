#include "ui/base/callback/handler_chain.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "ui/base/callback/weak_callback.h"

namespace ui {
namespace {

class Control : public kbase::SupportWeakCallback {
 public:
  bool OnEvent(EventArgs*) { return true; }
};

TEST(HandlerChainTest, EmptyChainAnswersTrue) {
  HandlerChain chain;
  EXPECT_TRUE(chain.Invoke(nullptr));
}

TEST(HandlerChainTest, StopsAtTheFirstFalseAndAnswersFalse) {
  HandlerChain chain;
  std::vector<int> called;
  chain += [&](EventArgs*) {
    called.push_back(1);
    return true;
  };
  chain += [&](EventArgs*) {
    called.push_back(2);
    return false;
  };
  chain += [&](EventArgs*) {
    called.push_back(3);
    return true;
  };
  EXPECT_FALSE(chain.Invoke(nullptr));
  EXPECT_EQ(called, (std::vector<int>{1, 2}));
}

TEST(HandlerChainTest, HandlerOfDestroyedControlEndsTheEvent) {
  auto control = std::make_unique<Control>();
  HandlerChain chain;
  bool second_ran = false;
  chain += kbase::Bind(&Control::OnEvent, control.get(), std::placeholders::_1);
  chain += [&](EventArgs*) { return second_ran = true; };
  EXPECT_TRUE(chain.Invoke(nullptr));
  second_ran = false;
  control.reset();
  EXPECT_FALSE(chain.Invoke(nullptr));
  EXPECT_FALSE(second_ran);
}

TEST(HandlerChainTest, EmptyCallableIsRefusedWhenAttached) {
  HandlerChain chain;
  EXPECT_FALSE(chain.Add(EventCallback()));
  chain += EventCallback();
  EXPECT_TRUE(chain.Empty());
  EXPECT_TRUE(chain.Invoke(nullptr));
}

TEST(HandlerChainTest, HandlerMayClearItsOwnChain) {
  auto chain = std::make_unique<HandlerChain>();
  int later_calls = 0;
  chain->Add([&](EventArgs*) {
    chain.reset();  // e.g. the control owning the chain is destroyed by its handler
    return true;
  });
  chain->Add([&](EventArgs*) { return ++later_calls > 0; });
  EXPECT_TRUE(chain->Invoke(nullptr));
  EXPECT_EQ(later_calls, 1);
}

}  // namespace
}  // namespace ui
