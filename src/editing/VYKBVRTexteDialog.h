// The free text lines of a zone, edited in a memo that keeps Enter for new lines.
#pragma once

#include <string>
#include <vector>

#include "editing/VYKBVRDialog.h"

class QPlainTextEdit;

namespace bvr {

// The text form of a list of lines: every line followed by CR LF.
std::string LinesToText(const std::vector<std::string>& lines);
// The lines of a text, split at CR LF, LF or CR; a final line break starts no further line,
// so LinesToText and TextToLines are inverse.
std::vector<std::string> TextToLines(const std::string& text);

class TVYKTextDialog : public TVYKDialog {
 public:
  explicit TVYKTextDialog(QWidget* parent = nullptr);

  // The memo's whole text (UTF-8), lines separated by CR LF, no line break added at the end.
  // Lines wrapped on screen only are not split.
  std::string ZoneText() const;
  // Line breaks of any form become the memo's.
  void SetZoneText(const std::string& text);

 private:
  QPlainTextEdit* mainMemo_;
};

}  // namespace bvr
