#include "app/windows/settings/observer_relay.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "kestrum/testing/heap_blocks.h"
#include "message_window.h"

namespace {

using kestrum::testing_support::UsedHeapBlocks;
using Kind = ObserverEventPayload::Kind;
using Observer = ZuvraKestrum::ICallBack::CUserCallBack;

class ObserverRelayTest : public ::testing::Test {
protected:
    void TearDown() override {
        relay_.detach(window_.handle());
        FreeQueuedPayloads(window_.handle(), WM_SETTINGS_OBSERVER_EVENT, WM_SETTINGS_OBSERVER_EVENT,
                           FreeSettingsPayload);
    }

    // The next report queued for the window, owned again; null when none is.
    std::unique_ptr<ObserverEventPayload> next() {
        MSG message;
        if (!window_.take(message, WM_SETTINGS_OBSERVER_EVENT, WM_SETTINGS_OBSERVER_EVENT)) {
            return nullptr;
        }
        return TakePayload<WM_SETTINGS_OBSERVER_EVENT>(message.wParam);
    }

    MessageWindow window_;
    CObserverRelay relay_;
};

TEST_F(ObserverRelayTest, ReportsFromWorkerThreadsArriveAsCopiesInOrder) {
    relay_.attach(window_.handle());
    Observer* observer = relay_.observerFor(window_.handle());
    std::thread worker([observer] {
        // The library's texts live only during the call.
        char api[] = "account/portrait";
        char text[] = "too large";
        observer->onCallBackError(api, text, 1009);
        std::memset(api, 'x', sizeof api - 1);
        std::memset(text, 'x', sizeof text - 1);
        observer->onUpdatePhoto("p7");
        observer->onUpdateRoom(true);
        observer->onLogUpload(false);
        observer->onCallBackError(nullptr, nullptr, 0);
    });
    worker.join();

    auto error = next();
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->kind, Kind::kError);
    EXPECT_EQ(error->api, "account/portrait");
    EXPECT_EQ(error->text, "too large");
    EXPECT_EQ(error->code, 1009);
    auto photo = next();
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->kind, Kind::kUpdatePhoto);
    EXPECT_EQ(photo->text, "p7");
    auto room = next();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->kind, Kind::kUpdateRoom);
    EXPECT_EQ(room->code, 1);
    auto upload = next();
    ASSERT_NE(upload, nullptr);
    EXPECT_EQ(upload->kind, Kind::kLogUpload);
    EXPECT_EQ(upload->code, 0);
    auto empty = next();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->api, "");
    EXPECT_EQ(empty->text, "");
    EXPECT_EQ(next(), nullptr);
}

TEST_F(ObserverRelayTest, WithoutAnAttachedLiveWindowReportsAreDroppedAndFreed) {
    MessageWindow other;
    relay_.detach(other.handle());  // the relay's lock takes its block on first use
    const long before = UsedHeapBlocks();
    relay_.observerFor(window_.handle())->onUpdatePhoto("before any window");

    relay_.attach(window_.handle());
    Observer* observer = relay_.observerFor(window_.handle());
    relay_.detach(other.handle());  // not the attached one: no effect
    observer->onUpdatePhoto("p1");
    relay_.detach(window_.handle());
    observer->onUpdatePhoto("after the window left");
    observer->onCallBackError("account/portrait", "after the window left", 1);

    HWND gone =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    relay_.attach(gone);
    relay_.observerFor(gone)->onUpdatePhoto("to a destroyed window");

    auto delivered = next();
    ASSERT_NE(delivered, nullptr);
    EXPECT_EQ(delivered->text, "p1");
    EXPECT_EQ(next(), nullptr);
    delivered.reset();
    EXPECT_EQ(UsedHeapBlocks(), before);
}

TEST_F(ObserverRelayTest, AWindowThatGoesFreesWhatIsStillQueuedForIt) {
    CWindowRegistration attached = AttachWindow(relay_, window_.handle());
    Observer* observer = relay_.observerFor(window_.handle());
    const long before = UsedHeapBlocks();  // the relay's lock took its block on first use
    observer->onUpdatePhoto("p1");
    observer->onCallBackError("account/portrait", "refused", 2);
    attached.reset();
    observer->onUpdatePhoto("after the window left");
    FreeQueuedPayloads(window_.handle(), WM_SETTINGS_OBSERVER_EVENT, WM_SETTINGS_OBSERVER_EVENT,
                       FreeSettingsPayload);
    EXPECT_EQ(next(), nullptr);
    EXPECT_EQ(UsedHeapBlocks(), before);
}

// A window of the class opened again (attached anew, maybe under the same handle) must not take
// the answer to its predecessor's request for its own, not even once it has asked itself: the
// library lets the earlier request's answer through until it has started the new one.
TEST_F(ObserverRelayTest, AReportReachesOnlyTheWindowThatAskedWhileItStaysAttached) {
    MessageWindow other;
    relay_.attach(window_.handle());
    Observer* predecessors = relay_.observerFor(window_.handle());
    relay_.detach(window_.handle());
    relay_.attach(window_.handle());
    predecessors->onUpdateRoom(true);
    EXPECT_EQ(next(), nullptr);

    Observer* own = relay_.observerFor(window_.handle());
    predecessors->onUpdateRoom(true);
    EXPECT_EQ(next(), nullptr);
    own->onUpdateRoom(false);
    own->onCallBackError("room/update", "refused", 2003);
    auto answer = next();
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->kind, Kind::kUpdateRoom);
    auto error = next();
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code, 2003);
    EXPECT_EQ(next(), nullptr);

    // Asked for by a window that is not attached.
    relay_.observerFor(other.handle())->onUpdateRoom(true);
    EXPECT_EQ(next(), nullptr);
}

struct FirstWindow {};
struct SecondWindow {};

TEST(SharedRelay, EachWindowClassHasOneRelayOfItsOwn) {
    EXPECT_EQ(&SharedRelay<FirstWindow>(), &SharedRelay<FirstWindow>());
    EXPECT_NE(static_cast<void*>(&SharedRelay<FirstWindow>()),
              static_cast<void*>(&SharedRelay<SecondWindow>()));
}

}  // namespace
