#include "payments/CamtReader.h"

#include <libxml/parser.h>
#include <libxml/xmlreader.h>

#include <cstring>
#include <deque>
#include <exception>
#include <limits>
#include <mutex>
#include <optional>
#include <string_view>

#include "payments/CamtPaths.h"
#include "payments/Reference.h"
#include "qrbill/Iban.h"
#include "qrbill/Mod97.h"
#include "strings/BvrError.h"

namespace bvr::pay {

namespace {

// A field longer than this is cut: no camt field is longer than 500 characters, and a cut
// keeps a hostile file's text nodes from growing memory.
constexpr std::size_t kMaxTextBytes = 4096;
// Remittance lines kept per transaction (3 AddtlRmtInf and a few Ustrd in real files).
constexpr std::size_t kMaxRemittanceLines = 32;

constexpr std::string_view kNamespacePrefix = "urn:iso:std:iso:20022:tech:xsd:";

// The messages read and the elements that hold their statements.
struct MessageKind {
  std::string_view message;  // "camt.054.001.08"
  std::string_view body;     // the root's one child
  std::string_view section;  // the repeated notification or statement
};

constexpr MessageKind kMessages[] = {
    {"camt.054.001.04", "BkToCstmrDbtCdtNtfctn", "Ntfctn"},
    {"camt.054.001.08", "BkToCstmrDbtCdtNtfctn", "Ntfctn"},
    {"camt.053.001.04", "BkToCstmrStmt", "Stmt"},
    {"camt.053.001.08", "BkToCstmrStmt", "Stmt"},
};

std::string_view View(const xmlChar* text) {
  return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

std::string Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!text.empty() && blank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && blank(text.back())) {
    text.remove_suffix(1);
  }
  return std::string(text);
}

std::string QrIbanOf(std::string_view entryReference) {
  const std::string compact = CompactReference(entryReference);
  if (compact.size() != qr::kIbanLength || qr::IbanProblem(compact) || !qr::IsQrIban(compact)) {
    return {};
  }
  return compact;
}

// Nothing is ever fetched: not a DTD, not an entity, not over the network or from a file.
xmlParserInputPtr RefuseExternal(const char*, const char*, xmlParserCtxtPtr) {
  return nullptr;
}

void RefuseExternalEntitiesOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    xmlSetExternalEntityLoader(RefuseExternal);
  });
}

struct ReaderDeleter {
  void operator()(xmlTextReader* reader) const { xmlFreeTextReader(reader); }
};

}  // namespace

struct CamtReader::State {
  ByteSource source;
  std::string name;
  std::unique_ptr<xmlTextReader, ReaderDeleter> reader;
  std::exception_ptr sourceFailure;
  std::optional<std::string> firstError;
  long long firstErrorLine = 0;
  bool ended = false;
  bool skipSubtree = false;

  const MessageKind* kind = nullptr;
  int depth = -1;  // of the element last opened: Document 0, its body 1, sections 2
  // The path tree's node of each open element from depth 2 on.
  std::vector<int> nodes;
  std::string text;
  std::string amountCurrency;

  Transaction fileAndEntry;  // what every transaction of the entry shares
  Transaction current;
  std::optional<Transaction> withoutAmount;  // waits to learn whether it is the entry's only one
  std::size_t entryTransactions = 0;
  std::deque<Transaction> ready;

  static int Read(void* context, char* buffer, int size) {
    auto* state = static_cast<State*>(context);
    try {
      return static_cast<int>(state->source(buffer, static_cast<std::size_t>(size)));
    } catch (...) {
      state->sourceFailure = std::current_exception();
      return -1;
    }
  }

  static void OnError(void* context, xmlErrorPtr error) {
    auto* state = static_cast<State*>(context);
    if (error && error->level >= XML_ERR_ERROR && !state->firstError) {
      state->firstError = Trimmed(error->message ? error->message : "not well-formed");
      state->firstErrorLine = error->line;
    }
  }

