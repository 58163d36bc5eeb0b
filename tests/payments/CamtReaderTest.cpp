#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "CamtBuilder.h"
#include "payments/CamtReader.h"
#include "strings/BvrError.h"

namespace bvr::pay {
namespace {

using test::CamtFile;
using test::CamtXml;
using test::EntryParts;
using test::Qrr;
using test::TxParts;

const std::string kRef1 = Qrr("21000000000313947143000901");
const std::string kRef2 = Qrr("00000000000000000000001234");

// A collective credit of 1692.22 made of two payments, each with its own QRR.
CamtFile Collective(int message, int version) {
  CamtFile c;
  c.message = message;
  c.version = version;
  EntryParts e;
  e.amount = "1692.22";
  e.entryReference = "CH44 3199 9123 0008 8901 2";  // the QR-IBAN the bills carried
  TxParts a;
  a.amount = "778.29";
  a.reference = kRef1;
  a.bankReference = "TX-1";
  TxParts b;
  b.amount = "913.93";
  b.reference = kRef2;
  b.debtor = "Hans Muster";
  b.bankReference = "TX-2";
  e.transactions = {a, b};
  c.entries = {e};
  return c;
}

TEST(CamtReader, BothMessagesInBothVersionsGiveEachTransactionOfACollectiveCredit) {
  for (int message : {53, 54}) {
    for (int version : {4, 8}) {
      SCOPED_TRACE(std::to_string(message) + "." + std::to_string(version));
      const std::vector<Transaction> all = ReadCamt(CamtXml(Collective(message, version)), "a.xml");
      ASSERT_EQ(all.size(), 2u);
      const Transaction& t = all[0];
      EXPECT_EQ(t.message, "camt.0" + std::to_string(message) + ".001.0" + std::to_string(version));
      EXPECT_EQ(t.file, "a.xml");
      EXPECT_EQ(t.messageId, "MSG-2026-03-02");
      EXPECT_EQ(t.statementId, "NTF-1");
      EXPECT_EQ(t.account, "CH5800791123000889012");
      EXPECT_EQ(t.qrIban, "CH4431999123000889012");
      EXPECT_EQ(t.status, "BOOK");
      EXPECT_TRUE(t.credit);
      EXPECT_FALSE(t.reversal);
      EXPECT_EQ(t.bookingDate, "2026-03-02");
      EXPECT_EQ(t.valueDate, "2026-03-02");
      EXPECT_EQ(t.entryAmount, "1692.22");
      EXPECT_EQ(t.entryBankReference, "20260302001");
      EXPECT_EQ(t.amount, "778.29");
      EXPECT_EQ(t.currency, "CHF");
      EXPECT_EQ(t.reference, kRef1);
      EXPECT_EQ(t.referenceType, "QRR");
      EXPECT_EQ(t.debtorName, "Pia Rutschmann");
      EXPECT_EQ(t.debtorAccount, "CH9300762011623852957");
      EXPECT_EQ(t.bankReference, "TX-1");
      EXPECT_EQ(t.instructedAmount, "778.29");
      EXPECT_EQ(t.remittance, std::vector<std::string>{"Rechnung 68"});
      EXPECT_EQ(all[1].amount, "913.93");
      EXPECT_EQ(all[1].reference, kRef2);
      EXPECT_EQ(all[1].debtorName, "Hans Muster");
      EXPECT_GT(all[1].line, t.line);
      EXPECT_EQ(all[1].entryLine, t.entryLine);
    }
  }
}

TEST(CamtReader, EntriesAndTheirTransactions) {
  struct Case {
    const char* name;
    EntryParts entry;
    std::vector<std::string> amounts;  // of the transactions read
    std::vector<std::string> references;
  };
  EntryParts bare;
  bare.amount = "80";
  bare.bookingDate = "<DtTm>2026-03-02T24:00:00+01:00</DtTm>";
  EntryParts spaced;
  spaced.amount = "209.7";
  spaced.transactions = {
      test::Tx("209.7", "CHF", "21 00000 00003 13947 14300 09017"),
      test::Tx("1.00", "CHF", "rf18 5390 0754 7034", "SCOR"),
      test::Tx("2.00", "CHF", " 00 00000 00000 00000 00000 12343", "ISR Reference")};
  EntryParts oneWithoutAmount;
  oneWithoutAmount.amount = "55.50";
  oneWithoutAmount.transactions = {test::Tx("", "CHF", kRef1)};
  EntryParts twoWithoutAmount;
  twoWithoutAmount.amount = "20.00";
  twoWithoutAmount.transactions = {test::Tx("", "CHF", kRef1), test::Tx("", "CHF", kRef2)};
  const Case cases[] = {
      {"an entry without TxDtls is one transaction", bare, {"80"}, {""}},
      {"references lose blanks and lower case",
       spaced,
       {"209.7", "1.00", "2.00"},
       {"210000000003139471430009017", "RF18539007547034", "000000000000000000000012343"}},
      {"the only transaction takes the entry's amount", oneWithoutAmount, {"55.50"}, {kRef1}},
      {"two transactions cannot share it", twoWithoutAmount, {"", ""}, {kRef1, kRef2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CamtFile camt;
    camt.entries = {c.entry};
    const std::vector<Transaction> all = ReadCamt(CamtXml(camt));
    ASSERT_EQ(all.size(), c.amounts.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
      EXPECT_EQ(all[i].amount, c.amounts[i]);
      EXPECT_EQ(all[i].reference, c.references[i]);
    }
  }
}

TEST(CamtReader, EntryFieldsOfReversalsPendingEntriesAndDateTimes) {
  CamtFile camt;
  camt.version = 4;
  camt.copyDuplicate = "DUPL";
  EntryParts e;
  e.amount = "10.00";
  e.credit = false;
  e.reversal = true;
  e.status = "PDNG";
  e.bookingDate = "<DtTm>2026-03-02T24:00:00+01:00</DtTm>";
  e.entryReference = "CH5800791123000889012";  // an ordinary IBAN is no QR-IBAN
  e.transactions = {test::Tx("10.00", "EUR", kRef1)};
  e.transactions[0].returnReason = "AC04";
  camt.entries = {e};
  const std::vector<Transaction> all = ReadCamt(CamtXml(camt));
  ASSERT_EQ(all.size(), 1u);
  EXPECT_FALSE(all[0].credit);
  EXPECT_EQ(all[0].amount, "10.00");
  EXPECT_TRUE(all[0].reversal);
  EXPECT_EQ(all[0].status, "PDNG");
  EXPECT_EQ(all[0].bookingDate, "2026-03-02T24:00:00+01:00");
  EXPECT_EQ(all[0].currency, "EUR");
  EXPECT_EQ(all[0].copyDuplicate, "DUPL");
  EXPECT_EQ(all[0].returnReason, "AC04");
  EXPECT_EQ(all[0].qrIban, "");
}

TEST(CamtReader, WhatBanksWriteAgainstTheSchemaIsRead) {
  CamtFile camt;
  EntryParts e;
  e.amount = "12.00";
  TxParts t = test::Tx("12.00", "CHF", kRef1);
  t.debtor = "";
  // No name, only address lines; an empty AdrTp; proprietary references; unknown elements.
  t.extra =
      "<RltdPties><Dbtr><PstlAdr><AdrTp/><AdrLine>Muster AG</AdrLine>"
      "<AdrLine>Bahnhofstrasse 1</AdrLine></PstlAdr></Dbtr></RltdPties>"
      "<Refs><Prtry><Tp>X</Tp><Ref>Y</Ref></Prtry></Refs><Zzz><![CDATA[<x>]]></Zzz>";
  e.transactions = {t};
  camt.entries = {e};
  std::string xml = CamtXml(camt);
  // Ustrd split over two elements.
  xml.replace(xml.find("</Strd>"), 7,
              "</Strd><Ustrd>Rechnung 68 vom</Ustrd><Ustrd>1. März</Ustrd>");
  const std::vector<Transaction> all = ReadCamt(xml);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].debtorName, "Muster AG");
  EXPECT_EQ(all[0].remittance,
            (std::vector<std::string>{"Rechnung 68", "Rechnung 68 vom", "1. März"}));
}

TEST(CamtReader, HostileAndBrokenFilesFailWithTheirLine) {
  const std::string head = "<?xml version=\"1.0\"?>\n";
  const std::string ns = "urn:iso:std:iso:20022:tech:xsd:camt.054.001.08";
  std::string laughs = head + "<!DOCTYPE Document [\n<!ENTITY a \"aaaaaaaaaa\">\n";
  for (char c = 'b'; c <= 'k'; ++c) {
    laughs += std::string("<!ENTITY ") + c + " \"" + std::string(10, '&') + "\">\n";
    std::string refs;
    for (int i = 0; i < 10; ++i) {
      refs += std::string("&") + static_cast<char>(c - 1) + ";";
    }
    laughs.replace(laughs.rfind(std::string(10, '&')), 10, refs);
  }
  laughs += "]>\n<Document xmlns=\"" + ns + "\">&k;</Document>\n";
  const std::string external = head +
                               "<!DOCTYPE Document [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n"
                               "<Document xmlns=\"" +
                               ns + "\">&x;</Document>\n";
  std::string deep = head + "<Document xmlns=\"" + ns + "\">\n<BkToCstmrDbtCdtNtfctn><Ntfctn>\n";
  for (int i = 0; i < 100000; ++i) {
    deep += "<a>";
  }
  const std::string badUtf8 = head + "<Document xmlns=\"" + ns + "\">\n<X>\xC3\x28</X></Document>";
  const std::string unclosed = head + "<Document xmlns=\"" + ns + "\">\n<X>\n</Y></Document>";
  const std::string other =
      head + "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.001.001.09\"/>";
  struct Case {
    const char* name;
    const std::string& xml;
    const char* start;  // of the message
    const char* says;
  };
  const Case cases[] = {
      // Refused by libxml2 while declared, or by the reader at the declaration.
      {"billion laughs", laughs, "f.xml: line ", "entit"},
      {"external entity", external, "f.xml: line ", "a document type declaration"},
      {"100,000 nested elements", deep, "f.xml: line 4: ", "Excessive depth"},
      {"invalid UTF-8", badUtf8, "f.xml: line 3: ", "Input is not proper UTF-8"},
      {"unclosed element", unclosed, "f.xml: line 4: ", "Opening and ending tag mismatch"},
      {"another message", other, "f.xml: line 2: ", "not a camt.053 or camt.054"},
      {"empty", std::string(), "f.xml: line ", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ReadCamt(c.xml, "f.xml");
      ADD_FAILURE() << "read without error";
    } catch (const EBvrError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.start, 0), 0u) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).find("root:"), std::string::npos) << e.what();
    }
  }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFreedMemoryHeldBack = true;  // AddressSanitizer quarantines what is freed
