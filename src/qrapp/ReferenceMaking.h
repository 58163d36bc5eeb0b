// The reference of the window's bill: none, typed, or made from an invoice number, as a
// creditor reference (RF…) or as the QR reference of a slip layout's reference scheme (as
// `bvrslip qr reference` makes them).
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "numbers/VYKBVRFunctions.h"
#include "qrbill/Problem.h"

namespace bvr {

enum class ReferenceKind { None, Creditor, QrFromLayout, Typed };

struct MadeReference {
  std::string reference;
  std::optional<qr::Problem> problem;  // of the field "invoice": the number that makes none
};

MadeReference MakeReference(ReferenceKind kind, const std::string& invoice,
                            const ReferenceLayout& scheme, const std::string& typed);

// The reference scheme of a .BVR layout file; of the demonstration layout for an empty path.
// EBvrError for a file that does not read.
ReferenceLayout LayoutScheme(const QString& path);

}  // namespace bvr
