// One problem of a bill: the field's JSON path and a French message, shown as
// "FIELD : message". A bill is checked whole, so problems travel in lists.
#pragma once

#include <string>
#include <vector>

#include "strings/BvrError.h"

namespace bvr::qr {

struct Problem {
  std::string field;  // "account", "creditor.name", "alternatives[1]", …
  std::string message;

  std::string Text() const { return field + " : " + message; }
  bool operator==(const Problem&) const = default;
};

using Problems = std::vector<Problem>;

// Every problem's text, one a line, without a line break after the last.
std::string JoinProblems(const Problems& problems);

// Raised when an operation needs a valid bill: the message lists every problem.
class EBillInvalid : public EBvrError {
 public:
  explicit EBillInvalid(Problems problems)
      : EBvrError(JoinProblems(problems)), problems_(std::move(problems)) {}
  const Problems& problems() const { return problems_; }

 private:
  Problems problems_;
};

}  // namespace bvr::qr
