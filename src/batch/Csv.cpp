#include "batch/Csv.h"

#include <cstdio>
#include <cstring>

#include "strings/BvrError.h"
#include "strings/Windows1252.h"

namespace bvr::csv {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
// How far the header line is looked into for its separator.
constexpr std::size_t kHeaderScan = kMaxFields * (kMaxFieldBytes + 3);

// Checks UTF-8 one byte at a time, so that a sequence may straddle two reads.
class Utf8Check {
 public:
  bool Take(unsigned char b) {
    if (need_ == 0) {
      if (b < 0x80) {
        return true;
      }
      if (b >= 0xC2 && b <= 0xDF) {
        Expect(1, 0x80, 0xBF);
      } else if (b == 0xE0) {
        Expect(2, 0xA0, 0xBF);  // no overlong form
      } else if (b == 0xED) {
        Expect(2, 0x80, 0x9F);  // no surrogate
      } else if (b >= 0xE1 && b <= 0xEF) {
        Expect(2, 0x80, 0xBF);
      } else if (b == 0xF0) {
        Expect(3, 0x90, 0xBF);
      } else if (b >= 0xF1 && b <= 0xF3) {
        Expect(3, 0x80, 0xBF);
      } else if (b == 0xF4) {
        Expect(3, 0x80, 0x8F);  // nothing beyond U+10FFFF
      } else {
        return false;
      }
      return true;
    }
    if (b < lo_ || b > hi_) {
      return false;
    }
    Expect(need_ - 1, 0x80, 0xBF);
    return true;
  }
  bool Complete() const { return need_ == 0; }

 private:
  void Expect(int need, unsigned char lo, unsigned char hi) {
    need_ = need;
    lo_ = lo;
    hi_ = hi;
  }
  int need_ = 0;
  unsigned char lo_ = 0x80;
  unsigned char hi_ = 0xBF;
};

std::string Hex(unsigned char b) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(b));
  return text;
}

}  // namespace

Source FromText(std::string_view text) {
  return [text, pos = std::size_t{0}](char* buffer, std::size_t size) mutable {
    const std::size_t n = std::min(size, text.size() - pos);
    std::memcpy(buffer, text.data() + pos, n);
    pos += n;
    return n;
  };
}

bool IsUtf8(const Source& source) {
  std::string chunk(kChunk, '\0');
  Utf8Check check;
  bool ok = true;
  // Read to the end even after a fault: the caller reads the same source again from the start.
  for (std::size_t n; (n = source(chunk.data(), chunk.size())) > 0;) {
    for (std::size_t i = 0; ok && i < n; ++i) {
      ok = check.Take(static_cast<unsigned char>(chunk[i]));
    }
  }
  return ok && check.Complete();
}

Reader::Reader(Source source, Encoding encoding)
    : source_(std::move(source)), encoding_(encoding) {}

int Reader::Peek() {
  if (pos_ == buffer_.size()) {
    if (ended_) {
      return -1;
    }
    buffer_.resize(kChunk);
    const std::size_t n = source_(buffer_.data(), buffer_.size());
    buffer_.resize(n);
    pos_ = 0;
    if (n == 0) {
      ended_ = true;
      return -1;
    }
  }
  return static_cast<unsigned char>(buffer_[pos_]);
}

int Reader::Get() {
  const int c = Peek();
  if (c >= 0) {
    ++pos_;
  }
  return c;
}

// The separator the header line uses most outside quotes; a comma when it uses none.
void Reader::DetectSeparator() {
  // Read ahead until the header line ends (or far enough), keeping everything read.
  std::size_t scanned = 0;
  bool quoted = false;
  std::size_t counts[3] = {0, 0, 0};
  const char candidates[3] = {',', ';', '\t'};
  for (;;) {
    if (scanned == buffer_.size()) {
      if (ended_ || scanned >= kHeaderScan) {
        break;
      }
      const std::size_t old = buffer_.size();
      buffer_.resize(old + kChunk);
      const std::size_t n = source_(buffer_.data() + old, kChunk);
      buffer_.resize(old + n);
      if (n == 0) {
        ended_ = true;
        break;
      }
      if (old == 0 && buffer_.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        pos_ = 3;  // the byte-order mark is no part of the first column's name
        scanned = 3;
      }
      continue;
    }
    const char c = buffer_[scanned++];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == '\n' || c == '\r')) {
      break;
    } else if (!quoted) {
      for (int k = 0; k < 3; ++k) {
        counts[k] += c == candidates[k] ? 1 : 0;
      }
    }
  }
  int best = 0;
  for (int k = 1; k < 3; ++k) {
    if (counts[k] > counts[best]) {
      best = k;
    }
  }
  separator_ = candidates[best];
}