#else
constexpr bool kFreedMemoryHeldBack = false;
#endif

// Transactions generated as they are read, never held: what the reader keeps is one entry.
TEST(CamtReader, MemoryStaysFlatOverALongStream) {
  if (kFreedMemoryHeldBack) {
    GTEST_SKIP() << "peak memory means nothing under AddressSanitizer";
  }
  CamtFile camt;
  const std::string whole = CamtXml(camt);
  const std::string head = whole.substr(0, whole.find("</Ntfctn>"));
  const std::string tail = whole.substr(whole.find("</Ntfctn>"));
  EntryParts e;
  e.amount = "30.00";
  e.transactions = {test::Tx("10.00", "CHF", kRef1), test::Tx("20.00", "CHF", kRef2)};
  const std::string entry = test::EntryXml(camt, e) + "\n";
  constexpr std::size_t kEntries = 40000;  // about 60 MB
  std::size_t given = 0;
  std::size_t at = 0;
  std::string chunk = head;
  const auto source = [&](char* buffer, std::size_t size) -> std::size_t {
    if (at == chunk.size()) {
      if (given > kEntries) {
        return 0;
      }
      chunk = ++given <= kEntries ? entry : tail;
      at = 0;
    }
    const std::size_t n = std::min(size, chunk.size() - at);
    std::memcpy(buffer, chunk.data() + at, n);
    at += n;
    return n;
  };
  rusage before{};
  ::getrusage(RUSAGE_SELF, &before);
  CamtReader reader(source, "long.xml");
  std::size_t count = 0;
  for (Transaction t; reader.Next(t);) {
    ++count;
  }
  rusage after{};
  ::getrusage(RUSAGE_SELF, &after);
  EXPECT_EQ(count, 2 * kEntries);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024) << "KB more at the peak";
}

