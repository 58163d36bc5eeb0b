// The selection zone: the small window that stands for one printed zone in the designer view.
// The model zone places it and feeds it font and text; the user moves and resizes it with the
// left button, and after each accepted step it hands its bounds back through OnBoundsChanged.
#pragma once

#include <QColor>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "designer/ShapeHandles.h"
#include "model/Font.h"
#include "model/ZoneShape.h"

namespace bvr {

class TShapeZone;

// The two messages a zone sends, synchronously, to its parent (the designer view).
inline constexpr QEvent::Type WM_SHAPECHANGED = static_cast<QEvent::Type>(1524);
inline constexpr QEvent::Type WM_SHAPESELECT = static_cast<QEvent::Type>(1525);

class ShapeEvent : public QEvent {
 public:
  ShapeEvent(QEvent::Type type, TShapeZone* zone) : QEvent(type), zone_(zone) {}
  TShapeZone* Zone() const { return zone_; }

 private:
  TShapeZone* zone_;
};

enum TShapeTextKind : std::uint8_t { stNone, stLine, stLines };

inline const QColor kZoneEnabledColor(255, 255, 255);
inline const QColor kZoneDisabledColor(192, 192, 192);

class TShapeZone : public QWidget, public IZoneShape {
  Q_OBJECT

 public:
  explicit TShapeZone(QWidget* parent = nullptr);
  ~TShapeZone() override;

  // IZoneShape
  void SetZoneBounds(const ZoneRect& rect, double viewWidth) override;
  void Invalidate() override;
  void SetTextFont(const TFont& font) override;
  void SetLines(const std::vector<std::string>& lines) override;
  void SetLineText(const std::string& text) override;
  ZoneRect BoundsRect() const override;
  void SetOnBoundsChanged(std::function<void()> callback) override;
  std::optional<ShapeStep> LastStep() const override { return lastStep_; }

  bool Selected() const { return selected_; }
  // Stores the state and repaints at once, so handles appear without waiting for a paint cycle.
  void SetSelected(bool value);

  TShapeTextKind TextKind() const { return textKind_; }
  void SetTextKind(TShapeTextKind kind) { textKind_ = kind; }
  const std::string& LineText() const { return lineText_; }
  const std::vector<std::string>& Lines() const { return lines_; }
  const TFont& TextFont() const { return textFont_; }
  double ViewWidth() const { return viewWidth_; }
  double Scale() const { return viewWidth_ / 2100.0; }
  // A model font size in points as drawn at this view's scale.
  int ScaledFontSize(int size) const;

  QColor Color() const { return color_; }
  void SetColor(const QColor& color);

  // Shown on a right click; not owned.
  QMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }

  bool Dragging() const { return dragging_; }
  TDragMode DragMode() const { return dragMode_; }
  QPoint Anchor() const { return anchor_; }
  // Ends a drag whose button release will never come (a popup, a dialog or another window
  // took it); nothing moves until the left button is pressed again.
  void EndDrag();

  // The client area lies inside the one-pixel frame; mouse positions are taken relative to it.
  QSize ClientSize() const { return size() - QSize(2, 2); }
  static QPoint ToClient(QPoint widgetPos) { return widgetPos - QPoint(1, 1); }

 signals:
  // A left press starts a drag, its release (or EndDrag) finishes it: one user gesture,
  // whatever number of steps it made.
  void DragStarted();
  void DragFinished();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void SendToOwner(QEvent::Type type);
  void UpdateCursor(QPoint client);
  // The proposed bounds of one step within the limits, or none when the step is refused.
  std::optional<QRect> Limited(const QRect& proposed) const;
  void DrawText(QPainter& painter);

  QPoint anchor_;
  bool dragging_ = false;
  TDragMode dragMode_ = dmMove;
  bool selected_ = false;
  std::function<void()> onBoundsChanged_;
  // Set only while the model reads a drag step back.
  std::optional<ShapeStep> lastStep_;
  double viewWidth_ = 0.0;
  TFont textFont_;
  TShapeTextKind textKind_ = stNone;
  std::vector<std::string> lines_;
  std::string lineText_;
  QColor color_ = kZoneEnabledColor;
  QPointer<QMenu> popupMenu_;
};

}  // namespace bvr
