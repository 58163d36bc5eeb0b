// The component base: a name, a tag, a design position, and a destruction notice to
// registered observers. Observers unregister when they die, so no notice reaches a dead one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/Persistent.h"

namespace bvr {

class TComponent;

class IComponentObserver {
 public:
  virtual ~IComponentObserver() = default;
  // The component is about to be destroyed; it is still whole during this call.
  virtual void ComponentDestroying(TComponent& component) = 0;
};

class TComponent : public TPersistent {
 public:
  TComponent() = default;
  ~TComponent() override;

  std::string Name;
  std::int32_t Tag = 0;
  // Position of the component's icon on its owner's design surface ("Left", "Top" lines).
  std::int32_t DesignLeft = 0;
  std::int32_t DesignTop = 0;

  void FreeNotification(IComponentObserver* observer);
  void RemoveFreeNotification(IComponentObserver* observer);

 protected:
  // Tells every observer, once. A derived destructor calls it first so that observers still
  // see the whole object; the base destructor calls it again for classes that do not.
  void NotifyDestroying();

 private:
  std::vector<IComponentObserver*> observers_;
};

// A non-owning reference to a component that becomes empty when the component is destroyed.
template <class T>
class ComponentLink final : public IComponentObserver {
 public:
  ComponentLink() = default;
  explicit ComponentLink(std::function<void()> onDestroyed)
      : onDestroyed_(std::move(onDestroyed)) {}
  ComponentLink(const ComponentLink&) = delete;
  ComponentLink& operator=(const ComponentLink&) = delete;
  ~ComponentLink() override { Set(nullptr); }

  T* Get() const { return target_; }
  void Set(T* target) {
    if (target_ == target) {
      return;
    }
    if (component_ != nullptr) {
      component_->RemoveFreeNotification(this);
    }
    target_ = target;
    component_ = target;
    if (component_ != nullptr) {
      component_->FreeNotification(this);
    }
  }

  // The notice may come from the component base's destructor, when the T part is already
  // gone: compare and unregister through the base pointer taken while the object was whole.
  void ComponentDestroying(TComponent& component) override {
    if (&component == component_) {
      component_->RemoveFreeNotification(this);
      component_ = nullptr;
      target_ = nullptr;
      if (onDestroyed_) {
        onDestroyed_();
      }
    }
  }

 private:
  T* target_ = nullptr;
  TComponent* component_ = nullptr;
  std::function<void()> onDestroyed_;
};

}  // namespace bvr