TEST(CamtReader, AFailingSourceFailsTheRead) {
  const auto source = [](char*, std::size_t) -> std::size_t {
    throw EBvrError("Cannot read \"x\": Input/output error");
  };
  EXPECT_THROW(
      {
        CamtReader reader(source, "x");
        Transaction t;
        reader.Next(t);
      },
      EBvrError);
}

// The parser is fed in chunks: a file handed over a few bytes at a time reads the same, escapes
// and CDATA sections included.
TEST(CamtReader, BytesInAnyPiecesReadTheSame) {
  std::string xml = CamtXml(Collective(54, 8));
  xml.replace(xml.find("Hans Muster"), 11, "<![CDATA[Hans]]> &amp; M&#xFC;ller &lt;AG&gt;");
  xml.replace(xml.find("Ccy=\"CHF\""), 9, "Ccy=\" CHF \"");
  const std::vector<Transaction> whole = ReadCamt(xml);
  ASSERT_EQ(whole.size(), 2u);
  EXPECT_EQ(whole[1].debtorName, "Hans & M\xC3\xBCller <AG>");
  EXPECT_EQ(whole[0].currency, "CHF");
  for (std::size_t piece : {1u, 3u, 7u, 100u}) {
    SCOPED_TRACE(piece);
    std::size_t at = 0;
    CamtReader reader(
        [&](char* buffer, std::size_t size) {
          const std::size_t n = std::min({size, piece, xml.size() - at});
          std::memcpy(buffer, xml.data() + at, n);
          at += n;
          return n;
        },
        "camt.xml");
    for (const Transaction& expected : whole) {
      Transaction t;
      ASSERT_TRUE(reader.Next(t));
      EXPECT_EQ(t.line, expected.line);
      EXPECT_EQ(t.entryLine, expected.entryLine);
      EXPECT_EQ(t.reference, expected.reference);
      EXPECT_EQ(t.amount, expected.amount);
      EXPECT_EQ(t.currency, expected.currency);
      EXPECT_EQ(t.debtorName, expected.debtorName);
      EXPECT_EQ(t.entryAmount, expected.entryAmount);
    }
    Transaction t;
    EXPECT_FALSE(reader.Next(t));
  }
}

