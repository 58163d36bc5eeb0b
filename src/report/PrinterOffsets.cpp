#include "report/PrinterOffsets.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QIODevice>
#include <QStandardPaths>
#include <QString>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

#include "report/AtomicFile.h"
#include "report/FileKind.h"
#include "strings/BvrError.h"
#include "strings/MessageText.h"

namespace bvr {

namespace {

// The most a hand-edited offsets file may hold.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;

std::string Trim(std::string_view s) {
  const std::size_t start = s.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) {
    return {};
  }
  return std::string(s.substr(start, s.find_last_not_of(" \t\r") - start + 1));
}

[[noreturn]] void CannotRead(const std::string& path, const std::string& why) {
  throw EBvrError(Fmt("Cannot read \"%s\": %s").s(path).s(why));
}

// The file's bytes; nullopt when it does not exist. Opened without waiting (a FIFO would wait
// for a writer for ever), then refused unless it is a regular file.
std::optional<std::string> ReadSettingsFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) {
      return std::nullopt;
    }
    CannotRead(path, std::strerror(errno));
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    CannotRead(path, std::strerror(errno));
  }
  if (!S_ISREG(st.st_mode)) {
    CannotRead(path, NotARegularFile(st.st_mode));
  }
  std::string text;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) {
      return text;
    }
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      CannotRead(path, std::strerror(errno));
    }
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > kMaxFileBytes) {
      CannotRead(path, "it is larger than 1 MiB");
    }
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// Keys are written as earlier versions wrote them: letters, digits, "-", "_" and "." as
// they are, any other byte as %XX; a "/" (no queue name holds one) as "_".
std::string EncodedKey(const std::string& queue) {
  static const char digits[] = "0123456789ABCDEF";
  std::string key;
  for (const char c : queue) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) != 0 || c == '-' || c == '_' || c == '.') {
      key += c;
    } else if (c == '/') {
      key += '_';
    } else {
      key += '%';
      key += digits[u >> 4];
      key += digits[u & 15];
    }
  }
  return key;
}

std::string DecodedKey(const std::string& key) {
  std::string name;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (key[i] == '%' && i + 2 < key.size() && HexDigit(key[i + 1]) >= 0 &&
        HexDigit(key[i + 2]) >= 0) {
      name += static_cast<char>(HexDigit(key[i + 1]) * 16 + HexDigit(key[i + 2]));
      i += 2;
    } else {
      name += key[i];
    }
  }
  return name;
}

bool SameQueue(const std::string& key, const std::string& queue) {
  std::string name = queue;
  for (char& c : name) {
    c = c == '/' ? '_' : c;
  }
  // CUPS compares queue names without regard to ASCII letter case.
  const std::string decoded = DecodedKey(key);
  return decoded.size() == name.size() &&
         ::strncasecmp(decoded.c_str(), name.c_str(), name.size()) == 0;
}

// "[offsets]", blanks and letter case aside; nullopt for a line that opens no group.
std::optional<bool> OpensOffsets(const std::string& trimmed) {
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') {
    return std::nullopt;
  }
  return ::strcasecmp(Trim(trimmed.substr(1, trimmed.size() - 2)).c_str(), "offsets") == 0;
}

// One line of the file, as written, and what it says.
struct Line {
  explicit Line(std::string written) : text(std::move(written)) {}
  std::string text;     // without its line end
  bool offset = false;  // a key=value line of the [offsets] section
  std::string key;
  std::string value;
};

struct SettingsFile {
  std::vector<Line> lines;
  bool hasSection = false;
};

SettingsFile Parse(const std::string& text) {
  SettingsFile file;
  bool inOffsets = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = std::min(end, text.size());
    Line line(text.substr(start, end - start));
    start = end + 1;
    const std::string trimmed = Trim(line.text);
    if (const std::optional<bool> group = OpensOffsets(trimmed)) {
      inOffsets = *group;
      file.hasSection = file.hasSection || inOffsets;
    } else if (inOffsets && !trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#' &&
               trimmed.find('=') != std::string::npos) {
      line.offset = true;
      line.key = Trim(trimmed.substr(0, trimmed.find('=')));
      line.value = Trim(trimmed.substr(trimmed.find('=') + 1));
    }
    file.lines.push_back(std::move(line));
  }
  return file;
}

// An integer of at most 19 characters: anything longer is out of range anyway.
bool Integer(const std::string& text, long long& value) {
  const std::string t = Trim(text);
  const char* begin = t.data() + (t.size() > 1 && t[0] == '+' ? 1 : 0);
  const char* end = t.data() + t.size();
  if (begin == end || end - begin > 19) {
    return false;
  }
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr == end;
}

// The offset a value says, or the reason it says none.
PrinterOffset OffsetOfValue(const std::string& written, const std::string& where) {
  std::string value = written;
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  const std::size_t comma = value.find(',');
  long long dx = 0;
  long long dy = 0;
  const std::string echo = EscapedForMessage(written, 60);
  if (comma == std::string::npos || !Integer(value.substr(0, comma), dx) ||
      !Integer(value.substr(comma + 1), dy)) {
    throw EBvrError(Fmt("%s: \"%s\" is not DX,DY in whole tenths of a millimetre, e.g. 15,-5")
                        .s(where)
                        .s(echo));
  }
  if (!InPrinterOffsetRange(dx, dy)) {
    throw EBvrError(Fmt("%s: \"%s\" is out of range: offsets lie between -%d and %d tenths of a "
                        "millimetre")
                        .s(where)
                        .s(echo)
                        .d(kMaxPrinterOffset)
                        .d(kMaxPrinterOffset));
  }
  return {static_cast<int>(dx), static_cast<int>(dy)};
}

