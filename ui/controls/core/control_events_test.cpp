#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls/box/box.h"
#include "ui/controls/core/control.h"
#include "ui/controls/core/event_type.h"
#include "ui/windowing/window/window.h"

namespace ui {
namespace {

// A control that records its activations.
class ClickControl : public Control {
 public:
  void Activate() override { ++activations; }
  int activations = 0;
};

// Appends tag to log and answers result.
EventCallback Record(std::vector<std::string>* log, const std::string& tag, bool result = true) {
  return [log, tag, result](EventArgs*) {
    log->push_back(tag);
    return result;
  };
}

// Records what reaches a box's own HandleEvent.
class HandlingBox : public Box {
 public:
  void HandleEvent(EventArgs& args) override {
    handled.push_back(args.type);
    senders.push_back(args.sender);
    Box::HandleEvent(args);
  }
  std::vector<EventType> handled;
  std::vector<Control*> senders;
};

TEST(EventTypeTest, MarkupNamesMapExactly) {
  EXPECT_EQ(kEventAll, EventTypeFromString(L"all"));
  EXPECT_EQ(kEventMouseButtonUp, EventTypeFromString(L"buttonup"));
  EXPECT_EQ(kEventWindowClose, EventTypeFromString(L"windowclose"));
  EXPECT_EQ(kEventScrollChange, EventTypeFromString(L"scrollchange"));
  EXPECT_EQ(kEventNone, EventTypeFromString(L"ButtonUp"));
  EXPECT_EQ(kEventNone, EventTypeFromString(L"click"));
}

TEST(ControlDispatchTest, CodeHandlersThenAllThenMarkupThenHandleEvent) {
  HandlingBox box;
  std::vector<std::string> log;
  box.AttachEvent(kEventAll, Record(&log, "code-all"));
  box.AttachEvent(kEventKeyDown, Record(&log, "code"));
  box.AttachXmlEvent(kEventKeyDown, Record(&log, "xml"));
  box.AttachXmlEvent(kEventAll, Record(&log, "xml-all"));
  box.SendEvent(kEventKeyDown);
  EXPECT_EQ((std::vector<std::string>{"code", "code-all", "xml", "xml-all"}), log);
  ASSERT_EQ(1u, box.handled.size());
}

TEST(ControlDispatchTest, FalseFromCodeStopsMarkupAndHandlingButNotCodeAll) {
  HandlingBox box;
  std::vector<std::string> log;
  box.AttachEvent(kEventKeyDown, Record(&log, "code", false));
  box.AttachEvent(kEventAll, Record(&log, "code-all"));
  box.AttachXmlEvent(kEventKeyDown, Record(&log, "xml"));
  box.SendEvent(kEventKeyDown);
  EXPECT_EQ((std::vector<std::string>{"code", "code-all"}), log);
  EXPECT_TRUE(box.handled.empty());

  HandlingBox stopped;
  log.clear();
  stopped.AttachEvent(kEventKeyDown, Record(&log, "code"));
  stopped.AttachEvent(kEventAll, Record(&log, "code-all", false));
  stopped.AttachXmlEvent(kEventKeyDown, Record(&log, "xml"));
  stopped.SendEvent(kEventKeyDown);
  EXPECT_EQ((std::vector<std::string>{"code", "code-all"}), log);
  EXPECT_TRUE(stopped.handled.empty());
}

TEST(ControlDispatchTest, InternalEventsBypassHandlers) {
  Control control;
  std::vector<std::string> log;
  control.AttachEvent(kEventAll, Record(&log, "all"));
  control.SendEvent(kEventInternalSetFocus);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(control.IsFocused());
  control.SendEvent(kEventInternalKillFocus);
  EXPECT_FALSE(control.IsFocused());
}

TEST(ControlDispatchTest, HandlerThatDestroysTheControlEndsTheDispatch) {
  HandlingBox parent;
  auto* child = new Control();
  parent.Add(child);
  std::vector<std::string> log;
  child->AttachEvent(kEventMouseButtonUp, [&](EventArgs*) {
    parent.Remove(child);  // no window: deleted at once
    log.push_back("removed");
    return true;
  });
  child->AttachEvent(kEventAll, Record(&log, "after"));
  child->SendEvent(kEventMouseButtonUp);
  EXPECT_EQ((std::vector<std::string>{"removed"}), log);
  EXPECT_EQ(0, parent.GetCount());
  EXPECT_TRUE(parent.handled.empty());  // nothing bubbled from the dead control
}

TEST(ControlBubblingTest, UnhandledEventsBubbleWithTheSenderUnchanged) {
  HandlingBox root;
  auto* middle = new HandlingBox();
  auto* leaf = new Control();
  root.Add(middle);
  middle->Add(leaf);
  std::vector<std::string> log;
  middle->AttachEvent(kEventKeyDown, Record(&log, "middle-own"));  // not for descendants
  middle->AttachBubbledEvent(kEventKeyDown, Record(&log, "middle-bubbled"));
  middle->AttachXmlBubbledEvent(kEventAll, Record(&log, "middle-xml-bubbled"));
  root.AttachBubbledEvent(kEventAll, Record(&log, "root-bubbled"));
  leaf->SendEvent(kEventKeyDown);
  EXPECT_EQ((std::vector<std::string>{"middle-bubbled", "middle-xml-bubbled", "root-bubbled"}),
            log);
  ASSERT_EQ(1u, root.senders.size());
  EXPECT_EQ(leaf, root.senders[0]);
}

TEST(ControlBubblingTest, FalseBubbledHandlerStopsMarkupHandlersAndTheBox) {
  HandlingBox root;
  auto* box = new HandlingBox();
  auto* leaf = new Control();
  root.Add(box);
  box->Add(leaf);
  std::vector<std::string> log;
  box->AttachBubbledEvent(kEventKeyDown, Record(&log, "stop", false));
  box->AttachXmlBubbledEvent(kEventKeyDown, Record(&log, "xml"));
  leaf->SendEvent(kEventKeyDown);
  EXPECT_EQ((std::vector<std::string>{"stop"}), log);
  EXPECT_TRUE(box->handled.empty());
  EXPECT_TRUE(root.handled.empty());
}

TEST(ControlMouseTest, ClickInsideActivatesAndLeavesTheControlHot) {
  ClickControl control;
  control.SetPos({0, 0, 10, 10});
  control.SendEvent(kEventMouseEnter);
  EXPECT_EQ(kControlStateHot, control.GetState());
  control.SendEvent(kEventMouseButtonDown, 0, 0, 0, 0.0f, 5, 5);
  EXPECT_EQ(kControlStatePushed, control.GetState());
  EXPECT_TRUE(control.IsMouseFocused());
  control.SendEvent(kEventMouseButtonUp, 0, 0, 0, 0.0f, 5, 5);
  EXPECT_EQ(1, control.activations);
  EXPECT_EQ(kControlStateHot, control.GetState());
  EXPECT_EQ(255, control.HotAlpha());
  control.SendEvent(kEventMouseLeave);
  EXPECT_EQ(kControlStateNormal, control.GetState());
}

TEST(ControlMouseTest, ReleaseOutsideReturnsToNormalWithoutActivating) {
  ClickControl control;
  control.SetPos({1, 1, 10, 10});
  control.SendEvent(kEventMouseButtonDown, 0, 0, 0, 0.0f, 5, 5);
  control.SendEvent(kEventMouseButtonUp);  // no point: (0, 0) is outside
  EXPECT_EQ(0, control.activations);
  EXPECT_EQ(kControlStateNormal, control.GetState());
  EXPECT_FALSE(control.IsMouseFocused());
}

TEST(ControlMouseTest, TouchReleaseActivatesButDoesNotLeaveTheControlHot) {
  ClickControl control;
  control.SetPos({0, 0, 10, 10});
  control.SendEvent(kEventPointDown, 0, 0, 0, 0.5f, 5, 5);
  control.SendEvent(kEventPointUp, 0, 0, 0, 0.0f, 5, 5);
  EXPECT_EQ(1, control.activations);
  EXPECT_EQ(kControlStateNormal, control.GetState());
}

TEST(ControlMouseTest, PointerEventsPassUpWhenPointerInputIsOff) {
  HandlingBox parent;
  auto* child = new ClickControl();
  parent.Add(child);
  child->SetPos({0, 0, 10, 10});
  child->SetAttribute(L"receivepointer", L"false");
  child->SendEvent(kEventPointDown, 0, 0, 0, 0.5f, 5, 5);
  child->SendEvent(kEventPointUp, 0, 0, 0, 0.0f, 5, 5);
  EXPECT_EQ(0, child->activations);
  EXPECT_EQ((std::vector<EventType>{kEventPointDown, kEventPointUp}), parent.handled);
}

TEST(ControlMouseTest, MouseDisabledControlPassesClicksToItsParent) {
  HandlingBox parent;
  auto* child = new ClickControl();
  parent.Add(child);
  child->SetPos({0, 0, 10, 10});
  child->SetMouseEnabled(false);
  child->SendEvent(kEventMouseButtonDown, 0, 0, 0, 0.0f, 5, 5);
  child->SendEvent(kEventMouseButtonUp, 0, 0, 0, 0.0f, 5, 5);
  EXPECT_FALSE(child->IsMouseFocused());
  EXPECT_EQ(0, child->activations);
  EXPECT_EQ((std::vector<EventType>{kEventMouseButtonDown, kEventMouseButtonUp}), parent.handled);
}

TEST(ControlMouseTest, DisabledControlIgnoresButtonsAndPassesTheMenuRequestUp) {
  HandlingBox parent;
  auto* child = new ClickControl();
  parent.Add(child);
  child->SetAttribute(L"menu", L"true");
  child->SetEnabled(false);
  EXPECT_FALSE(child->ButtonDown(*std::make_unique<EventArgs>()));
  child->SendEvent(kEventInternalMenu);
  EXPECT_EQ((std::vector<EventType>{kEventInternalMenu}), parent.handled);
}

TEST(ControlPositionTest, MovingAnAttachedControlRaisesOnePositionEvent) {
  Box* root = new Box();
  Window window;
  window.InstallRoot(root);
  auto* child = new Control();
  root->Add(child);
  int events = 0;
  child->AttachEvent(kEventResize, [&](EventArgs* args) {
    EXPECT_EQ(child, args->sender);
    // A handler that moves the control again raises no nested event.
    if (++events == 1) child->SetPos({0, 0, 3, 3});
    return true;
  });
  child->SetPos({0, 0, 5, 5});
  EXPECT_EQ(1, events);
  EXPECT_FALSE(child->IsArrangeNeeded());
  child->SetPos({0, 0, 3, 3});  // unchanged: nothing
  EXPECT_EQ(1, events);
  EXPECT_EQ(3, child->GetPos().right);
  child->SetPos({5, 5, 1, 1});  // normalised to an empty rectangle at 5,5
  EXPECT_EQ(2, events);
  EXPECT_EQ(5, child->GetPos().right);
  EXPECT_EQ(5, child->GetPos().bottom);
}

TEST(ControlPositionTest, DetachedControlStoresThePositionSilently) {
  Control control;
  int events = 0;
  control.AttachEvent(kEventResize, [&](EventArgs*) { return ++events > 0; });
  control.SetPos({0, 0, 5, 5});
  EXPECT_EQ(0, events);
  EXPECT_TRUE(control.IsArrangeNeeded());
}

TEST(ControlApplyAttributeTest, ReceiverIsFoundInTheSubtreeOrTheWindow) {
  Box* root = new Box();
  Window window;
  auto* target = new Control();
  target->SetAttribute(L"name", L"target");
  root->Add(target);
  window.InstallRoot(root);
  EXPECT_TRUE(root->OnApplyAttributeList(L"./target", L"width=\"7\"", nullptr));
  EXPECT_EQ(7, target->GetFixedWidth());
  Control stranger;
  EXPECT_TRUE(stranger.OnApplyAttributeList(L".\\target", L"width=\"8\"", nullptr));
  EXPECT_EQ(7, target->GetFixedWidth());  // not in the stranger's subtree
  EXPECT_TRUE(target->OnApplyAttributeList(L"target", L"width=\"9\"", nullptr));
  EXPECT_EQ(9, target->GetFixedWidth());  // through the window's name map
}

}  // namespace
}  // namespace ui
