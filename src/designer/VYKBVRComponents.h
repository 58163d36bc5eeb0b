// The designer views: the on-screen picture of one slip with one selection zone per printed
// zone of the bound layout. TVYKcompBVR is a plain panel of any size; TVYKOrangeBVR shows the
// empty orange slip form and keeps the fixed size 411 x 209.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "designer/LayoutHistory.h"
#include "designer/VYKBVRSelectZone.h"
#include "editing/VykBvrPopupMenus.h"
#include "model/BvrProperties.h"
#include "model/Component.h"

class QAction;
class QMenu;

namespace bvr {

// Stored with the view, never raised by it.
using TOnDisplayParameterForm = std::function<void(QWidget* parameterForm, bool& showDefaultForm)>;

class TVYKcompBVR : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kZoneCount = 10;

  explicit TVYKcompBVR(QWidget* parent = nullptr);
  ~TVYKcompBVR() override;

  TBvrProperties* BvrProperties() const { return bvrProperties_; }
  // Binds a layout (creating or re-linking the ten zones) or, with nullptr, unbinds it.
  void SetBvrProperties(TBvrProperties* value);

  // The control's width; with a layout bound every zone is scaled again.
  void Setwidth(int value);

  void ShowZones();
  void HideZones();
  void SetupItemClick();
  void CodingLineItemClick();

  // The ten selection zones in the fixed order (account, payer, creditor, amount, reference;
  // receipt before processing); null while no layout is bound.
  const std::array<TShapeZone*, kZoneCount>& Shapes() const { return shapes_; }
  const std::array<TGeneralPopupMenu*, kZoneCount>& Menus() const { return menus_; }
  TShapeZone* SelectedShape() const { return selectedShape_; }
  QMenu* ViewMenu() const { return viewMenu_; }
  // Every change made in the view (and, through it, in its window) as undo steps.
  LayoutHistory& History() { return *history_; }
  // Selects the zone after (forward) or before the selected one in table order, wrapping.
  void SelectNeighbour(bool forward);

  TOnDisplayParameterForm OnDisplayParameterForm;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  // The picture behind the zones, copied unscaled; a null pixmap paints a plain panel.
  QPixmap Background;

 private:
  void ShapeSelect(TShapeZone* zone);
  void Deselect();
  void CreateMissingShapes();
  void FreeShapes();
  void UnlinkModelZones();
  void Rescale();
  void CreateHistoryActions();
  void EndDrags();
  // Arrow keys move the selected zone; with Ctrl they change its width or height.
  bool EditSelectedZone(int key, Qt::KeyboardModifiers modifiers);
  // Tab walks through the zones and, past the last one (Shift+Tab: the first), leaves the view.
  void TabThroughZones(bool forward);
  // The selected zone's menu (the view's own when none is selected), below the zone.
  void PopupMenuFromKeyboard();

  TBvrProperties* bvrProperties_ = nullptr;
  // Tells the view when the bound layout is destroyed, while its zones are still whole.
  ComponentLink<TBvrProperties> propertiesLink_;
  std::array<TShapeZone*, kZoneCount> shapes_{};
  std::array<TGeneralPopupMenu*, kZoneCount> menus_{};
  QMenu* viewMenu_ = nullptr;
  QAction* setupItem_ = nullptr;
  QAction* codingLineItem_ = nullptr;
  TShapeZone* selectedShape_ = nullptr;
  LayoutHistory* history_ = nullptr;
};

class TVYKOrangeBVR : public TVYKcompBVR {
  Q_OBJECT

 public:
  static constexpr int kWidth = 411;
  static constexpr int kHeight = 209;

  explicit TVYKOrangeBVR(QWidget* parent = nullptr);
};

}  // namespace bvr
