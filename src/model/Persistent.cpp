#include "model/Persistent.h"

#include "strings/BvrError.h"

namespace bvr {

bool PropInfo::IsStored(const TPersistent& owner) const {
  if (!stored) {
    return false;
  }
  switch (kind) {
    case PropKind::String:
      return storedWhenEmpty || !getString(owner).empty();
    case PropKind::StringList:
      return !getList(owner).empty();
    case PropKind::Object:
      return true;
    default:
      return !hasDefault || getOrdinal(owner) != defaultValue;
  }
}

void TPersistent::Assign(const TPersistent& source) {
  AssignError(source);
}

void TPersistent::AssignError(const TPersistent& source) const {
  throw EBvrError(Fmt("Cannot assign a %s to a %s")
                      .s(std::string(source.ClassName()))
                      .s(std::string(ClassName())));
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

const PropInfo* TPersistent::FindProperty(std::string_view name) const {
  for (const PropInfo& p : Properties()) {
    if (SameTextAscii(p.name, name)) {
      return &p;
    }
  }
  return nullptr;
}

}  // namespace bvr