// The queue's offset in the file; the last of its lines counts, as in any INI reader.
std::optional<PrinterOffset> OffsetIn(const SettingsFile& file, const std::string& path,
                                      const std::string& queue) {
  std::optional<PrinterOffset> offset;
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    const Line& line = file.lines[i];
    if (line.offset && SameQueue(line.key, queue)) {
      const std::string where =
          Fmt("\"%s\", line %d").s(path).d(static_cast<long long>(i + 1)).str();
      offset = OffsetOfValue(line.value, where);
    }
  }
  return offset;
}

std::string TextWith(SettingsFile file, const std::string& queue, PrinterOffset offset) {
  const std::string entry = EncodedKey(queue) + "=\"" + std::to_string(offset.dx) + "," +
                            std::to_string(offset.dy) + "\"";
  bool stored = false;
  std::vector<Line> kept;
  std::size_t sectionEnd = 0;  // after the last line of the [offsets] section
  bool inOffsets = false;
  for (Line& line : file.lines) {
    if (line.offset && SameQueue(line.key, queue)) {
      if (!stored) {  // replaced in place; the queue's other lines (other case) go
        kept.emplace_back(entry);
        stored = true;
        sectionEnd = kept.size();
      }
      continue;
    }
    if (const std::optional<bool> group = OpensOffsets(Trim(line.text))) {
      inOffsets = *group;
      if (inOffsets) {
        sectionEnd = kept.size() + 1;
      }
    } else if (inOffsets && line.offset) {
      sectionEnd = kept.size() + 1;
    }
    kept.push_back(std::move(line));
  }
  if (!stored) {
    if (!file.hasSection) {
      kept.emplace_back("[offsets]");
      sectionEnd = kept.size();
    }
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(sectionEnd), Line(entry));
  }
  std::string text;
  for (const Line& line : kept) {
    text += line.text + "\n";
  }
  return text;
}

// An exclusive lock on PATH.lock, for the read-change-write of a store. Waits at most
// kOffsetsLockWaitMs; refuses a link or anything but a regular file there.
class SettingsLock {
 public:
  explicit SettingsLock(const std::string& path) : path_(path + ".lock") {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                 0600);
    if (fd_ < 0) {
      Fail(errno == ELOOP ? std::string("it is a symbolic link") : std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
      Fail(std::strerror(errno));
    }
    if (!S_ISREG(st.st_mode)) {
      Fail(NotARegularFile(st.st_mode));
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kOffsetsLockWaitMs);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) {
        Fail(std::strerror(errno));
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        Fail(Fmt("another process has held it for %d s").d(kOffsetsLockWaitMs / 1000));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~SettingsLock() {
    if (fd_ >= 0) {
      ::close(fd_);  // releases the lock
    }
  }
  SettingsLock(const SettingsLock&) = delete;
  SettingsLock& operator=(const SettingsLock&) = delete;

 private:
  [[noreturn]] void Fail(const std::string& why) {
    if (fd_ >= 0) {
      ::close(fd_);
      fd_ = -1;
    }
    throw EBvrError(Fmt("Cannot lock \"%s\": %s").s(path_).s(why));
  }

  std::string path_;
  int fd_ = -1;
};

}  // namespace

bool InPrinterOffsetRange(long long dx, long long dy) {
  const auto in = [](long long v) { return v >= -kMaxPrinterOffset && v <= kMaxPrinterOffset; };
  return in(dx) && in(dy);
}

std::string PrinterSettingsPath() {
  // Where earlier versions kept it (Qt's settings folder), found without reading the file.
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
         "/bvrslip/printers.ini";
}

PrinterOffset StoredPrinterOffset(const std::string& queue) {
  const std::string path = PrinterSettingsPath();
  const std::optional<std::string> text = ReadSettingsFile(path);
  if (!text) {
    return {};
  }
  return OffsetIn(Parse(*text), path, queue).value_or(PrinterOffset{});
}

void StorePrinterOffset(const std::string& queue, PrinterOffset offset) {
  const std::string path = PrinterSettingsPath();
  if (!InPrinterOffsetRange(offset.dx, offset.dy)) {
    throw EBvrError(Fmt("Refusing to store %d,%d for \"%s\": offsets lie between -%d and %d "
                        "tenths of a millimetre")
                        .d(offset.dx)
                        .d(offset.dy)
                        .s(EscapedForMessage(queue))
                        .d(kMaxPrinterOffset)
                        .d(kMaxPrinterOffset));
  }
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    throw EBvrError(Fmt("Cannot write \"%s\": %s").s(path).s(error.message()));
  }
  ResolveOutputPath(path);  // an unsafe link is refused before it is read
  const SettingsLock lock(path);
  const std::optional<std::string> old = ReadSettingsFile(path);
  const std::string text = TextWith(Parse(old.value_or("")), queue, offset);
  WriteFileAtomically(QString::fromStdString(path),
                      [&text](QIODevice& file) { file.write(text.data(), qint64(text.size())); });
}

}  // namespace bvr
