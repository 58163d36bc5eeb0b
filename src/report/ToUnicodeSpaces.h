// Text copied from our PDFs must keep its spaces: the faces' character maps give the space
// glyph to U+0009 (a tab) as well, and Qt writes the first code it finds into each font's
// ToUnicode map, so MuPDF and any reader trusting the map copy "CH44\t3199". This filter, on
// the PDF's way to its file, maps every glyph that the ToUnicode maps send to U+0009 to U+0020
// instead, in as many bytes (no text we print holds a tab), so the file's offsets stay valid.
// Passed on in pieces like StreamReplace: a line of a map is held back until it is whole.
#pragma once

#include <string>
#include <string_view>

namespace bvr {

class ToUnicodeSpaces {
 public:
  // The bytes that may be passed on now.
  std::string Feed(std::string_view bytes);
  // The bytes still held back, at the end of the stream.
  std::string Finish();
  int Replaced() const { return replaced_; }

 private:
  void Rewrite(std::string& line);

  enum class Section { None, Range, Char };
  Section section_ = Section::None;
  std::string pending_;
  int replaced_ = 0;
};

}  // namespace bvr