  [[noreturn]] void Fail(long long line, const std::string& what) const {
    throw EBvrError(Fmt("%s: line %d: %s").s(name).d(line).s(what), line);
  }

  // The line of the node read: where an element starts; for other nodes the parser's line.
  long long Line() const {
    const xmlNodePtr node = xmlTextReaderCurrentNode(reader.get());
    const long line = node && node->type == XML_ELEMENT_NODE ? xmlGetLineNo(node) : -1;
    return line > 0 ? line : xmlTextReaderGetParserLineNumber(reader.get());
  }

  // One node of the stream; false at the end.
  bool Step() {
    // Next passes over the subtree of an element nothing is kept of, node by node inside
    // libxml2 (so it is still checked), without handing each node out.
    const int result =
        skipSubtree ? xmlTextReaderNext(reader.get()) : xmlTextReaderRead(reader.get());
    skipSubtree = false;
    if (sourceFailure) {
      std::rethrow_exception(sourceFailure);
    }
    if (result < 0 || firstError) {
      Fail(firstError ? firstErrorLine : Line(), firstError.value_or("not well-formed XML"));
    }
    if (result == 0) {
      if (!kind) {
        Fail(Line(), "no camt.053 or camt.054 message in it");
      }
      return false;
    }
    switch (xmlTextReaderNodeType(reader.get())) {
      case XML_READER_TYPE_DOCUMENT_TYPE:
        Fail(Line(), "a document type declaration is not accepted (bank files have none)");
      case XML_READER_TYPE_ELEMENT:
        if (!Open()) {
          skipSubtree = true;
        } else if (xmlTextReaderIsEmptyElement(reader.get())) {
          Close();
        }
        break;
      case XML_READER_TYPE_END_ELEMENT:
        Close();
        break;
      case XML_READER_TYPE_TEXT:
      case XML_READER_TYPE_CDATA:
      case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
        if (!nodes.empty() && FieldOf(nodes.back()) != PathField::None) {
          AddText(View(xmlTextReaderConstValue(reader.get())));
        }
        break;
      default:
        break;
    }
    return true;
  }

  void AddText(std::string_view more) {
    text.append(more.substr(0, kMaxTextBytes - std::min(kMaxTextBytes, text.size())));
  }

  void CheckOuter(std::string_view local) {
    if (depth == 0) {
      const std::string_view ns = View(xmlTextReaderConstNamespaceUri(reader.get()));
      for (const MessageKind& k : kMessages) {
        if (local == "Document" && ns.substr(0, kNamespacePrefix.size()) == kNamespacePrefix &&
            ns.substr(kNamespacePrefix.size()) == k.message) {
          kind = &k;
        }
      }
      if (!kind) {
        Fail(Line(), Fmt("not a camt.053 or camt.054 message of version .001.04 or .001.08 "
                         "(element %s, namespace \"%s\")")
                         .s(std::string(local))
                         .s(std::string(ns)));
      }
    } else if (depth == 1 && local != kind->body) {
      Fail(Line(), Fmt("%s expected in a %s, not %s")
                       .s(std::string(kind->body))
                       .s(std::string(kind->message))
                       .s(std::string(local)));
    }
  }

  // Enters an element; false for one nothing below is kept of, which is then skipped whole.
  bool Open() {
    const std::string_view local = View(xmlTextReaderConstLocalName(reader.get()));
    const int level = depth + 1;
    int node = -1;
    if (level == 2) {
      node = local == kind->section ? kSectionNode : local == "GrpHdr" ? kHeaderNode : -1;
    } else if (level > 2) {
      node = ChildNode(nodes.back(), local);
    }
    if (level >= 2 && node < 0) {
      return false;
    }
    depth = level;
    text.clear();
    if (level < 2) {
      CheckOuter(local);
      return true;
    }
    if (node == kSectionNode) {
      StartSection();
    }
    nodes.push_back(node);
    if (local == "Amt") {
      xmlChar* currency = xmlTextReaderGetAttribute(reader.get(), BAD_CAST "Ccy");
      amountCurrency = Trimmed(View(currency));
      xmlFree(currency);
    }
    OnOpen(FieldOf(node));
    return true;
  }

