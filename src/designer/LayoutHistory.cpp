#include "designer/LayoutHistory.h"

#include <QUndoCommand>

namespace bvr {

namespace {

class LayoutStep : public QUndoCommand {
 public:
  LayoutStep(std::function<void(const TBvrProperties&)> restore,
             std::shared_ptr<TBvrProperties> before, std::shared_ptr<TBvrProperties> after)
      : restore_(std::move(restore)), before_(std::move(before)), after_(std::move(after)) {}

  void undo() override { restore_(*before_); }
  void redo() override {
    // Pushed after the change was made: the first redo has nothing to do.
    if (applied_) {
      applied_ = false;
      return;
    }
    restore_(*after_);
  }

 private:
  std::function<void(const TBvrProperties&)> restore_;
  std::shared_ptr<TBvrProperties> before_;
  std::shared_ptr<TBvrProperties> after_;
  bool applied_ = true;
};

}  // namespace

std::shared_ptr<TBvrProperties> CopyLayout(const TBvrProperties& layout) {
  auto copy = std::make_shared<TBvrProperties>();
  copy->Assign(layout);
  // The name heads the saved text that tells whether a gesture changed anything.
  copy->Name = layout.Name;
  copy->readOnly = layout.readOnly;
  copy->Tag = layout.Tag;
  copy->DesignLeft = layout.DesignLeft;
  copy->DesignTop = layout.DesignTop;
  return copy;
}

void RestoreLayout(TBvrProperties& target, const TBvrProperties& copy) {
  target.Assign(copy);
  target.readOnly = copy.readOnly;
  target.Tag = copy.Tag;
  target.DesignLeft = copy.DesignLeft;
  target.DesignTop = copy.DesignTop;
  target.UpdateZones();
}

LayoutHistory::LayoutHistory(QObject* parent) : QObject(parent), stack_(this) {}

void LayoutHistory::SetLayout(TBvrProperties* layout) {
  if (layout == layout_) {
    return;
  }
  pending_.reset();
  stack_.clear();
  layout_ = layout;
}

void LayoutHistory::Begin() {
  if (layout_ != nullptr && pending_ == nullptr) {
    pending_ = CopyLayout(*layout_);
  }
}

void LayoutHistory::Commit() {
  if (layout_ == nullptr || pending_ == nullptr) {
    return;
  }
  std::shared_ptr<TBvrProperties> before = std::move(pending_);
  pending_.reset();
  if (before->SaveToText() == layout_->SaveToText()) {
    return;
  }
  TBvrProperties* layout = layout_;
  stack_.push(new LayoutStep([layout](const TBvrProperties& copy) { RestoreLayout(*layout, copy); },
                             std::move(before), CopyLayout(*layout_)));
}

void LayoutHistory::Record(const std::function<void()>& change) {
  const bool outermost = pending_ == nullptr;
  Begin();
  struct CommitOnExit {
    LayoutHistory* history;
    bool active;
    ~CommitOnExit() {
      if (active) {
        history->Commit();
      }
    }
  } commit{this, outermost};
  change();
}

void LayoutHistory::Undo() {
  if (beforeRestore_) {
    beforeRestore_();
  }
  stack_.undo();
}

void LayoutHistory::Redo() {
  if (beforeRestore_) {
    beforeRestore_();
  }
  stack_.redo();
}

}  // namespace bvr
