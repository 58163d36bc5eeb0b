// bvrslip: the system's scriptable face. Every output of the library can be produced here
// without a display.
#include <algorithm>
#include <csignal>
#include <exception>
#include <iostream>

#include "cli/CliSupport.h"
#include "cli/Command.h"
#include "report/MemoryReuse.h"

namespace bvr::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

Registrar::Registrar(Command command) {
  Commands().push_back(std::move(command));
}

std::string UsageOf(const std::string& name) {
  for (const Command& c : Commands()) {
    if (c.name == name) {
      std::string text;
      std::size_t start = 0;
      while (start < c.usage.size()) {
        std::size_t end = c.usage.find('\n', start);
        if (end == std::string::npos) {
          end = c.usage.size();
        }
        text += "usage: bvrslip " + c.usage.substr(start, end - start) + "\n";
        start = end + 1;
      }
      return text;
    }
  }
  return {};
}

}  // namespace bvr::cli

int main(int argc, char** argv) {
  using namespace bvr::cli;
  // A file-size limit makes a write fail (and be reported) instead of killing the tool.
  std::signal(SIGXFSZ, SIG_IGN);
  bvr::KeepFreedMemoryForReuse();
  std::vector<Command>& commands = Commands();
  std::sort(commands.begin(), commands.end(),
            [](const Command& a, const Command& b) { return a.name < b.name; });
  const auto usage = [&](std::ostream& os) {
    for (const Command& c : commands) {
      os << UsageOf(c.name);
    }
  };
  if (argc < 2) {
    usage(std::cerr);
    return kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--version") {
    std::cout << "bvrslip " << BVR_VERSION << "\n";
    return kExitOk;
  }
  if (name == "--help" || name == "-h" || name == "help") {
    usage(std::cout);
    return kExitOk;
  }
  for (const Command& c : commands) {
    if (c.name == name) {
      const std::vector<std::string> args(argv + 2, argv + argc);
      // Also after a subcommand ("qr payload --help").
      if (std::find(args.begin(), args.end(), "--help") != args.end() ||
          (!args.empty() && args.back() == "-h")) {
        std::cout << UsageOf(name);
        return kExitOk;
      }
      // Commands throw: a usage error prints the command's usage, anything else its message.
      try {
        return c.run(args, std::cout, std::cerr);
      } catch (const UsageError& e) {
        std::cerr << "bvrslip " << name << ": " << e.what() << "\n" << UsageOf(name);
        return kExitUsage;
      } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return kExitFailure;
      }
    }
  }
  std::cerr << "bvrslip: unknown command '" << name << "'\n";
  usage(std::cerr);
  return kExitUsage;
}
