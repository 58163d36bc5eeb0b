#include "pdf/PdfSignature.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <set>
#include <vector>

namespace bvr::pdf {

namespace {

// Fields nest through /Kids; a loop in a broken file is walked once. The walk is bounded so
// that a hostile tree costs no more than a page of fields would.
constexpr std::size_t kMaxFields = 100'000;

bool AnySignedField(QPDFObjectHandle fields) {
  std::vector<QPDFObjectHandle> todo{fields};
  std::set<QPDFObjGen> seen;
  std::size_t visited = 0;
  while (!todo.empty() && visited++ < kMaxFields) {
    QPDFObjectHandle item = todo.back();
    todo.pop_back();
    if (item.isIndirect() && !seen.insert(item.getObjGen()).second) {
      continue;
    }
    if (item.isArray()) {
      for (int i = 0; i < item.getArrayNItems(); ++i) {
        todo.push_back(item.getArrayItem(i));
      }
      continue;
    }
    if (!item.isDictionary()) {
      continue;
    }
    if (item.getKey("/FT").isNameAndEquals("/Sig") && !item.getKey("/V").isNull()) {
      return true;
    }
    todo.push_back(item.getKey("/Kids"));
  }
  return false;
}

}  // namespace

bool IsSigned(QPDF& pdf) {
  QPDFObjectHandle root = pdf.getRoot();
  if (root.getKey("/Perms").isDictionary()) {
    return true;
  }
  QPDFObjectHandle form = root.getKey("/AcroForm");
  if (!form.isDictionary()) {
    return false;
  }
  QPDFObjectHandle flags = form.getKey("/SigFlags");
  if (flags.isInteger() && (flags.getIntValue() & 1) != 0) {
    return true;
  }
  return AnySignedField(form.getKey("/Fields"));
}

}  // namespace bvr::pdf