  void Close() {
    if (depth >= 2) {
      OnClose(FieldOf(nodes.back()));
      nodes.pop_back();
    }
    text.clear();
    --depth;
  }

  void StartSection() {
    Transaction fresh;
    fresh.file = name;
    fresh.message = kind->message;
    fresh.messageId = fileAndEntry.messageId;
    fileAndEntry = std::move(fresh);
  }

  void StartEntry() {
    Transaction& e = fileAndEntry;
    e.line = static_cast<std::size_t>(Line());
    e.entryLine = e.line;
    e.entryReference.clear();
    e.entryBankReference.clear();
    e.entryAmount.clear();
    e.currency.clear();
    e.credit = true;
    e.reversal = false;
    e.status.clear();
    e.bookingDate.clear();
    e.valueDate.clear();
    e.qrIban.clear();
    e.remittance.clear();
    entryTransactions = 0;
    withoutAmount.reset();
  }

  void EndEntry() {
    if (entryTransactions == 0) {
      Transaction alone = fileAndEntry;
      alone.amount = alone.entryAmount;
      ready.push_back(std::move(alone));
    } else if (withoutAmount) {
      if (entryTransactions == 1) {
        withoutAmount->amount = fileAndEntry.entryAmount;
        withoutAmount->currency = fileAndEntry.currency;
      }
      ready.push_back(std::move(*withoutAmount));
      withoutAmount.reset();
    }
  }

  void StartTransaction() {
    current = fileAndEntry;
    current.line = static_cast<std::size_t>(Line());
    current.remittance.clear();
    ++entryTransactions;
  }

  void EndTransaction() {
    if (withoutAmount) {
      ready.push_back(std::move(*withoutAmount));
      withoutAmount.reset();
    }
    if (current.amount.empty()) {
      withoutAmount = std::move(current);
    } else {
      ready.push_back(std::move(current));
    }
  }

  void AddRemittance(Transaction& t) {
    if (t.remittance.size() < kMaxRemittanceLines && !Trimmed(text).empty()) {
      t.remittance.push_back(Trimmed(text));
    }
  }

  void OnOpen(PathField field) {
    if (field == PathField::Entry) {
      StartEntry();
    } else if (field == PathField::Transaction) {
      StartTransaction();
    }
  }

  void OnClose(PathField field);
};