std::string Reader::ColumnLabel(std::size_t index) const {
  if (index < labels_.size() && !labels_[index].empty()) {
    return labels_[index];
  }
  return std::to_string(index + 1);
}

void Reader::Fail(std::size_t column, const std::string& what) const {
  if (recordRow_ == 0) {
    throw EBvrError(Fmt("CSV header, column %d: %s").d(static_cast<long long>(column + 1)).s(what));
  }
  throw EBvrError(Fmt("row %d (line %d), column %s: %s")
                      .d(static_cast<long long>(recordRow_))
                      .d(static_cast<long long>(recordLine_))
                      .s(ColumnLabel(column))
                      .s(what));
}

void Reader::EndField(Record& record, std::string& raw) {
  const std::size_t column = record.fields.size();
  if (column >= kMaxFields) {
    Fail(column, Fmt("more than %d fields in a record").d(static_cast<long long>(kMaxFields)));
  }
  if (encoding_ == Encoding::Utf8) {
    Utf8Check check;
    for (char c : raw) {
      if (!check.Take(static_cast<unsigned char>(c))) {
        Fail(column, "byte " + Hex(static_cast<unsigned char>(c)) + " is not UTF-8");
      }
    }
    if (!check.Complete()) {
      Fail(column, "the field ends inside a UTF-8 sequence");
    }
    record.fields.push_back(std::move(raw));
  } else {
    std::string text;
    text.reserve(raw.size());
    for (char c : raw) {
      AppendUtf8(text, Windows1252ToUnicode(static_cast<std::uint8_t>(c)));
    }
    record.fields.push_back(std::move(text));
  }
  raw.clear();
}

bool Reader::Next(Record& record) {
  if (!started_) {
    started_ = true;
    DetectSeparator();
  }
  record.fields.clear();
  // Empty lines are no record.
  for (;;) {
    const int c = Peek();
    if (c < 0) {
      return false;
    }
    if (c != '\r' && c != '\n') {
      break;
    }
    Get();
    if (c == '\r' && Peek() == '\n') {
      Get();
    }
    ++line_;
  }
  recordRow_ = row_;
  recordLine_ = line_;
  record.row = row_;
  record.line = line_;
  std::string raw;
  bool started = false;  // the current field holds something (a quoted part included)
  const auto append = [&](int c) {
    if (c == 0) {
      Fail(record.fields.size(), "NUL byte (is this a text file?)");
    }
    if (raw.size() >= kMaxFieldBytes) {
      Fail(record.fields.size(),
           Fmt("field longer than %d bytes").d(static_cast<long long>(kMaxFieldBytes)));
    }
    raw += static_cast<char>(c);
  };
  const auto lineEnd = [&](int c) {
    if (c == '\r' && Peek() == '\n') {
      Get();
    }
    ++line_;
  };
  for (;;) {
    const int c = Get();
    if (c < 0) {
      EndField(record, raw);
      break;
    }
    if (c == separator_) {
      EndField(record, raw);
      started = false;
      continue;
    }
    if (c == '\r' || c == '\n') {
      lineEnd(c);
      EndField(record, raw);
      break;
    }
    if (c != '"') {
      append(c);
      started = true;
      continue;
    }
    if (started) {
      Fail(record.fields.size(),
           "a quote inside an unquoted field (quote the whole field and double the quote)");
    }
    // Quoted field: runs to the next lone quote.
    const std::size_t openLine = line_;
    for (;;) {
      const int q = Get();
      if (q < 0) {
        Fail(
            record.fields.size(),
            Fmt("the quote opened on line %d is never closed").d(static_cast<long long>(openLine)));
      }
      if (q == '"') {
        if (Peek() == '"') {
          Get();
          append('"');
          continue;
        }
        break;
      }
      if (q == '\r' || q == '\n') {
        append(q);
        if (q == '\r' && Peek() == '\n') {
          append(Get());
        }
        ++line_;
        continue;
      }
      append(q);
    }
    started = true;
    const int after = Peek();
    if (after >= 0 && after != separator_ && after != '\r' && after != '\n') {
      Fail(record.fields.size(), "text after the closing quote");
    }
  }
  ++row_;
  return true;
}

std::vector<Record> Parse(std::string_view text, Encoding encoding) {
  Reader reader(FromText(text), encoding);
  std::vector<Record> records;
  Record record;
  while (reader.Next(record)) {
    records.push_back(record);
  }
  return records;
}

}  // namespace bvr::csv
