// bvrslip format FILE: the layout file as the application would save it after opening it
// (normalised spacing, escapes and line ends), on standard output, byte for byte.
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/Command.h"

namespace bvr::cli {

namespace {

int RunFormat(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  const Options options(args, {}, {});
  if (options.Positional().size() != 1 || options.Positional()[0].empty()) {
    throw UsageError("format takes one file");
  }
  const std::string text = LoadLayout(options.Positional()[0])->SaveToText();
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  return out ? kExitOk : kExitFailure;
}

const Registrar registrar{Command{
    .name = "format",
    .usage = "format FILE   writes the layout file as saving it would (to standard output)",
    .run = RunFormat,
}};

}  // namespace

}  // namespace bvr::cli
