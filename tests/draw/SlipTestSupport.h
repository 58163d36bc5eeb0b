// Drawing a slip onto a recording canvas whose units are the slip's own (tenths of a mm,
// origin at the slip's top-left corner), and picking the recorded calls apart. Text is
// measured at a fixed pitch, so no font engine is needed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "draw/QRPrinter.h"
#include "draw/RecordingCanvas.h"
#include "draw/SlipCanvas.h"
#include "draw/SlipDrawing.h"
#include "model/BvrProperties.h"
#include "model/DemoLayout.h"

namespace bvr::test {

struct Recorder {
  RecordingCanvas canvas;
  TQRPrinter printer{canvas, 1.0, 1.0};
  TSlipCanvas slip{printer, 0.0, 0.0};

  std::vector<CanvasOp> Texts() const {
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : canvas.Ops()) {
      if (op.kind == CanvasOp::Kind::Text || op.kind == CanvasOp::Kind::ClippedText) {
        out.push_back(op);
      }
    }
    return out;
  }
  // The characters drawn in the coding-line face, in order.
  std::vector<CanvasOp> CodingChars() const {
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : Texts()) {
      if (op.Font.Name == "OCR-B") {
        out.push_back(op);
      }
    }
    return out;
  }
  static std::string Joined(const std::vector<CanvasOp>& ops) {
    std::string s;
    for (const CanvasOp& op : ops) {
      s += op.Text;
    }
    return s;
  }
  // Clipped texts whose clip rectangle starts at that left edge.
  std::vector<CanvasOp> InCellsFrom(double left) const {
    std::vector<CanvasOp> out;
    for (const CanvasOp& op : Texts()) {
      if (op.kind == CanvasOp::Kind::ClippedText && op.Clip.Left == left) {
        out.push_back(op);
      }
    }
    return out;
  }
};

inline std::unique_ptr<TBvrProperties> DemoLayout() {
  auto layout = std::make_unique<TBvrProperties>();
  LoadDemonstrationLayout(*layout);
  return layout;
}

inline PaymentValues DemoPayment(double amount = 1000.0) {
  PaymentValues payment = DemonstrationPayment();
  payment.Amount = amount;
  return payment;
}

}  // namespace bvr::test
