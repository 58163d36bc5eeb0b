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
                      ReadCase{"inner_empty_line_skipped", "a\n\n\r\n1\n", {{"a"}, {"1"}}},
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
      {"a\n\"never closed\n",
       "row 1 (line 2), column 1: the quote opened on line 2 is never closed"},
      {"a\n\"x\"y,1\n", "row 1 (line 2), column 1: text after the closing quote"},
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

namespace bvr::csv {
namespace {

struct DialectCase {
  const char* name;
  std::string text;
  Encoding encoding;
  char separator;
  Rows expected;
};

class CsvDialects : public ::testing::TestWithParam<DialectCase> {};

TEST_P(CsvDialects, SeparatorAndEncodingAreTheFiles) {
  Reader reader(FromText(GetParam().text), GetParam().encoding);
  Rows rows;
  for (Record r; reader.Next(r);) {
    rows.push_back(r.fields);
  }
  EXPECT_EQ(reader.Separator(), GetParam().separator);
  EXPECT_EQ(rows, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Spreadsheets, CsvDialects,
    ::testing::Values(
        DialectCase{
            "semicolon", "a;b\r\n1,5;x,y\r\n", Encoding::Utf8, ';', {{"a", "b"}, {"1,5", "x,y"}}},
        DialectCase{"tab", "a\tb\n1;2\t3,4\n", Encoding::Utf8, '\t', {{"a", "b"}, {"1;2", "3,4"}}},
        DialectCase{"comma_in_quoted_header_name",
                    "\"a,b\";c\n1;2\n",
                    Encoding::Utf8,
                    ';',
                    {{"a,b", "c"}, {"1", "2"}}},
        DialectCase{"semicolons_quoted_in_comma_header",
                    "\"x;y;z\",b\n1,2\n",
                    Encoding::Utf8,
                    ',',
                    {{"x;y;z", "b"}, {"1", "2"}}},
        DialectCase{"one_column", "a\n1\n", Encoding::Utf8, ',', {{"a"}, {"1"}}},
        DialectCase{"bom_then_semicolon",
                    "\xEF\xBB\xBF"
                    "a;b\n1;2\n",
                    Encoding::Utf8,
                    ';',
                    {{"a", "b"}, {"1", "2"}}},
        DialectCase{"windows_1252",
                    "a;b\nM\xFCller;Zo\xEB \x80 \x9C\n",
                    Encoding::Windows1252,
                    ';',
                    {{"a", "b"}, {"M\xC3\xBCller", "Zo\xC3\xAB \xE2\x82\xAC \xC5\x93"}}}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

TEST(Csv, Utf8IsToldFromWindows1252) {
  const struct {
    std::string text;
    bool utf8;
  } cases[] = {
      {"", true},
      {"plain ascii\n", true},
      {"M\xC3\xBCller \xE2\x82\xAC \xF0\x9F\x98\x80", true},
      {"\xEF\xBB\xBF"
       "a",
       true},
      {"M\xFCller", false},                              // a Latin-1 byte alone
      {"\xC3", false},                                   // cut at the end
      {"\xC0\xAF", false},                               // overlong "/"
      {"\xED\xA0\x80", false},                           // surrogate
      {"\xF4\x90\x80\x80", false},                       // beyond U+10FFFF
      {"ok" + std::string(70000, 'x') + "\xE9", false},  // past the first read
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 20));
    EXPECT_EQ(IsUtf8(FromText(c.text)), c.utf8);
  }
}

TEST(Csv, FaultsNameRowLineAndColumn) {
  Reader labelled(FromText("a,b\n1,\"x\"\"\n"), Encoding::Utf8);
  Record r;
  ASSERT_TRUE(labelled.Next(r));
  labelled.SetColumnLabels({"first", "second"});
  try {
    labelled.Next(r);
    ADD_FAILURE() << "no error";
  } catch (const EBvrError& e) {
    EXPECT_EQ(std::string(e.what()),
              "row 1 (line 2), column second: the quote opened on line 2 is never closed");
  }
  const struct {
    std::string text;
    Encoding encoding;
    std::string message;
  } cases[] = {
      {"a,b\n1,x\"y\n", Encoding::Utf8,
       "row 1 (line 2), column 2: a quote inside an unquoted field"},
      {"a,\"b\" \n", Encoding::Utf8, "CSV header, column 2: text after the closing quote"},
      {"a,b\n1,2\n\"x\ny\nz\",w\"\n", Encoding::Utf8, "row 2 (line 3), column 2: a quote inside"},
      {"a,b\n\n\n1,2\n3,4\n\"5\n6\",\"x\x01\"\"\n", Encoding::Utf8,
       "row 3 (line 6), column 2: the quote opened on line 7 is never closed"},
      {std::string("a,b\n1,2\0003\n", 10), Encoding::Utf8, "row 1 (line 2), column 2: NUL byte"},
      {std::string("a,b\n1,\"\0\"\n", 10), Encoding::Windows1252,
       "row 1 (line 2), column 2: NUL byte"},
      {"a,b\n1,M\xFCller\n", Encoding::Utf8, "row 1 (line 2), column 2: byte 0xFC is not UTF-8"},
      {"a,b\n1,x\xC3\n", Encoding::Utf8, "row 1 (line 2), column 2: the field ends inside"},
      {"a\n" + std::string(kMaxFieldBytes + 1, 'x') + "\n", Encoding::Utf8,
       "row 1 (line 2), column 1: field longer than 1000 bytes"},
      {"a\n\"" + std::string(kMaxFieldBytes + 1, '\n') + "\"\n", Encoding::Utf8,
       "row 1 (line 2), column 1: field longer than 1000 bytes"},
      {std::string(kMaxFields, ',') + "\n", Encoding::Utf8,
       "CSV header, column 101: more than 100 fields in a record"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 30));
    std::string message = "(no failure)";
    try {
      Parse(c.text, c.encoding);
    } catch (const EBvrError& e) {
      message = e.what();
    }
    EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
  }
}

TEST(Csv, RecordsKnowTheirRowAndLineAcrossBlankLines) {
  const auto records = Parse("h\n\n\"two\r\nlines\"\r\rlast\n\n");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1].row, 1u);
  EXPECT_EQ(records[1].line, 3u);
  EXPECT_EQ(records[2].row, 2u);
  EXPECT_EQ(records[2].line, 6u);
}

}  // namespace
}  // namespace bvr::csv
