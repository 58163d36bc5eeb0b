#include "model/Component.h"

#include <algorithm>

namespace bvr {

TComponent::~TComponent() {
  NotifyDestroying();
}

void TComponent::FreeNotification(IComponentObserver* observer) {
  if (observer != nullptr &&
      std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
    observers_.push_back(observer);
  }
}

void TComponent::RemoveFreeNotification(IComponentObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TComponent::NotifyDestroying() {
  // Observers may unregister themselves or others while being told: take them one at a time
  // from the live list, so a departed one is never called.
  while (!observers_.empty()) {
    IComponentObserver* observer = observers_.front();
    observers_.erase(observers_.begin());
    observer->ComponentDestroying(*this);
  }
}

}  // namespace bvr
