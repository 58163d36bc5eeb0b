// The message of the library error a call raises, or a marker when it raises none: lets one
// table row hold either the expected result or the expected message.
#pragma once

#include <string>

#include "strings/BvrError.h"

namespace bvr::test {

inline constexpr const char* kNoFailure = "<no failure>";

template <class F>
std::string FailureOf(F&& call) {
  try {
    call();
  } catch (const EBvrError& e) {
    return e.what();
  }
  return kNoFailure;
}

}  // namespace bvr::test
