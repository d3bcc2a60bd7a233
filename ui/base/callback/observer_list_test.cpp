#include "ui/base/callback/observer_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace kbase {
namespace {

class Observer {
 public:
  Observer(std::vector<int>* log, int id) : log_(log), id_(id) {}
  void Notice() {
    log_->push_back(id_);
    if (on_notice) on_notice();
  }
  std::function<void()> on_notice;

 private:
  std::vector<int>* log_;
  int id_;
};

TEST(ObserverListTest, RemovalAndAdditionDuringNotificationAreSafe) {
  std::vector<int> log;
  Observer first(&log, 1), second(&log, 2), third(&log, 3);
  ObserverList<Observer> list;
  list.AddObserver(&first);
  list.AddObserver(&second);
  list.AddObserver(&first);  // duplicate ignored
  first.on_notice = [&] {
    list.RemoveObserver(&second);
    list.AddObserver(&third);
  };
  list.Notify(&Observer::Notice);
  EXPECT_EQ(log, (std::vector<int>{1, 3}));

  log.clear();
  first.on_notice = nullptr;
  list.Notify(&Observer::Notice);
  EXPECT_EQ(log, (std::vector<int>{1, 3}));
}

}  // namespace
}  // namespace kbase
