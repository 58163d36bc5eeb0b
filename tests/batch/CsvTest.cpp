#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/Csv.h"
#include "strings/BvrError.h"

namespace bvr::csv {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows Fields(const std::vector<Record>& records) {
  Rows rows;
  for (const Record& r : records) {
    rows.push_back(r.fields);
  }
  return rows;
}

struct ReadCase {
  const char* name;
  std::string text;
  Rows expected;
};

class CsvReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(CsvReads, GivesTheFields) {
  EXPECT_EQ(Fields(Parse(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rfc4180, CsvReads,
    ::testing::Values(ReadCase{"plain", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}},
                      ReadCase{"crlf_and_no_final_break", "a,b\r\n1,2", {{"a", "b"}, {"1", "2"}}},
                      ReadCase{"quoted_comma", "a\n\"Dupont, Jean\"\n", {{"a"}, {"Dupont, Jean"}}},
                      ReadCase{"doubled_quote", "\"say \"\"hi\"\"\",x\n", {{"say \"hi\"", "x"}}},
                      ReadCase{"line_break_inside",
                               "\"Rue 1\r\n2000 Neuch\xC3\xA2tel\",9\n",
                               {{"Rue 1\r\n2000 Neuch\xC3\xA2tel", "9"}}},
                      ReadCase{"empty_fields", ",,\n", {{"", "", ""}}},
                      ReadCase{"empty_quoted", "\"\",a\n", {{"", "a"}}},
                      ReadCase{"bom_dropped", "\xEF\xBB\xBFinvoice\n1\n", {{"invoice"}, {"1"}}},
                      ReadCase{"trailing_empty_lines_dropped", "a\n1\n\n\r\n\n", {{"a"}, {"1"}}},
                      ReadCase{"inner_empty_line_kept", "a\n\n1\n", {{"a"}, {""}, {"1"}}},
                      ReadCase{"empty_input", "", {}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(Csv, RecordsKnowTheLineTheyStartOn) {
  const auto records = Parse("h\n\"two\nlines\"\nlast\n");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].line, 1u);
  EXPECT_EQ(records[1].line, 2u);
  EXPECT_EQ(records[2].line, 4u);
}

TEST(Csv, MalformedQuotingFailsWithTheLine) {
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"a\n\"never closed\n", "CSV line 2: quoted field never closed"},
      {"a\n\"x\"y,1\n", "CSV line 2: text after a closing quote"},
  };
  for (const auto& c : cases) {
    try {
      Parse(c.text);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const EBvrError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST(Csv, ALongInputParsesInOnePass) {
  std::string text = "invoice,amount\n";
  for (int i = 0; i < 20000; ++i) {
    text += std::to_string(i) + ",\"1,5\"\n";
  }
  const auto records = Parse(text);
  ASSERT_EQ(records.size(), 20001u);
  EXPECT_EQ(records.back().fields[1], "1,5");
}

}  // namespace
}  // namespace bvr::csv