void CamtReader::State::OnClose(PathField field) {
  if (field == PathField::None) {
    return;
  }
  Transaction& e = fileAndEntry;
  Transaction& t = current;
  std::string value = Trimmed(text);
  switch (field) {
    case PathField::None:
      break;
    case PathField::MessageId:
      e.messageId = std::move(value);
      break;
    case PathField::StatementId:
      e.statementId = std::move(value);
      break;
    case PathField::CopyDuplicate:
      e.copyDuplicate = std::move(value);
      break;
    case PathField::Account:
      e.account = CompactReference(value);
      break;
    case PathField::AccountCurrency:
      e.accountCurrency = std::move(value);
      break;
    case PathField::Entry:
      EndEntry();
      break;
    case PathField::EntryReference:
      e.qrIban = QrIbanOf(value);
      e.entryReference = std::move(value);
      break;
    case PathField::EntryAmount:
      e.entryAmount = std::move(value);
      e.currency = amountCurrency;
      break;
    case PathField::EntryCreditDebit:
      e.credit = value != "DBIT";
      break;
    case PathField::EntryReversal:
      e.reversal = value == "true" || value == "1";
      break;
    case PathField::EntryStatus:
      // .04 writes the code as the element's text, .08 in Cd or Prtry below it.
      if (!value.empty()) {
        e.status = std::move(value);
      }
      break;
    case PathField::BookingDate:
      e.bookingDate = std::move(value);
      break;
    case PathField::ValueDate:
      e.valueDate = std::move(value);
      break;
    case PathField::EntryBankReference:
      e.entryBankReference = std::move(value);
      break;
    case PathField::EntryText:
      AddRemittance(e);
      break;
    case PathField::Transaction:
      EndTransaction();
      break;
    case PathField::BankReference:
      t.bankReference = std::move(value);
      break;
    case PathField::EndToEndId:
      t.endToEndId = std::move(value);
      break;
    case PathField::InstructionId:
      t.instructionId = std::move(value);
      break;
    case PathField::TransactionId:
      t.transactionId = std::move(value);
      break;
    case PathField::Uetr:
      t.uetr = std::move(value);
      break;
    case PathField::Amount:
      t.amount = std::move(value);
      if (!amountCurrency.empty()) {
        t.currency = amountCurrency;
      }
      break;
    case PathField::TransactionAmount:
      // AmtDtls/TxAmt stands in where .08 leaves the transaction's Amt out.
      if (t.amount.empty()) {
        t.amount = std::move(value);
        t.currency = amountCurrency.empty() ? t.currency : amountCurrency;
      }
      break;
    case PathField::CreditDebit:
      t.credit = value != "DBIT";
      break;
    case PathField::InstructedAmount:
      t.instructedAmount = std::move(value);
      t.instructedCurrency = amountCurrency;
      break;
    case PathField::Reference:
      if (t.reference.empty()) {
        t.reference = CompactReference(value);
      }
      break;
    case PathField::ReferenceType:
      if (t.referenceType.empty()) {
        t.referenceType = std::move(value);
      }
      break;
    case PathField::Remittance:
      AddRemittance(t);
      break;
    case PathField::DebtorName:
      t.debtorName = std::move(value);
      break;
    case PathField::DebtorAddressLine:
      // A debtor given only by address lines: the first stands for the name.
      if (t.debtorName.empty()) {
        t.debtorName = std::move(value);
      }
      break;
    case PathField::DebtorAccount:
      t.debtorAccount = CompactReference(value);
      break;
    case PathField::UltimateDebtor:
      t.ultimateDebtor = std::move(value);
      break;
    case PathField::ReturnReason:
      t.returnReason = std::move(value);
      break;
  }
}

CamtReader::CamtReader(ByteSource source, std::string name) : state_(std::make_unique<State>()) {
  RefuseExternalEntitiesOnce();
  state_->source = std::move(source);
  state_->name = std::move(name);
  // No entity substitution, no DTD loading or defaulted attributes, no network; libxml2's
  // limits on depth and text size stay on (no XML_PARSE_HUGE). Line numbers past 65535 are
  // kept; short texts are stored inside their nodes.
  constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                           XML_PARSE_BIG_LINES | XML_PARSE_COMPACT;
  state_->reader.reset(
      xmlReaderForIO(&State::Read, nullptr, state_.get(), nullptr, nullptr, kOptions));
  if (!state_->reader) {
    if (state_->sourceFailure) {
      std::rethrow_exception(state_->sourceFailure);
    }
    state_->Fail(1, "cannot start reading it (empty?)");
  }
  xmlTextReaderSetStructuredErrorHandler(state_->reader.get(), &State::OnError, state_.get());
}

CamtReader::~CamtReader() = default;

bool CamtReader::Next(Transaction& transaction) {
  State& s = *state_;
  while (s.ready.empty() && !s.ended) {
    s.ended = !s.Step();
  }
  if (s.ready.empty()) {
    return false;
  }
  transaction = std::move(s.ready.front());
  s.ready.pop_front();
  return true;
}

std::vector<Transaction> ReadCamt(const std::string& xml, const std::string& name) {
  std::size_t at = 0;
  CamtReader reader(
      [&](char* buffer, std::size_t size) {
        const std::size_t n = std::min(size, xml.size() - at);
        std::memcpy(buffer, xml.data() + at, n);
        at += n;
        return n;
      },
      name);
  std::vector<Transaction> all;
  Transaction t;
  while (reader.Next(t)) {
    all.push_back(std::move(t));
  }
  return all;
}

}  // namespace bvr::pay
