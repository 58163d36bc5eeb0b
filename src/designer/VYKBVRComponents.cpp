#include "designer/VYKBVRComponents.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "draw/SlipFormPicture.h"
#include "editing/VYKBVRCodeBVRcoordDialog.h"
#include "report/QPainterCanvas.h"
#include "strings/VYKBVRResources.h"

namespace bvr {

namespace {

struct ZoneRow {
  const char* shapeName;
  const char* menuName;
  int hint;
  TShapeTextKind textKind;
};

// Same order as TBvrProperties::Zones(): the view always visits the zones in this order.
constexpr std::array<ZoneRow, TVYKcompBVR::kZoneCount> kZoneTable = {{
    {"AccountReceiptShape", "AccountReceiptMenu", SHintAccountReceipt, stLine},
    {"AccountProcessingShape", "AccountProcessingMenu", SHintAccountProcessing, stLine},
    {"PaymentByReceiptShape", "PaymentByReceiptMenu", SHintPaymentByReceipt, stLines},
    {"PaymentByProcessingShape", "PaymentByProcessingMenu", SHintPaymentByProcessing, stLines},
    {"PaymentForReceiptShape", "PaymentForReceiptMenu", SHintPaymentForReceipt, stLines},
    {"PaymentForProcessingShape", "PaymentForProcessingMenu", SHintPaymentForProcessing, stLines},
    {"AmountReceiptShape", "AmountReceiptMenu", SHintAmountReceipt, stLine},
    {"AmountProcessingShape", "AmountProcessingMenu", SHintAmountProcessing, stLine},
    {"ReferenceReceiptShape", "ReferenceReceiptMenu", SHintReferenceReceipt, stLine},
    {"ReferenceProcessingShape", "ReferenceProcessingMenu", SHintReferenceProcessing, stLine},
}};

// Two menus per section, receipt then processing, in the order of the zone table.
TGeneralPopupMenu* CreateSectionMenu(std::size_t index, QWidget* owner) {
  switch (index / 2) {
    case 0:
      return new TComptePopupMenu(owner);
    case 1:
      return new TVersementParPopupMenu(owner);
    case 2:
      return new TVersementPourPopupMenu(owner);
    case 3:
      return new TMontantPopupMenu(owner);
    default:
      return new TReferencePopupMenu(owner);
  }
}

QString Res(int id) {
  const std::string_view text = LoadResString(id);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// ---- TVYKcompBVR -----------------------------------------------------------------------------

TVYKcompBVR::TVYKcompBVR(QWidget* parent)
    : QWidget(parent),
      propertiesLink_([this] { SetBvrProperties(nullptr); }),
      history_(new LayoutHistory(this)) {
  resize(185, 41);
  // A click or Tab gives the view the keyboard.
  setFocusPolicy(Qt::StrongFocus);
  CreateHistoryActions();
  for (std::size_t i = 0; i < menus_.size(); ++i) {
    menus_[i] = CreateSectionMenu(i, this);
    menus_[i]->SetChangeRunner(
        [this](const std::function<void()>& change) { history_->Record(change); });
    menus_[i]->SetZoneSide(i % 2 == 0 ? zsReceipt : zsProcessing);
    menus_[i]->setObjectName(QString::fromLatin1(kZoneTable[i].menuName));
  }
  viewMenu_ = new QMenu(this);
  viewMenu_->setObjectName(QStringLiteral("ViewMenu"));
  setupItem_ = viewMenu_->addAction(Res(SMenuSetup));
  setupItem_->setObjectName(QStringLiteral("SetupItem"));
  setupItem_->setCheckable(true);
  // A checkable action has already inverted its check mark when triggered fires.
  connect(setupItem_, &QAction::triggered, this, [this](bool checked) {
    if (checked) {
      ShowZones();
    } else {
      HideZones();
    }
  });
  viewMenu_->addSeparator()->setObjectName(QStringLiteral("SeparatorItem"));
  codingLineItem_ = viewMenu_->addAction(Res(SMenuCodingLinePosition));
  codingLineItem_->setObjectName(QStringLiteral("CodingLineItem"));
  connect(codingLineItem_, &QAction::triggered, this, [this] { CodingLineItemClick(); });
}

void TVYKcompBVR::CreateHistoryActions() {
  history_->SetBeforeRestore([this] { EndDrags(); });
  auto addShortcut = [this](const char* name, QList<QKeySequence> keys,
                            void (LayoutHistory::*run)()) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    // Anywhere in the window, unless the focused control (a text field) takes the keys itself.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, run] { (history_->*run)(); });
    addAction(action);
  };
  addShortcut("UndoAction", {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &LayoutHistory::Undo);
  addShortcut("RedoAction",
              {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
              &LayoutHistory::Redo);
}

void TVYKcompBVR::EndDrags() {
  for (TShapeZone* shape : shapes_) {
    if (shape != nullptr) {
      shape->EndDrag();
    }
  }
}

TVYKcompBVR::~TVYKcompBVR() {
  // The layout outlives the view: leave none of its zones pointing at a freed rectangle.
  UnlinkModelZones();
  propertiesLink_.Set(nullptr);
  bvrProperties_ = nullptr;
  FreeShapes();
}

void TVYKcompBVR::SetBvrProperties(TBvrProperties* value) {
  if (value == bvrProperties_) {
    return;
  }
  UnlinkModelZones();
  propertiesLink_.Set(value);
  if (value != nullptr) {
    CreateMissingShapes();
    const std::array<TBaseZone*, kZoneCount> zones = value->Zones();
    for (std::size_t i = 0; i < zones.size(); ++i) {
      zones[i]->SetShape(shapes_[i]);
    }
    value->SetViewWidth(width());
    value->UpdateZones();
  } else {
    FreeShapes();
  }
  for (TGeneralPopupMenu* menu : menus_) {
    menu->SetProperties(value);
  }
  bvrProperties_ = value;
  history_->SetLayout(value);
}

void TVYKcompBVR::UnlinkModelZones() {
  if (bvrProperties_ == nullptr) {
    return;
  }
  for (TBaseZone* zone : bvrProperties_->Zones()) {
    zone->SetShape(nullptr);
  }
  // Unlinking leaves the rectangle's callback aimed at the old zone; a rectangle that is
  // reused or dragged later must not write into a layout it no longer shows.
  for (TShapeZone* shape : shapes_) {
    if (shape != nullptr) {
      shape->SetOnBoundsChanged(nullptr);
    }
  }
}

void TVYKcompBVR::CreateMissingShapes() {
  for (std::size_t i = 0; i < shapes_.size(); ++i) {
    if (shapes_[i] != nullptr) {
      continue;
    }
    auto* shape = new TShapeZone(this);
    shape->setObjectName(QString::fromLatin1(kZoneTable[i].shapeName));
    shape->setToolTip(Res(kZoneTable[i].hint));
    shape->SetTextKind(kZoneTable[i].textKind);
    shape->SetPopupMenu(menus_[i]);
    // All the steps of one drag make one undo step.
    connect(shape, &TShapeZone::DragStarted, history_, [this] { history_->Begin(); });
    connect(shape, &TShapeZone::DragFinished, history_, [this] { history_->Commit(); });
    shape->show();
    shapes_[i] = shape;
  }
}

void TVYKcompBVR::FreeShapes() {
  selectedShape_ = nullptr;
  for (TShapeZone*& shape : shapes_) {
    delete shape;
    shape = nullptr;
  }
}

void TVYKcompBVR::Setwidth(int value) {
  resize(value, height());
  Rescale();
}

void TVYKcompBVR::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->oldSize().width() != width()) {
    Rescale();
  }
}

void TVYKcompBVR::Rescale() {
  if (bvrProperties_ != nullptr) {
    bvrProperties_->SetViewWidth(width());
    bvrProperties_->UpdateZones();
  }
}

void TVYKcompBVR::ShowZones() {
  setupItem_->setChecked(true);
  for (TShapeZone* shape : shapes_) {
    if (shape != nullptr) {
      shape->show();
    }
  }
}

void TVYKcompBVR::HideZones() {
  setupItem_->setChecked(false);
  for (TShapeZone* shape : shapes_) {
    if (shape != nullptr) {
      shape->hide();
    }
  }
}

void TVYKcompBVR::SetupItemClick() {
  setupItem_->trigger();
}

void TVYKcompBVR::CodingLineItemClick() {
  if (bvrProperties_ == nullptr) {
    return;
  }
  history_->Record([this] {
    TVYKCodeBVRCoordoDialog dialog(this);
    dialog.SetX(bvrProperties_->CodageZone().fromRight);
    dialog.SetY(bvrProperties_->CodageZone().fromBottom);
    // The modal loop may have let the layout go away: look again before writing.
    if (!dialog.Execute() || bvrProperties_ == nullptr) {
      return;
    }
    bvrProperties_->Changed();
    bvrProperties_->CodageZone().fromRight = dialog.X();
    bvrProperties_->CodageZone().fromBottom = dialog.Y();
  });
}

void TVYKcompBVR::SelectNeighbour(bool forward) {
  if (bvrProperties_ == nullptr) {
    return;
  }
  const auto count = static_cast<std::ptrdiff_t>(shapes_.size());
  const auto* found = std::find(shapes_.begin(), shapes_.end(), selectedShape_);
  std::ptrdiff_t next = forward ? 0 : count - 1;
  if (found != shapes_.end()) {
    next = ((found - shapes_.begin()) + (forward ? 1 : count - 1)) % count;
  }
  ShapeSelect(shapes_[static_cast<std::size_t>(next)]);
}

bool TVYKcompBVR::EditSelectedZone(int key, Qt::KeyboardModifiers modifiers) {
  const auto* found = std::find(shapes_.begin(), shapes_.end(), selectedShape_);
  if (selectedShape_ == nullptr || found == shapes_.end() || bvrProperties_ == nullptr) {
    return false;
  }
  int dx = 0;
  int dy = 0;
  switch (key) {
    case Qt::Key_Left:
      dx = -1;
      break;
    case Qt::Key_Right:
      dx = 1;
      break;
    case Qt::Key_Up:
      dy = -1;
      break;
    case Qt::Key_Down:
      dy = 1;
      break;
    default:
      return false;
  }
  // Tenths of a millimetre, or whole millimetres with Shift.
  const int step = modifiers.testFlag(Qt::ShiftModifier) ? 10 : 1;
  TGeneralPopupMenu* zone = menus_[static_cast<std::size_t>(found - shapes_.begin())];
  const bool resize = modifiers.testFlag(Qt::ControlModifier);
  history_->Record([&] {
    if (resize) {
      // Never narrower or lower than one tenth.
      const std::int32_t w = std::max(1, zone->GetZoneWidth() + dx * step);
      const std::int32_t h = std::max(1, zone->GetZoneHeight() + dy * step);
      bvrProperties_->Changed();
      zone->SetZoneWidth(w);
      zone->SetZoneHeight(h);
    } else {
      bvrProperties_->Changed();
      zone->SetZoneLeft(zone->GetZoneLeft() + dx * step);
      zone->SetZoneTop(zone->GetZoneTop() + dy * step);
    }
    zone->RefreshZone();
  });
  return true;
}

void TVYKcompBVR::keyPressEvent(QKeyEvent* event) {
  if (EditSelectedZone(event->key(), event->modifiers())) {
    event->accept();
    return;
  }
  const bool shiftF10 =
      event->key() == Qt::Key_F10 && event->modifiers() == Qt::KeyboardModifiers(Qt::ShiftModifier);
  if (event->key() == Qt::Key_Menu || shiftF10) {
    event->accept();
    PopupMenuFromKeyboard();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TVYKcompBVR::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (bvrProperties_ == nullptr) {
    return;
  }
  // Coming in from the keyboard, the first zone in the direction of travel is selected.
  if (event->reason() == Qt::TabFocusReason) {
    ShapeSelect(shapes_.front());
  } else if (event->reason() == Qt::BacktabFocusReason) {
    ShapeSelect(shapes_.back());
  }
}

void TVYKcompBVR::TabThroughZones(bool forward) {
  TShapeZone* last = forward ? shapes_.back() : shapes_.front();
  if (selectedShape_ != last) {
    SelectNeighbour(forward);
    return;
  }
  focusNextPrevChild(forward);
  if (hasFocus()) {
    // Alone in its window, the view keeps the focus and the walk wraps round.
    ShapeSelect(forward ? shapes_.front() : shapes_.back());
  }
}

void TVYKcompBVR::PopupMenuFromKeyboard() {
  if (selectedShape_ != nullptr && selectedShape_->PopupMenu() != nullptr) {
    const QRect zone = selectedShape_->geometry();
    selectedShape_->PopupMenu()->popup(mapToGlobal(QPoint(zone.left(), zone.bottom() + 1)));
    return;
  }
  viewMenu_->popup(mapToGlobal(QPoint(0, 0)));
}

void TVYKcompBVR::ShapeSelect(TShapeZone* zone) {
  Deselect();
  selectedShape_ = zone;
  zone->SetSelected(true);
}

void TVYKcompBVR::Deselect() {
  if (selectedShape_ != nullptr) {
    selectedShape_->SetSelected(false);
    selectedShape_->update();
  }
  selectedShape_ = nullptr;
}

bool TVYKcompBVR::event(QEvent* event) {
  if (event->type() == WM_SHAPESELECT) {
    if (TShapeZone* zone = static_cast<ShapeEvent*>(event)->Zone()) {
      ShapeSelect(zone);
    }
    return true;
  }
  if (event->type() == QEvent::KeyPress && bvrProperties_ != nullptr) {
    // Tab would otherwise leave the view: here it walks through the zones.
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      TabThroughZones(key->key() == Qt::Key_Tab && !key->modifiers().testFlag(Qt::ShiftModifier));
      return true;
    }
  }
  if (event->type() == WM_SHAPECHANGED) {
    // The model has already taken the new bounds through the zone's callback.
    return true;
  }
  return QWidget::event(event);
}

void TVYKcompBVR::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (Background.isNull()) {
    painter.fillRect(event->rect(), palette().window());
    return;
  }
  painter.drawPixmap(event->rect(), Background, event->rect());
}

void TVYKcompBVR::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) {
    Deselect();
  }
}

void TVYKcompBVR::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  if (event->reason() == QContextMenuEvent::Keyboard) {
    PopupMenuFromKeyboard();
    return;
  }
  viewMenu_->popup(event->globalPos());
}

// ---- TVYKOrangeBVR ---------------------------------------------------------------------------

TVYKOrangeBVR::TVYKOrangeBVR(QWidget* parent) : TVYKcompBVR(parent) {
  // Rendered once at the view's size and copied pixel for pixel afterwards.
  QPixmap picture(kWidth, kHeight);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  {
    QPainterCanvas canvas(painter);
    PaintSlipForm(canvas, {0, 0, static_cast<double>(kWidth), static_cast<double>(kHeight)});
  }
  painter.end();
  Background = picture;
  setFixedSize(kWidth, kHeight);
}

}  // namespace bvr
