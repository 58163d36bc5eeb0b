#include "cli/CliSupport.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "model/DemoLayout.h"
#include "model/LayoutFile.h"
#include "numbers/Conversions.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {
bool Contains(const std::vector<std::string>& list, const std::string& s) {
  return std::find(list.begin(), list.end(), s) != list.end();
}
}  // namespace

Options::Options(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                 const std::vector<std::string>& flagOptions) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 1 && a[0] == '-') {
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

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw EBvrError(Fmt("Cannot open file \"%s\". %s").s(path).s(std::strerror(errno)));
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::unique_ptr<TBvrProperties> LoadLayout(const std::string& path) {
  auto layout = std::make_unique<TBvrProperties>();
  layout->Name = kLayoutObjectName;
  if (path.empty()) {
    LoadDemonstrationLayout(*layout);
  } else {
    LoadLayoutAllOrNothing(*layout, ReadLayoutFile(path));
  }
  return layout;
}

void RefuseOutputOverInputs(const std::string& output, const std::vector<std::string>& inputs) {
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

double ParseAmount(const std::string& text) {
  return StrToFloat(text, '.');
}

}  // namespace bvr::cli
