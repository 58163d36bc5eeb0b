#include "qrapp/ReferenceMaking.h"

#include "app/LayoutFiles.h"
#include "model/BvrProperties.h"
#include "model/DemoLayout.h"
#include "qrbill/References.h"
#include "strings/BvrError.h"

namespace bvr {

MadeReference MakeReference(ReferenceKind kind, const std::string& invoice,
                            const ReferenceLayout& scheme, const std::string& typed) {
  try {
    switch (kind) {
      case ReferenceKind::None:
        return {};
      case ReferenceKind::Typed:
        return {typed, std::nullopt};
      case ReferenceKind::Creditor:
        return {qr::CreateCreditorReference(invoice), std::nullopt};
      case ReferenceKind::QrFromLayout:
        if (invoice.empty()) {
          return {"", qr::Problem{"invoice", "obligatoire"}};
        }
        return {qr::QrReferenceFromLayout(scheme, invoice), std::nullopt};
    }
  } catch (const EBvrError& e) {
    return {"", qr::Problem{"invoice", e.what()}};
  }
  return {};
}

ReferenceLayout LayoutScheme(const QString& path) {
  TBvrProperties layout;
  layout.Name = "BVRPropertiesParams";
  if (path.isEmpty()) {
    LoadDemonstrationLayout(layout);
  } else {
    LoadLayoutAllOrNothing(layout, ReadLayoutFile(path));
  }
  return layout.Reference().number();
}

}  // namespace bvr