// Transactions before a fault are handed out, then the fault; a text beyond libxml2's limit
// fails though no tree is built.
TEST(CamtReader, WhatComesBeforeAFaultIsReadThenTheFault) {
  const std::string xml = CamtXml(Collective(54, 8));
  const std::size_t cut = xml.find("</TxDtls>") + 9;
  const std::string broken = xml.substr(0, cut) + "\n<TxDtls></Ntry>";
  std::string huge = xml;
  huge.replace(huge.find("Hans Muster"), 11, std::string(10'000'001, 'x'));
  struct Case {
    const char* name;
    const std::string& xml;
    std::size_t before;
    const char* says;
  };
  const Case cases[] = {
      {"mismatched tag", broken, 1, "Opening and ending tag mismatch"},
      {"text of 10 MB", huge, 1, "a text of more than 10000000 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Transaction> read;
    try {
      std::size_t at = 0;
      CamtReader reader(
          [&](char* buffer, std::size_t size) {
            const std::size_t n = std::min(size, c.xml.size() - at);
            std::memcpy(buffer, c.xml.data() + at, n);
            at += n;
            return n;
          },
          "f.xml");
      Transaction t;
      while (reader.Next(t)) {
        read.push_back(t);
      }
      ADD_FAILURE() << "read without error";
    } catch (const EBvrError& e) {
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
    }
    EXPECT_EQ(read.size(), c.before);
  }
}

}  // namespace
}  // namespace bvr::pay
