#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "FakeZoneShape.h"
#include "model/BvrProperties.h"

namespace bvr {
namespace {

using test::FakeZoneShape;

// A designer-like observer: when told, it reads the layout and unlinks its rectangles.
class UnlinkingObserver : public IComponentObserver {
 public:
  void ComponentDestroying(TComponent& component) override {
    auto& p = static_cast<TBvrProperties&>(component);
    accountLeftSeen = p.Account().Receipt().Left();
    for (TBaseZone* zone : p.Zones()) {
      zone->SetShape(nullptr);
    }
    ++notices;
  }
  int notices = 0;
  std::int32_t accountLeftSeen = 0;
};

TEST(Destruction, ObserversAreToldWhileTheSectionsStillExist) {
  auto p = std::make_unique<TBvrProperties>();
  FakeZoneShape shape;
  p->Account().Receipt().SetShape(&shape);
  UnlinkingObserver observer;
  p->FreeNotification(&observer);
  p->FreeNotification(&observer);  // registering twice tells once
  p.reset();
  EXPECT_EQ(observer.notices, 1);
  EXPECT_EQ(observer.accountLeftSeen, 270);
}

TEST(Destruction, ComponentLinkEmptiesAndCallsBack) {
  int callbacks = 0;
  ComponentLink<TBvrProperties> link([&] { ++callbacks; });
  ComponentLink<TBvrProperties> other;
  auto p = std::make_unique<TBvrProperties>();
  link.Set(p.get());
  other.Set(p.get());
  EXPECT_EQ(link.Get(), p.get());
  p.reset();
  EXPECT_EQ(link.Get(), nullptr);
  EXPECT_EQ(other.Get(), nullptr);
  EXPECT_EQ(callbacks, 1);
}

TEST(Destruction, ARemovedOrDeadObserverIsNotTold) {
  auto p = std::make_unique<TBvrProperties>();
  UnlinkingObserver removed;
  p->FreeNotification(&removed);
  p->RemoveFreeNotification(&removed);
  int callbacks = 0;
  {
    // A link that dies first unregisters itself; the slip must not call it afterwards.
    ComponentLink<TBvrProperties> shortLived([&] { ++callbacks; });
    shortLived.Set(p.get());
  }
  // A link moved to another slip is told about that one only.
  auto q = std::make_unique<TBvrProperties>();
  ComponentLink<TBvrProperties> moved([&] { ++callbacks; });
  moved.Set(p.get());
  moved.Set(q.get());
  p.reset();
  EXPECT_EQ(removed.notices, 0);
  EXPECT_EQ(callbacks, 0);
  EXPECT_EQ(moved.Get(), q.get());
  q.reset();
  EXPECT_EQ(callbacks, 1);
}

}  // namespace
}  // namespace bvr
