// bvrslip check FILE: reads a layout file as the application opens one and says whether it
// loads; warns when printing would refuse the layout's account number.
#include <ostream>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "numbers/VYKBVRFunctions.h"
#include "strings/BvrError.h"

namespace bvr::cli {

namespace {

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const Options options(args, {}, {});
  if (options.Positional().size() != 1 || options.Positional()[0].empty()) {
    throw UsageError("check takes one file");
  }
  const std::unique_ptr<TBvrProperties> layout = LoadLayout(options.Positional()[0]);
  try {
    AccountToCodingForm(layout->Account().number());
  } catch (const EBvrError& e) {
    err << "warning: " << e.what() << "\n";
  }
  out << "ok\n";
  return kExitOk;
}

const Registrar registrar{Command{
    .name = "check",
    .usage = "check FILE    loads a layout file: 'ok', or the reason it does not load",
    .run = RunCheck,
}};

}  // namespace

}  // namespace bvr::cli
