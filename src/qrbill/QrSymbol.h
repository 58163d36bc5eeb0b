// The Swiss QR Code as a module matrix, with what a drawing needs to place it: printed
// 46 × 46 mm whatever its version, inside a 5 mm quiet zone, the Swiss cross (7 × 7 mm) on
// its centre. The cross is described here, not drawn into the modules.
#pragma once

#include <string>
#include <vector>

namespace bvr::qr {

inline constexpr double kSymbolSideMm = 46.0;
inline constexpr double kQuietZoneMm = 5.0;
inline constexpr double kSwissCrossSideMm = 7.0;
inline constexpr int kSymbolVersionMax = 25;

// A square in millimetres from the symbol's top-left corner (quiet zone excluded).
struct SquareMm {
  double left = 0;
  double top = 0;
  double side = 0;
};

class QrSymbol {
 public:
  QrSymbol(int version, int size, std::vector<bool> dark)
      : version_(version), size_(size), dark_(std::move(dark)) {}

  int Version() const { return version_; }
  int Size() const { return size_; }  // modules per side
  // x to the right, y downwards, from 0; true for a dark module.
  bool Dark(int x, int y) const { return dark_[static_cast<std::size_t>(y * size_ + x)]; }
  // Every module, row by row from the top left.
  const std::vector<bool>& Modules() const { return dark_; }
  double ModuleMm() const { return kSymbolSideMm / size_; }
  // Where the Swiss cross goes: the black square with the white cross, framed in white.
  static SquareMm SwissCross();

 private:
  int version_;
  int size_;
  std::vector<bool> dark_;
};

// The symbol of a QR Code text: byte mode without ECI header, error correction level M
// exactly (never raised), the smallest version that holds the text, 25 at most. Fails with
// EBvrError for a text of more than 997 bytes.
QrSymbol MakeQrSymbol(const std::string& payload);

}  // namespace bvr::qr
