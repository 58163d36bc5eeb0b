#include "cli/CliSupport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "model/DemoLayout.h"
#include "model/LayoutFile.h"
#include "numbers/Conversions.h"
#include "report/AtomicFile.h"
#include "report/FileKind.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {
bool Contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}
}  // namespace

Options::Options(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                 const std::vector<std::string>& flagOptions) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!optionsEnded && a == "--") {
      optionsEnded = true;  // what follows is positional, "-name" included
      continue;
    }
    // No option starts with a digit: "-5,3" is a negative offset.
    const bool negativeNumber =
        a.size() > 1 && a[0] == '-' &&
        (std::isdigit(static_cast<unsigned char>(a[1])) != 0 || a[1] == '.');
    if (!optionsEnded && !negativeNumber && a.size() > 1 && a[0] == '-') {
      if (Contains(flagOptions, a)) {
        values_[a].push_back("");
      } else if (Contains(valueOptions, a)) {
        if (i + 1 >= args.size()) {
          throw UsageError("option " + a + " needs a value");
        }
        values_[a].push_back(args[++i]);
      } else {
        throw UsageError("unknown option " + a);
      }
    } else {
      positional_.push_back(a);
    }
  }
}

bool Options::Has(const std::string& name) const {
  return values_.count(name) != 0;
}

std::optional<std::string> Options::Value(const std::string& name) const {
  auto it = values_.find(name);
  if (it == values_.end()) {
    return std::nullopt;
  }
  return it->second.back();
}

std::vector<std::string> Options::Values(const std::string& name) const {
  auto it = values_.find(name);
  return it == values_.end() ? std::vector<std::string>{} : it->second;
}

namespace {

std::string MiB(std::size_t bytes) {
  return std::to_string(bytes >> 20) + " MiB";
}

}  // namespace

InputFile::InputFile(const std::string& path, std::size_t maxBytes, bool allowStdin)
    : path_(path), maxBytes_(maxBytes) {
  if (allowStdin && path == "-") {
    stdin_ = true;
    fd_ = 0;
    return;
  }
  // Looked at before opening: opening a FIFO would wait for a writer, a socket does not open.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    Fail(NotARegularFile(st.st_mode));
  }
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    throw EBvrError(Fmt("Cannot open file \"%s\". %s").s(path).s(std::strerror(errno)));
  }
  // The path may have been replaced since: what counts is what was opened.
  if (::fstat(fd_, &st) != 0) {
    Fail(std::strerror(errno));
  }
  if (!S_ISREG(st.st_mode)) {
    Fail(NotARegularFile(st.st_mode));
  }
  if (static_cast<std::uint64_t>(st.st_size) > maxBytes_) {
    Fail("it is larger than " + MiB(maxBytes_) + ", the most this input may hold");
  }
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
}

InputFile::~InputFile() {
  if (fd_ >= 0 && !stdin_) {
    ::close(fd_);
  }
}

void InputFile::Fail(const std::string& why) const {
  const std::string name = stdin_ ? std::string("standard input") : "\"" + path_ + "\"";
  throw EBvrError("Cannot read " + name + ": " + why);
}

std::size_t InputFile::Read(char* buffer, std::size_t size) {
  // One byte beyond the limit is asked for, so that a file that grew is noticed.
  const std::size_t room = maxBytes_ - read_ + 1;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, std::min(size, room));
    if (n >= 0) {
      read_ += static_cast<std::size_t>(n);
      if (read_ > maxBytes_) {
        Fail("it is larger than " + MiB(maxBytes_) + ", the most this input may hold");
      }
      return static_cast<std::size_t>(n);
    }
    if (errno != EINTR) {
      Fail(std::strerror(errno));
    }
  }
}

std::string InputFile::ReadAll() {
  std::string text;
  constexpr std::size_t kChunk = 64 * 1024;
  for (;;) {
    const std::size_t old = text.size();
    text.resize(old + kChunk);
    const std::size_t n = Read(text.data() + old, kChunk);
    text.resize(old + n);
    if (n == 0) {
      return text;
    }
  }
}

void InputFile::Rewind() {
  if (stdin_ || ::lseek(fd_, 0, SEEK_SET) != 0) {
    Fail("cannot read it a second time");
  }
  read_ = 0;
}

std::string ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  InputFile file(path, maxBytes);
  return file.ReadAll();
}

std::unique_ptr<TBvrProperties> LoadLayout(const std::string& path) {
  auto layout = std::make_unique<TBvrProperties>();
  layout->Name = kLayoutObjectName;
  if (path.empty()) {
    LoadDemonstrationLayout(*layout);
  } else {
    // Read under the tool's input limits, then loaded as the application loads a file.
    LoadLayoutAllOrNothing(*layout, WithCrLfLineEnds(ReadFileBytes(path, kMaxLayoutBytes)));
  }
  return layout;
}

void RefuseOutputOverInputs(const std::string& output, const std::vector<std::string>& inputs) {
  ResolveOutputPath(output);  // an unsafe link is refused before anything is read
  struct stat out {};
  if (::stat(output.c_str(), &out) != 0) {
    return;  // nothing there yet: nothing to destroy
  }
  if (!S_ISREG(out.st_mode)) {
    throw EBvrError(Fmt("Refusing to write \"%s\": it exists and is not a regular file").s(output));
  }
  for (const std::string& input : inputs) {
    struct stat in {};
    if (!input.empty() && ::stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev &&
        in.st_ino == out.st_ino) {
      throw EBvrError(
          Fmt("Refusing to write \"%s\": it is the input file \"%s\"").s(output).s(input));
    }
  }
}

int DpiOption(const std::string& text) {
  const bool digits =
      !text.empty() && text.size() <= 4 &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const int dpi = digits ? std::stoi(text) : 0;
  if (dpi < 36 || dpi > 600) {
    throw UsageError("--dpi must lie between 36 and 600");
  }
  return dpi;
}

double ParseAmount(const std::string& text) {
  return StrToFloat(text, '.');
}

}  // namespace bvr::cli
