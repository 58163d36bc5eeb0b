// The payments of a batch, read from CSV: a header row naming the columns "invoice", "amount"
// and "payer1", "payer2", ... (in any order, any number of payer columns), one payment a row.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "batch/Csv.h"

namespace bvr {

class TBvrProperties;

struct Payment {
  std::size_t row = 0;   // data row, from 1 (the header is row 0)
  std::size_t line = 0;  // line of the CSV file where the row starts
  std::string invoice;
  double amount = 0.0;
  // The lines of payer1, payer2, ... in order, a field with line breaks giving several lines;
  // trailing empty lines dropped.
  std::vector<std::string> payer;
};

// The payments of a CSV source one at a time, so that a batch of any length reads in the same
// memory. Fails (EBvrError) at the first bad row with its row number, the line where it starts,
// the column and the library's message: "row 3 (line 4), column amount: 'x' is not a valid
// floating point value". A missing header column fails in the constructor.
class PaymentReader {
 public:
  PaymentReader(csv::Source source, csv::Encoding encoding);
  ~PaymentReader();
  PaymentReader(const PaymentReader&) = delete;
  PaymentReader& operator=(const PaymentReader&) = delete;

  // The next payment, false after the last one.
  bool Next(Payment& payment);
  char Separator() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Every payment of csvText, read as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise
// (or as encoding says).
std::vector<Payment> ReadPayments(std::string_view csvText);
std::vector<Payment> ReadPayments(std::string_view csvText, csv::Encoding encoding);

// Faults of the layout that would fail every row (no invoice digits in the reference, a
// participant or account number that cannot be coded): the library's message alone.
void CheckBatchLayout(const TBvrProperties& layout);

// Checks that one payment's slip can be printed with the layout (see CheckPayments); the layout
// itself should have passed CheckBatchLayout.
void CheckPayment(const Payment& payment, const TBvrProperties& layout);

// Checks that each payment's slip can be printed with the layout: invoice digits, amount within
// the slip's range, coding line buildable with the layout's account number. Fails like
// ReadPayments. noAmount: the layout prints no amount, so amounts are not examined.
void CheckPayments(const std::vector<Payment>& payments, const TBvrProperties& layout);

}  // namespace bvr
