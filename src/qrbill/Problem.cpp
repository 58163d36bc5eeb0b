#include "qrbill/Problem.h"

namespace bvr::qr {

std::string JoinProblems(const Problems& problems) {
  std::string text;
  for (const Problem& p : problems) {
    if (!text.empty()) {
      text += '\n';
    }
    text += p.Text();
  }
  return text;
}

}  // namespace bvr::qr
