#include "qrprint/BillLayout.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "qrprint/PaymentPartTexts.h"
#include "qrprint/PrintedForms.h"

namespace bvr::qr {

namespace {

constexpr double kMmPerPt = 25.4 / 72.0;
constexpr double kTitlePoints = 11;
constexpr double kTitleTop = 5;
constexpr double kPaymentLeft = 67;
constexpr double kAlternativePoints = 7;
constexpr double kAlternativeLine = 8 * kMmPerPt;
constexpr double kAlternativeTop = 90;
constexpr double kAlternativeWidth = 138;
constexpr double kAmountTop = 68;
constexpr double kReceiptAmountX = 18;
constexpr double kReceiptRight = 57;
constexpr double kReceiptAcceptanceTop = 82;
constexpr double kPaymentAmountX = 82;

struct Column {
  double x;
  double top;
  double width;
  double bottom;
};
constexpr Column kReceiptInfo{5, 12, 52, 68};
constexpr Column kPaymentInfo{118, 5, 87, 90};

struct BoxSize {
  double width;
  double height;
};
constexpr BoxSize kReceiptAmountBox{30, 10};
constexpr BoxSize kPaymentAmountBox{40, 15};
constexpr BoxSize kReceiptDebtorBox{52, 20};
constexpr BoxSize kPaymentDebtorBox{65, 25};

// A part's type: values from the recommended size down to the smallest, half a point at a
// time; headings and line spacing follow the value's size.
struct Scale {
  double largest;
  double smallest;
  double headingBelow;  // points; 0 on the receipt, whose headings stay at minHeading
  double minHeading;
  double lineFactor;  // line spacing over the value's size
  double Heading(double value) const {
    return headingBelow > 0 ? value - headingBelow : minHeading;
  }
  double LineMm(double value) const { return value * lineFactor * kMmPerPt; }
};
constexpr Scale kReceiptScale{8, 6, 0, 6, 9.0 / 8.0};
constexpr Scale kPaymentScale{10, 8, 2, 6, 11.0 / 10.0};
constexpr double kStep = 0.5;

enum class Role { Heading, Value, Name, Street, Information, Gap, Box };

struct Entry {
  Role role;
  std::string text;
  BoxSize box{0, 0};
};

// One fitting attempt: what the section may give up, least loss first.
struct Attempt {
  double value = 0;
  bool dropStreets = false;
  bool shortenInformation = false;
  int nameLines = 2;
  bool cutAtFoot = false;
};

struct Row {
  Role role;
  std::string text;
  double height;
  BoxSize box{0, 0};
};

// The lines of a name: at most `most`, the last one ending in "..." when that cuts it short.
std::vector<std::string> NameLines(const TextFitter& fitter, const std::string& name, double points,
                                   double width, int most, bool shorten) {
  std::vector<std::string> lines = fitter.Wrap(name, points, false, width);
  if (static_cast<int>(lines.size()) <= most || !shorten) {
    return lines;
  }
  std::size_t start = 0;
  for (int i = 0; i + 1 < most; ++i) {
    start += lines[static_cast<std::size_t>(i)].size();
    while (start < name.size() && name[start] == ' ') {
      ++start;
    }
  }
  lines.resize(static_cast<std::size_t>(most));
  lines.back() = fitter.Shorten(name.substr(start), points, false, width);
  return lines;
}

class SectionFitter {
 public:
  SectionFitter(const TextFitter& fitter, Column column, Scale scale)
      : fitter_(fitter), column_(column), scale_(scale) {}

  // The rows that hold in the column with this attempt, or none.
  std::optional<std::vector<Row>> Try(const std::vector<Entry>& entries,
                                      const Attempt& attempt) const {
    bool namesTooLong = false;
    std::vector<Row> rows = Rows(entries, attempt, namesTooLong);
    if (namesTooLong) {
      return std::nullopt;
    }
    double overflow = Height(rows) - (column_.bottom - column_.top);
    if (overflow <= 1e-9) {
      return rows;
    }
    if (attempt.shortenInformation && ShortenInformation(rows, overflow, attempt.value)) {
      return rows;
    }
    if (attempt.cutAtFoot) {
      CutAtFoot(rows, attempt.value);
      return rows;
    }
    return std::nullopt;
  }

