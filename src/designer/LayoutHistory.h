// The undo history of one layout: each user gesture (a drag, a confirmed dialog, a key press,
// an opened file) becomes one step holding full copies of the layout before and after it, so
// undo brings back the exact model values rather than values derived again from pixels.
#pragma once

#include <QObject>
#include <QUndoStack>
#include <functional>
#include <memory>

#include "model/BvrProperties.h"

namespace bvr {

class LayoutHistory : public QObject {
 public:
  explicit LayoutHistory(QObject* parent = nullptr);

  // The layout the steps apply to; binding another (or none) forgets every step.
  void SetLayout(TBvrProperties* layout);
  // Runs before a step is undone or redone (the view ends a drag in progress).
  void SetBeforeRestore(std::function<void()> hook) { beforeRestore_ = std::move(hook); }

  // Begin keeps a copy of the layout; Commit records a step when the layout now differs.
  // A second Begin before Commit keeps the first copy: nested changes make one step.
  void Begin();
  void Commit();
  // Begin, the change, Commit: also when the change throws.
  void Record(const std::function<void()>& change);

  void Undo();
  void Redo();
  QUndoStack& Stack() { return stack_; }

 private:
  TBvrProperties* layout_ = nullptr;
  std::shared_ptr<TBvrProperties> pending_;
  std::function<void()> beforeRestore_;
  QUndoStack stack_;
};

// A full copy of a layout, its own fields included (Assign leaves them out).
std::shared_ptr<TBvrProperties> CopyLayout(const TBvrProperties& layout);
// Writes a copy back into the layout the view shows and refreshes its zones.
void RestoreLayout(TBvrProperties& target, const TBvrProperties& copy);

}  // namespace bvr
