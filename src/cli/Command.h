// The command-line tool's commands. Each command lives in its own file and registers itself
// with a static Registrar, so adding a command touches no other file.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace bvr::cli {

// Exit codes: 0 success, 1 a failure of the library (message on stderr), 2 a usage error.
// A command throws UsageError or the library's errors; the tool's entry point reports them.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Command {
  std::string name;
  std::string usage;  // one or more lines, without the program name
  // args: the arguments after the command name.
  std::function<int(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)>
      run;
};

std::vector<Command>& Commands();

struct Registrar {
  explicit Registrar(Command command);
};

// Usage of one command, prefixed with the program name, for usage errors.
std::string UsageOf(const std::string& name);

}  // namespace bvr::cli