 private:
  // namesTooLong: a name took more lines than the attempt allows.
  std::vector<Row> Rows(const std::vector<Entry>& entries, const Attempt& attempt,
                        bool& namesTooLong) const {
    const double line = scale_.LineMm(attempt.value);
    std::vector<Row> rows;
    for (const Entry& entry : entries) {
      switch (entry.role) {
        case Role::Heading:
          rows.push_back({entry.role, entry.text, line});
          break;
        case Role::Gap:
          rows.push_back({entry.role, "", line});
          break;
        case Role::Box:
          rows.push_back({entry.role, "", entry.box.height, entry.box});
          break;
        case Role::Street:
          if (attempt.dropStreets) {
            break;
          }
          [[fallthrough]];
        case Role::Value:
        case Role::Information:
          for (std::string& text : fitter_.Wrap(entry.text, attempt.value, false, column_.width)) {
            rows.push_back({entry.role, std::move(text), line});
          }
          break;
        case Role::Name: {
          std::vector<std::string> lines =
              NameLines(fitter_, entry.text, attempt.value, column_.width, attempt.nameLines,
                        attempt.cutAtFoot);
          namesTooLong |= static_cast<int>(lines.size()) > attempt.nameLines;
          for (std::string& text : lines) {
            rows.push_back({entry.role, std::move(text), line});
          }
          break;
        }
      }
    }
    return rows;
  }

  static double Height(const std::vector<Row>& rows) {
    double height = 0;
    for (const Row& row : rows) {
      height += row.height;
    }
    return height;
  }

  // Drops the additional information's last lines, keeping one at least; the last kept
  // ends in "...".
  bool ShortenInformation(std::vector<Row>& rows, double overflow, double value) const {
    const double line = scale_.LineMm(value);
    const auto drop = static_cast<std::ptrdiff_t>(std::ceil(overflow / line - 1e-9));
    const auto last = std::find_if(rows.rbegin(), rows.rend(),
                                   [](const Row& r) { return r.role == Role::Information; });
    if (last == rows.rend()) {
      return false;
    }
    const auto first = std::find_if(rows.begin(), rows.end(),
                                    [](const Row& r) { return r.role == Role::Information; });
    const std::ptrdiff_t count = last.base() - first;
    if (count <= drop) {
      return false;
    }
    rows.erase(last.base() - drop, last.base());
    Row& kept = *(last.base() - drop - 1);
    kept.text = fitter_.Shorten(kept.text + "...", value, false, column_.width);
    return true;
  }

  // Rows past the foot are cut; the last text kept ends in "...".
  void CutAtFoot(std::vector<Row>& rows, double value) const {
    const double room = column_.bottom - column_.top;
    while (!rows.empty() && (Height(rows) > room + 1e-9 || rows.back().role == Role::Gap ||
                             rows.back().role == Role::Heading)) {
      rows.pop_back();
    }
    if (!rows.empty() && rows.back().role != Role::Box) {
      rows.back().text = fitter_.Shorten(rows.back().text + "...", value, false, column_.width);
    }
  }

  const TextFitter& fitter_;
  Column column_;
  Scale scale_;
};

class Builder {
 public:
  Builder(const Bill& bill, const TextFitter& fitter)
      : bill_(bill), texts_(TextsFor(bill.language)), fitter_(fitter) {}

  BillLayout Build() {
    Title(5, texts_.receipt);
    layout_.receipt = Section(ReceiptEntries(), kReceiptInfo, kReceiptScale, false);
    Amount(5, kReceiptAmountX, kReceiptScale, kReceiptAmountBox, kReceiptRight);
    const double width = fitter_.WidthMm(texts_.acceptancePoint, kReceiptScale.minHeading, true);
    Text(kReceiptRight - width, kReceiptAcceptanceTop, kReceiptScale.minHeading, true,
         texts_.acceptancePoint);

    Title(kPaymentLeft, texts_.paymentPart);
    Amount(kPaymentLeft, kPaymentAmountX, kPaymentScale, kPaymentAmountBox, kPaymentAmountBoxRight);
    layout_.payment = Section(PaymentEntries(), kPaymentInfo, kPaymentScale, true);
    Alternatives();
    return std::move(layout_);
  }

 private:
  std::vector<Entry> ReceiptEntries() const {
    std::vector<Entry> entries;
    AccountAndReference(entries);
    Debtor(entries, kReceiptDebtorBox);
    return entries;
  }

  std::vector<Entry> PaymentEntries() const {
    std::vector<Entry> entries;
    AccountAndReference(entries);
    if (!bill_.message.empty() || !bill_.billing.empty()) {
      entries.push_back({Role::Heading, texts_.additionalInformation});
      entries.push_back({Role::Information, bill_.message});
      entries.push_back({Role::Information, bill_.billing});
      entries.push_back({Role::Gap, ""});
    }
    Debtor(entries, kPaymentDebtorBox);
    return entries;
  }

  void AccountAndReference(std::vector<Entry>& entries) const {
    entries.push_back({Role::Heading, texts_.account});
    entries.push_back({Role::Value, PrintedIban(bill_.account)});
    Address(entries, bill_.creditor);
    entries.push_back({Role::Gap, ""});
    if (bill_.referenceType != ReferenceType::NON) {
      entries.push_back({Role::Heading, texts_.reference});
      entries.push_back({Role::Value, PrintedReference(bill_.referenceType, bill_.reference)});
      entries.push_back({Role::Gap, ""});
    }
  }

