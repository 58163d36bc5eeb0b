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
  // "-" is a usage error.
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

// Reads a whole file as bytes. Fails with "Cannot open file "%s". %s" (path, system reason).
std::string ReadFileBytes(const std::string& path);

// A layout object named kLayoutObjectName holding the file's layout, or the demonstration
// layout when path is empty.
std::unique_ptr<TBvrProperties> LoadLayout(const std::string& path);

// Refuses (EBvrError) an output that is one of the inputs (the same file under any name, a
// link included) or that exists and is not a regular file (device, FIFO, socket, folder):
// replacing it would destroy it. Empty input paths are skipped.
void RefuseOutputOverInputs(const std::string& output, const std::vector<std::string>& inputs);

// Parses an amount written with "." as the decimal separator; EBvrError when it is not one.
double ParseAmount(const std::string& text);

}  // namespace bvr::cli
