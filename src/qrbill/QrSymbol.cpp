#include "qrbill/QrSymbol.h"

#include <qrcodegen.hpp>

#include "qrbill/Payload.h"
#include "strings/BvrError.h"

namespace bvr::qr {

SquareMm QrSymbol::SwissCross() {
  const double offset = (kSymbolSideMm - kSwissCrossSideMm) / 2;
  return {offset, offset, kSwissCrossSideMm};
}

QrSymbol MakeQrSymbol(const std::string& payload) {
  if (payload.size() > kPayloadBytesMax) {
    throw EBvrError(Fmt("Texte du code QR trop long : %d octets, %d au plus")
                        .d(static_cast<long long>(payload.size()))
                        .d(static_cast<long long>(kPayloadBytesMax)));
  }
  const std::vector<std::uint8_t> bytes(payload.begin(), payload.end());
  using qrcodegen::QrCode;
  const QrCode code =
      QrCode::encodeSegments({qrcodegen::QrSegment::makeBytes(bytes)}, QrCode::Ecc::MEDIUM,
                             QrCode::MIN_VERSION, kSymbolVersionMax, -1, /*boostEcl=*/false);
  const int size = code.getSize();
  std::vector<bool> dark(static_cast<std::size_t>(size * size));
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      dark[static_cast<std::size_t>(y * size + x)] = code.getModule(x, y);
    }
  }
  return QrSymbol(code.getVersion(), size, std::move(dark));
}

}  // namespace bvr::qr
