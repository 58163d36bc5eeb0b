#include "report/ToUnicodeSpaces.h"

#include <algorithm>

namespace bvr {

namespace {
constexpr std::string_view kTab = "<0009>";
constexpr std::string_view kSpace = "<0020>";
constexpr std::string_view kBeginRange = "beginbfrange";
constexpr std::string_view kBeginChar = "beginbfchar";
constexpr std::string_view kEndRange = "endbfrange";
constexpr std::string_view kEndChar = "endbfchar";
}  // namespace

// One line of a map: "<from> <to> <code>" or "<from> <to> [<code> ...]" in a range section,
// "<glyph> <code>" in a char section. Only destinations change: a glyph numbered 9 stays.
void ToUnicodeSpaces::Rewrite(std::string& line) {
  if (section_ == Section::Range) {
    if (const std::size_t open = line.find('['); open != std::string::npos) {
      for (std::size_t at = line.find(kTab, open); at != std::string::npos;
           at = line.find(kTab, at + kTab.size())) {
        line.replace(at, kTab.size(), kSpace);
        ++replaced_;
      }
      return;
    }
    // A range of one glyph only: a longer one would send the next glyphs to U+000A on.
    const std::size_t last = line.rfind('<');
    if (last != std::string::npos && line.compare(last, kTab.size(), kTab) == 0 &&
        line.compare(0, 6, line, 7, 6) == 0) {
      line.replace(last, kTab.size(), kSpace);
      ++replaced_;
    }
    return;
  }
  const std::size_t last = line.rfind('<');
  if (last != std::string::npos && last > 0 && line.compare(last, kTab.size(), kTab) == 0) {
    line.replace(last, kTab.size(), kSpace);
    ++replaced_;
  }
}

std::string ToUnicodeSpaces::Feed(std::string_view bytes) {
  pending_.append(bytes);
  std::string out;
  std::size_t pos = 0;
  while (pos < pending_.size()) {
    if (section_ == Section::None) {
      const std::size_t range = pending_.find(kBeginRange, pos);
      const std::size_t chars = pending_.find(kBeginChar, pos);
      const std::size_t at = std::min(range, chars);
      if (at == std::string::npos) {
        // Hold back what could still begin a marker.
        const std::size_t keep = std::min(pending_.size() - pos, kBeginRange.size() - 1);
        out.append(pending_, pos, pending_.size() - pos - keep);
        pos = pending_.size() - keep;
        break;
      }
      section_ = at == range ? Section::Range : Section::Char;
      const std::size_t after = at + (at == range ? kBeginRange.size() : kBeginChar.size());
      out.append(pending_, pos, after - pos);
      pos = after;
      continue;
    }
    const std::size_t end = pending_.find('\n', pos);
    if (end == std::string::npos) {
      break;  // the line is not whole yet
    }
    std::string line = pending_.substr(pos, end + 1 - pos);
    if (line.starts_with(kEndRange) || line.starts_with(kEndChar)) {
      section_ = Section::None;
    } else {
      Rewrite(line);
    }
    out += line;
    pos = end + 1;
  }
  pending_.erase(0, pos);
  return out;
}

std::string ToUnicodeSpaces::Finish() {
  std::string out;
  out.swap(pending_);
  return out;
}

}  // namespace bvr
