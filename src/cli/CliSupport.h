// Helpers shared by the tool's commands: option parsing and loading the layout to work on.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/BvrProperties.h"

namespace bvr::cli {

// The application's layout object is named so; the tool uses the same name so that what it
// writes is exactly what the application would save.
inline constexpr const char* kLayoutObjectName = "BVRPropertiesParams";

// A usage error: the command prints its usage and exits 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parsed "--name value", "--flag" and "-o value" options, plus positional arguments.
class Options {
 public:
  // valueOptions: options that take a value ("--invoice", "-o"); flagOptions: options that
  // do not. Repeatable value options keep every value in order. Anything else starting with
  // "-" is a usage error, but for a negative number ("-5,3"); after "--" every argument is
  // positional.
  Options(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
          const std::vector<std::string>& flagOptions);

  bool Has(const std::string& name) const;
  std::optional<std::string> Value(const std::string& name) const;
  std::vector<std::string> Values(const std::string& name) const;
  const std::vector<std::string>& Positional() const { return positional_; }

 private:
  std::map<std::string, std::vector<std::string>> values_;
  std::vector<std::string> positional_;
};

// The most bytes an input may hold. A layout is a few KB and a bill or a QR Code text at most a
// few thousand characters; a CSV is streamed, so only the time to print it bounds it (about
// two million ordinary rows).
inline constexpr std::size_t kMaxLayoutBytes = std::size_t{4} << 20;
inline constexpr std::size_t kMaxBillBytes = std::size_t{1} << 20;
inline constexpr std::size_t kMaxCsvBytes = std::size_t{256} << 20;

// A file given on the command line, read in pieces and never beyond maxBytes. "-" is standard
// input where allowStdin says so. Refuses (EBvrError) what is not a regular file (a device
// like /dev/zero, a FIFO, a folder, a socket) or is larger than maxBytes, naming the path:
// "Cannot read "PATH": it is a FIFO, not a regular file". A path that does not open fails with
// "Cannot open file "%s". %s" (path, system reason).
class InputFile {
 public:
  InputFile(const std::string& path, std::size_t maxBytes, bool allowStdin = false);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Up to size bytes into buffer, 0 at the end; fails past maxBytes or on a read error.
  std::size_t Read(char* buffer, std::size_t size);
  // Everything left, at most maxBytes in all.
  std::string ReadAll();
  // Back to the first byte, for a second pass (not on standard input).
  void Rewind();

 private:
  [[noreturn]] void Fail(const std::string& why) const;

  std::string path_;
  std::size_t maxBytes_;
  int fd_ = -1;
  bool stdin_ = false;
  std::size_t read_ = 0;
};

// A whole file as bytes, through InputFile.
std::string ReadFileBytes(const std::string& path, std::size_t maxBytes);

// A layout object named kLayoutObjectName holding the file's layout, or the demonstration
// layout when path is empty.
std::unique_ptr<TBvrProperties> LoadLayout(const std::string& path);

// Refuses (EBvrError) an output that is one of the inputs (the same file under any name, a
// link included) or that exists and is not a regular file (device, FIFO, socket, folder):
// replacing it would destroy it, or that is a symbolic link ResolveOutputPath refuses. Empty
// input paths are skipped.
void RefuseOutputOverInputs(const std::string& output, const std::vector<std::string>& inputs);

// The resolution of --dpi: a whole number from 36 to 600 (600 dpi is an A4 page of 139 MB in
// memory), written with digits only; anything else is a UsageError.
int DpiOption(const std::string& text);

// Parses an amount written with "." as the decimal separator; EBvrError when it is not one.
double ParseAmount(const std::string& text);

}  // namespace bvr::cli
