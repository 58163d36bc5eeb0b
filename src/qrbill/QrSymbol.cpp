#include "qrbill/QrSymbol.h"

#include <qrencode.h>

#include <cerrno>
#include <cstring>
#include <memory>

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
  // Byte mode for the whole text (no ECI header, no mode switching), level M, version 0: the
  // smallest that holds it. The library picks the mask of lowest penalty, as the standard asks.
  const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
      QRcode_encodeData(static_cast<int>(payload.size()),
                        reinterpret_cast<const unsigned char*>(payload.data()), 0, QR_ECLEVEL_M),
      &QRcode_free);
  if (!code) {
    throw EBvrError(std::string("Code QR impossible à construire : ") + std::strerror(errno));
  }
  if (code->version > kSymbolVersionMax) {
    throw EBvrError(Fmt("Code QR de version %d, %d au plus").d(code->version).d(kSymbolVersionMax));
  }
  const int size = code->width;
  std::vector<bool> dark(static_cast<std::size_t>(size * size));
  for (std::size_t i = 0; i < dark.size(); ++i) {
    dark[i] = (code->data[i] & 1) != 0;  // bit 0: dark; the other bits say what the module is
  }
  return QrSymbol(code->version, size, std::move(dark));
}

}  // namespace bvr::qr
