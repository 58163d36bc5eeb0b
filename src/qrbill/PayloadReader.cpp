#include "qrbill/PayloadReader.h"

#include <string>
#include <vector>

#include "strings/BvrError.h"

namespace bvr::qr {

namespace {

constexpr std::size_t kLinesMin = 31;  // up to the trailer
constexpr std::size_t kLinesMax = 34;  // with billing information and two procedures

std::vector<std::string> SplitLines(std::string_view text) {
  if (!text.empty() && text.back() == '\n') {
    text.remove_suffix(text.size() >= 2 && text[text.size() - 2] == '\r' ? 2 : 1);
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    lines.emplace_back(line);
    if (end == std::string_view::npos) {
      return lines;
    }
    start = end + 1;
  }
}

class Frame {
 public:
  explicit Frame(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  // Line n, counted from 1.
  const std::string& At(std::size_t n) const { return lines_[n - 1]; }

  void Expect(std::size_t n, std::string_view value, const std::string& what) {
    if (At(n) != value) {
      Fault(n, what + " « " + std::string(value) + " » attendu");
    }
  }
  void ExpectEmpty(std::size_t first, std::size_t last, const std::string& what) {
    for (std::size_t n = first; n <= last; ++n) {
      if (!At(n).empty()) {
        Fault(n, what + " : ligne vide attendue");
      }
    }
  }
  void Fault(std::size_t n, const std::string& message) {
    faults_ += (faults_.empty() ? "" : "\n") + ("ligne " + std::to_string(n) + " : " + message);
  }
  const std::string& Faults() const { return faults_; }

 private:
  std::vector<std::string> lines_;
  std::string faults_;
};

constexpr std::size_t kCreditor = 5;
constexpr std::size_t kUltimateCreditor = 12;
constexpr std::size_t kAmount = 19;
constexpr std::size_t kCurrency = 20;
constexpr std::size_t kDebtor = 21;
constexpr std::size_t kReferenceType = 28;
constexpr std::size_t kTrailer = 31;

Address AddressAt(const Frame& frame, std::size_t typeLine) {
  return {frame.At(typeLine + 1), frame.At(typeLine + 2), frame.At(typeLine + 3),
          frame.At(typeLine + 4), frame.At(typeLine + 5), frame.At(typeLine + 6)};
}

bool HasTwoDecimals(const std::string& amount) {
  const std::size_t point = amount.find('.');
  return point != std::string::npos && point + 3 == amount.size();
}

void ReadDebtor(Frame& frame, Bill& bill) {
  if (frame.At(kDebtor) == "S") {
    bill.debtor = AddressAt(frame, kDebtor);
  } else if (frame.At(kDebtor).empty()) {
    frame.ExpectEmpty(kDebtor + 1, kDebtor + 6, "débiteur absent");
  } else {
    frame.Fault(kDebtor, "type d'adresse « S » ou ligne vide attendu");
  }
}

void ReadReference(Frame& frame, Bill& bill) {
  if (const std::optional<ReferenceType> type = ReferenceTypeFromCode(frame.At(kReferenceType))) {
    bill.referenceType = *type;
  } else {
    frame.Fault(kReferenceType, "type de référence QRR, SCOR ou NON attendu");
  }
  bill.reference = frame.At(kReferenceType + 1);
  bill.message = frame.At(kReferenceType + 2);
}

Bill ReadBill(Frame& frame, std::size_t lineCount) {
  Bill bill;
  frame.Expect(1, "SPC", "type");
  frame.Expect(2, "0200", "version");
  frame.Expect(3, "1", "codage");
  bill.account = frame.At(4);
  frame.Expect(kCreditor, "S", "type d'adresse du créancier");
  bill.creditor = AddressAt(frame, kCreditor);
  frame.ExpectEmpty(kUltimateCreditor, kUltimateCreditor + 6, "créancier final (réservé)");
  bill.amount = frame.At(kAmount);
  if (!bill.amount.empty() && !HasTwoDecimals(bill.amount)) {
    frame.Fault(kAmount, "montant à deux décimales attendu");
  }
  bill.currency = frame.At(kCurrency);
  ReadDebtor(frame, bill);
  ReadReference(frame, bill);
  frame.Expect(kTrailer, "EPD", "fin");
  if (lineCount > kTrailer) {
    bill.billing = frame.At(kTrailer + 1);
  }
  for (std::size_t n = kTrailer + 2; n <= lineCount; ++n) {
    bill.alternatives.push_back(frame.At(n));
  }
  return bill;
}

}  // namespace

Bill ParseQrPayload(std::string_view text) {
  std::vector<std::string> lines = SplitLines(text);
  const std::size_t count = lines.size();
  if (count < kLinesMin || count > kLinesMax) {
    throw EBvrError(Fmt("Texte du code QR : de 31 à 34 lignes attendues, %d lues")
                        .d(static_cast<long long>(count)));
  }
  Frame frame(std::move(lines));
  Bill bill = ReadBill(frame, count);
  if (!frame.Faults().empty()) {
    throw EBvrError(frame.Faults());
  }
  return bill;
}

}  // namespace bvr::qr
