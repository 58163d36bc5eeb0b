// The symbol read back by an independent decoder (ZXing): the same bytes, level M, no
// version past 25; a text past 997 bytes is refused.
#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "qrbill/QrSymbol.h"
#include "strings/BvrError.h"

namespace bvr::qr {
namespace {

// Four pixels a module, four modules of quiet zone.
std::string Decode(const QrSymbol& symbol) {
  constexpr int kScale = 4, kQuiet = 4;
  const int side = (symbol.Size() + 2 * kQuiet) * kScale;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side * side), 255);
  for (int y = 0; y < symbol.Size(); ++y) {
    for (int x = 0; x < symbol.Size(); ++x) {
      for (int p = 0; symbol.Dark(x, y) && p < kScale * kScale; ++p) {
        const int py = (y + kQuiet) * kScale + p / kScale;
        const int px = (x + kQuiet) * kScale + p % kScale;
        pixels[static_cast<std::size_t>(py * side + px)] = 0;
      }
    }
  }
  const ZXing::Result r =
      ZXing::ReadBarcode({pixels.data(), side, side, ZXing::ImageFormat::Lum},
                         ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
  EXPECT_EQ(r.ecLevel(), "M");
  return std::string(r.bytes().begin(), r.bytes().end());
}

TEST(QrSymbolDecode, EverySizeUpTo997Bytes) {
  for (std::size_t size : {1u, 100u, 331u, 500u, 800u, 996u, 997u}) {
    std::string payload;
    for (std::size_t i = 0; i < size; ++i) {
      payload += static_cast<char>('A' + i % 26);
    }
    const QrSymbol symbol = MakeQrSymbol(payload);
    EXPECT_LE(symbol.Version(), 25);
    EXPECT_EQ(symbol.Size(), symbol.Version() * 4 + 17);
    EXPECT_EQ(Decode(symbol), payload) << size;
  }
  try {
    MakeQrSymbol(std::string(998, 'x'));
    ADD_FAILURE() << "998 bytes accepted";
  } catch (const EBvrError& e) {
    EXPECT_STREQ(e.what(), "Texte du code QR trop long : 998 octets, 997 au plus");
  }
}

}  // namespace
}  // namespace bvr::qr
