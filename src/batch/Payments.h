// The payments of a batch, read from CSV: a header row naming the columns "invoice", "amount"
// and "payer1", "payer2", ... (in any order, any number of payer columns), one payment a row.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

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

// Reads and checks every row. Fails (EBvrError) at the first bad row with its row number, the
// column and the library's message: "row 3 (line 4), column amount: 'x' is not a valid floating
// point value". A missing header column fails before any row is read.
std::vector<Payment> ReadPayments(std::string_view csvText);

// Faults of the layout that would fail every row (no invoice digits in the reference, a
// participant or account number that cannot be coded): the library's message alone.
void CheckBatchLayout(const TBvrProperties& layout);

// Checks that each payment's slip can be printed with the layout: invoice digits, amount within
// the slip's range, coding line buildable with the layout's account number. Fails like
// ReadPayments. noAmount: the layout prints no amount, so amounts are not examined.
void CheckPayments(const std::vector<Payment>& payments, const TBvrProperties& layout);

}  // namespace bvr
