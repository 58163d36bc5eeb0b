// The manual page (man/bvrslip.1) against the tool's own help: every command has its section,
// every option a command's help shows is documented there, and the page documents no option
// the command does not have.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"

namespace bvr::test {
namespace {

// The page as a reader sees its words: font changes and zero-width marks dropped, "\-" a
// hyphen.
std::string PageText() {
  const std::string raw = Slurp(std::string(BVR_SOURCE_DIR) + "/man/bvrslip.1");
  std::string text;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size()) {
      const char next = raw[i + 1];
      if (next == '-') {
        text += '-';
        ++i;
        continue;
      }
      if (next == '&') {
        ++i;
        continue;
      }
      if (next == 'f' && i + 2 < raw.size()) {
        i += 2;
        continue;
      }
    }
    text += raw[i];
  }
  return text;
}

// The lines from the heading line (".SS batch", ".SH OPTIONS") to the next heading.
std::string Section(const std::string& page, const std::string& heading) {
  std::istringstream lines(page);
  std::string line, body;
  bool inside = false;
  while (std::getline(lines, line)) {
    const bool isHeading = line.rfind(".SS ", 0) == 0 || line.rfind(".SH ", 0) == 0;
    if (isHeading) {
      inside = line == heading;
      continue;
    }
    if (inside) {
      body += line + "\n";
    }
  }
  return body;
}

// The subsection names under ".SH COMMANDS".
std::set<std::string> PageCommands(const std::string& page) {
  std::istringstream lines(page);
  std::string line;
  std::set<std::string> names;
  bool inCommands = false;
  while (std::getline(lines, line)) {
    if (line.rfind(".SH ", 0) == 0) {
      inCommands = line == ".SH COMMANDS";
    } else if (inCommands && line.rfind(".SS ", 0) == 0) {
      names.insert(line.substr(4));
    }
  }
  return names;
}

// Option words: "-o", "--no-amount"; not "utf-8", "OCR-B" or "27-digit".
std::set<std::string> OptionsIn(const std::string& text) {
  static const std::regex option(R"((^|[^A-Za-z0-9_-])(--?[a-z][a-z0-9-]*))");
  std::set<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
       it != std::sregex_iterator(); ++it) {
    found.insert((*it)[2].str());
  }
  return found;
}

// "usage: bvrslip qr payload --bill FILE ..." -> the words after the program name.
std::vector<std::vector<std::string>> UsageLines(const std::string& help) {
  std::vector<std::vector<std::string>> result;
  std::istringstream lines(help);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string usage, program, word;
    words >> usage >> program;
    if (usage != "usage:" || program != "bvrslip") {
      continue;
    }
    std::vector<std::string> rest;
    while (words >> word) {
      rest.push_back(word);
    }
    result.push_back(rest);
  }
  return result;
}

// Every command the tool has; a new command must be added here and to the page.
const char* const kCommands[] = {"batch",    "calibrate", "check",  "format",         "numbers",
                                 "printers", "qr",        "render", "printer-offset", "payments"};

using ManualPage = CliTest;

TEST_F(ManualPage, HasOneSectionPerCommandOfTheHelpAndNoOther) {
  const CliResult help = Run("--help");
  ASSERT_EQ(help.code, 0) << help.err;
  std::set<std::string> helpCommands;
  for (const std::vector<std::string>& words : UsageLines(help.out)) {
    ASSERT_FALSE(words.empty());
    helpCommands.insert(words.front());
  }
  EXPECT_EQ(helpCommands, std::set<std::string>(std::begin(kCommands), std::end(kCommands)));
  EXPECT_EQ(PageCommands(PageText()), helpCommands);
}

struct GlobalOption {
  const char* option;
  const char* outputStart;  // what standard output starts with
};

const GlobalOption kGlobalOptions[] = {
    {"--help", "usage: bvrslip "},
    {"-h", "usage: bvrslip "},
    {"--version", "bvrslip "},
};

TEST_F(ManualPage, DocumentsTheToolsOwnOptionsAndOnlyThose) {
  const std::string options = Section(PageText(), ".SH OPTIONS");
  std::set<std::string> expected;
  for (const GlobalOption& g : kGlobalOptions) {
    const CliResult run = Run(g.option);
    EXPECT_EQ(run.code, 0) << g.option;
    EXPECT_EQ(run.out.rfind(g.outputStart, 0), 0u) << g.option << ": " << run.out;
    expected.insert(g.option);
  }
  EXPECT_EQ(OptionsIn(options), expected);
}

class ManualPageCommand : public CliTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ManualPageCommand, DocumentsExactlyTheOptionsAndSubcommandsOfItsHelp) {
  const std::string command = GetParam();
  const CliResult help = Run(command + " --help");
  ASSERT_EQ(help.code, 0) << help.err;
  const std::vector<std::vector<std::string>> usage = UsageLines(help.out);
  ASSERT_FALSE(usage.empty()) << help.out;
  const std::string section = Section(PageText(), ".SS " + command);
  ASSERT_FALSE(section.empty()) << "no section .SS " << command;

  EXPECT_EQ(OptionsIn(section), OptionsIn(help.out)) << "page section:\n" << section;
  // "qr payload", "qr check": a lowercase word right after the command names a subcommand.
  static const std::regex subcommand("^[a-z]+$");
  for (const std::vector<std::string>& words : usage) {
    if (words.size() > 1 && std::regex_match(words[1], subcommand)) {
      EXPECT_NE(section.find(command + " " + words[1]), std::string::npos)
          << command << " " << words[1];
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, ManualPageCommand, ::testing::ValuesIn(kCommands));

}  // namespace
}  // namespace bvr::test