  void Debtor(std::vector<Entry>& entries, BoxSize blank) const {
    if (bill_.debtor) {
      entries.push_back({Role::Heading, texts_.payableBy});
      Address(entries, *bill_.debtor);
    } else {
      entries.push_back({Role::Heading, texts_.payableByBlank});
      entries.push_back({Role::Box, "", blank});
    }
  }

  static void Address(std::vector<Entry>& entries, const qr::Address& address) {
    for (const AddressLine& line : AddressLines(address)) {
      const std::string field = line.field;
      const Role role = field == "name"     ? Role::Name
                        : field == "street" ? Role::Street
                                            : Role::Value;
      entries.push_back({role, line.text});
    }
  }

  // The attempts in order of loss, the first that holds is taken.
  static std::vector<Attempt> Attempts(const Scale& scale, bool payment) {
    std::vector<Attempt> attempts;
    for (double v = scale.largest; v >= scale.smallest - 1e-9; v -= kStep) {
      attempts.push_back({v});
    }
    if (!payment) {
      for (double v = scale.largest; v >= scale.smallest - 1e-9; v -= kStep) {
        attempts.push_back({v, true});
      }
    }
    attempts.push_back({scale.smallest, !payment, true});
    attempts.push_back({scale.smallest, !payment, true, 99});
    attempts.push_back({scale.smallest, !payment, true, 2, true});
    return attempts;
  }

  SectionFit Section(const std::vector<Entry>& entries, Column column, const Scale& scale,
                     bool payment) {
    const SectionFitter section(fitter_, column, scale);
    for (const Attempt& attempt : Attempts(scale, payment)) {
      if (std::optional<std::vector<Row>> rows = section.Try(entries, attempt)) {
        Place(*rows, column, scale, attempt.value);
        const bool shortened = std::any_of(rows->begin(), rows->end(), [](const Row& r) {
          return r.role == Role::Information && r.text.ends_with("...");
        });
        return {attempt.value, scale.Heading(attempt.value), attempt.dropStreets,
                attempt.shortenInformation && shortened,
                attempt.nameLines != 2 || attempt.cutAtFoot};
      }
    }
    return {};
  }

  void Place(const std::vector<Row>& rows, Column column, const Scale& scale, double value) {
    double y = column.top;
    for (const Row& row : rows) {
      if (row.role == Role::Box) {
        layout_.boxes.push_back({column.x, y, row.box.width, row.box.height});
      } else if (!row.text.empty()) {
        const bool heading = row.role == Role::Heading;
        Text(column.x, y, heading ? scale.Heading(value) : value, heading, row.text);
      }
      y += row.height;
    }
  }

  void Amount(double currencyX, double amountX, const Scale& scale, BoxSize blank, double right) {
    const double heading = scale.Heading(scale.largest);
    Text(currencyX, kAmountTop, heading, true, texts_.currency);
    Text(amountX, kAmountTop, heading, true, texts_.amount);
    const double valueTop = kAmountTop + scale.LineMm(scale.largest);
    Text(currencyX, valueTop, scale.largest, false, bill_.currency);
    if (bill_.amount.empty()) {
      layout_.boxes.push_back({right - blank.width, valueTop, blank.width, blank.height});
    } else {
      Text(amountX, valueTop, scale.largest, false, PrintedAmount(bill_.amount));
    }
  }

  // Each procedure on its line: its name up to the colon in bold, the rest regular, shortened
  // with "..." where the line ends.
  void Alternatives() {
    double y = kAlternativeTop;
    for (const std::string& text : bill_.alternatives) {
      const std::size_t colon = text.find(':');
      const std::string name = colon == std::string::npos ? "" : text.substr(0, colon + 1);
      const std::string shortName =
          fitter_.Shorten(name, kAlternativePoints, true, kAlternativeWidth);
      const double nameWidth = fitter_.WidthMm(shortName, kAlternativePoints, true);
      Text(kPaymentLeft, y, kAlternativePoints, true, shortName);
      std::string rest = text.substr(name.size());
      if (shortName != name) {
        rest.clear();
      }
      const double room = kAlternativeWidth - nameWidth;
      const std::string shortRest = fitter_.Shorten(rest, kAlternativePoints, false, room);
      Text(kPaymentLeft + nameWidth, y, kAlternativePoints, false, shortRest);
      layout_.alternativesShortened |= shortName != name || shortRest != rest;
      y += kAlternativeLine;
    }
  }

  void Title(double x, const char* text) { Text(x, kTitleTop, kTitlePoints, true, text); }

  void Text(double x, double y, double points, bool bold, const std::string& text) {
    if (!text.empty()) {
      layout_.texts.push_back({x, y, points, bold, text});
    }
  }

  const Bill& bill_;
  const PaymentPartTexts& texts_;
  const TextFitter& fitter_;
  BillLayout layout_;
};

}  // namespace

BillLayout LayOutBill(const Bill& bill, const TextFitter& fitter) {
  return Builder(bill, fitter).Build();
}

}  // namespace bvr::qr
