// The right-click menus of the designer's zones: one class per section of the slip, each
// instance editing that section's receipt or processing zone. Items write into the bound
// TBvrProperties (not owned) and push the result to the designer through UpdateShape.
#pragma once

#include <QMenu>
#include <cstdint>
#include <functional>

#include "model/BvrProperties.h"

class QAction;

namespace bvr {

enum TZoneSide : std::uint8_t { zsReceipt = 0, zsProcessing = 1 };

class TGeneralPopupMenu : public QMenu {
 public:
  // Picks a font: true and *chosen set when the user confirms.
  using FontSelector = std::function<bool(QWidget* parent, const QFont& initial, QFont* chosen)>;

  explicit TGeneralPopupMenu(QWidget* parent = nullptr);

  TZoneSide ZoneSide() const { return zoneSide_; }
  void SetZoneSide(TZoneSide side) { zoneSide_ = side; }
  TBvrProperties* Properties() const { return properties_; }
  void SetProperties(TBvrProperties* properties) { properties_ = properties; }

  // The toolkit's font dialog unless replaced (tests, embedding applications).
  void SetFontSelector(FontSelector selector) { fontSelector_ = std::move(selector); }

  // Runs each item's whole handler, dialog included, so that the designer can make it one
  // undo step; without one the handler simply runs.
  using ChangeRunner = std::function<void(const std::function<void()>& change)>;
  void SetChangeRunner(ChangeRunner runner) { changeRunner_ = std::move(runner); }

  // The menu's zone: of its section, Receipt for zsReceipt, else Processing.
  virtual std::int32_t GetZoneLeft() const = 0;
  virtual void SetZoneLeft(std::int32_t value) = 0;
  virtual std::int32_t GetZoneTop() const = 0;
  virtual void SetZoneTop(std::int32_t value) = 0;
  virtual std::int32_t GetZoneWidth() const = 0;
  virtual void SetZoneWidth(std::int32_t value) = 0;
  virtual std::int32_t GetZoneHeight() const = 0;
  virtual void SetZoneHeight(std::int32_t value) = 0;
  virtual bool GetZoneImprime() const = 0;
  // Stored directly: no change notification.
  virtual void SetZoneImprime(bool value) = 0;
  // The zone's own font, not a copy.
  virtual const TFont& GetZoneFont() const = 0;
  virtual void SetZoneFont(const TFont& value) = 0;
  // Pushes the zone to its designer rectangle.
  virtual void RefreshZone() {}

  // Before each pop-up: the print item's check mark shows the zone's print flag.
  void MenuPopup();
  void PrintItemClick();
  void CoordinatesItemClick();
  void FontItemClick();

  QAction* PrintItem() const { return printItem_; }

 protected:
  // A separator and the section's own item, at the end of the menu.
  QAction* AddSectionItem(const char* objectName, int captionId);
  // The window the item dialogs belong to: the designer view holding the menu (a hidden popup
  // makes a poor transient parent on some platforms), else the menu itself.
  QWidget* DialogParent() { return parentWidget() != nullptr ? parentWidget() : this; }
  // Connects an item to its handler, run through the change runner.
  void OnItem(QAction* item, std::function<void()> handler);

 private:
  TZoneSide zoneSide_ = zsReceipt;
  TBvrProperties* properties_ = nullptr;
  FontSelector fontSelector_;
  ChangeRunner changeRunner_;
  QAction* printItem_;
};

// The thirteen accessors for the zones of one section.
template <class Section>
class TSectionPopupMenu : public TGeneralPopupMenu {
 public:
  using TGeneralPopupMenu::TGeneralPopupMenu;

  std::int32_t GetZoneLeft() const override { return Zone().Left(); }
  void SetZoneLeft(std::int32_t value) override { Zone().SetLeft(value); }
  std::int32_t GetZoneTop() const override { return Zone().Top(); }
  void SetZoneTop(std::int32_t value) override { Zone().SetTop(value); }
  std::int32_t GetZoneWidth() const override { return Zone().Width(); }
  void SetZoneWidth(std::int32_t value) override { Zone().SetWidth(value); }
  std::int32_t GetZoneHeight() const override { return Zone().height(); }
  void SetZoneHeight(std::int32_t value) override { Zone().Setheight(value); }
  bool GetZoneImprime() const override { return Zone().Imprime; }
  void SetZoneImprime(bool value) override { Zone().Imprime = value; }
  const TFont& GetZoneFont() const override { return Zone().Font(); }
  void SetZoneFont(const TFont& value) override { Zone().SetFont(value); }
  void RefreshZone() override {
    TGeneralPopupMenu::RefreshZone();
    Zone().UpdateShape();
  }

 protected:
  virtual Section& TheSection() const = 0;
  auto& Zone() const {
    Section& section = TheSection();
    return ZoneSide() == zsReceipt ? section.Receipt() : section.Processing();
  }
};

// Creditor zones: adds "Texte...".
class TVersementPourPopupMenu : public TSectionPopupMenu<TVersementPour> {
 public:
  explicit TVersementPourPopupMenu(QWidget* parent = nullptr);
  void TextItemClick();

 protected:
  TVersementPour& TheSection() const override { return Properties()->PaymentFor(); }
};

// Payer zones: the three common items only.
class TVersementParPopupMenu : public TSectionPopupMenu<TVersementPar> {
 public:
  using TSectionPopupMenu::TSectionPopupMenu;

 protected:
  TVersementPar& TheSection() const override { return Properties()->PaymentBy(); }
};

// Account zones: adds "N° d'adhérent...".
class TComptePopupMenu : public TSectionPopupMenu<TCompte> {
 public:
  explicit TComptePopupMenu(QWidget* parent = nullptr);
  void AccountNumberItemClick();

 protected:
  TCompte& TheSection() const override { return Properties()->Account(); }
};

// Amount zones: adds "Zone décimale/Impression...".
class TMontantPopupMenu : public TSectionPopupMenu<TMontant> {
 public:
  explicit TMontantPopupMenu(QWidget* parent = nullptr);
  void DecimalZoneItemClick();

 protected:
  TMontant& TheSection() const override { return Properties()->Amount(); }
};

// Reference zones: adds "N° de référence...".
class TReferencePopupMenu : public TSectionPopupMenu<TReference> {
 public:
  explicit TReferencePopupMenu(QWidget* parent = nullptr);
  void ReferenceItemClick();

 protected:
  TReference& TheSection() const override { return Properties()->Reference(); }
};

}  // namespace bvr
