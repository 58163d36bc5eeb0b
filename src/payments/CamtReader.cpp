#include "payments/CamtReader.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

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

struct ParserDeleter {
  void operator()(xmlParserCtxt* parser) const { xmlFreeParserCtxt(parser); }
};

// Bytes handed to the parser at a time: a few dozen transactions.
constexpr std::size_t kChunkBytes = 64 * 1024;
// Libxml2's limits on a tree (levels of elements, bytes of one text), kept without one.
constexpr int kMaxDepth = 256;
constexpr std::size_t kMaxTextRun = 10'000'000;

// Parameters of libxml2's element callback, looked at by name.
struct StartTag {
  std::string_view local;
  std::string_view ns;
  int attributeCount;
  const xmlChar** attributes;  // five pointers each: local name, prefix, URI, value, its end

  // An attribute without namespace, trimmed; empty when absent.
  std::string Attribute(std::string_view wanted) const {
    for (int i = 0; i < attributeCount; ++i) {
      const xmlChar** a = attributes + 5 * i;
      if (!a[2] && View(a[0]) == wanted) {
        return Trimmed(std::string_view(reinterpret_cast<const char*>(a[3]),
                                        static_cast<std::size_t>(a[4] - a[3])));
      }
    }
    return {};
  }
};

}  // namespace

// Driven by libxml2's SAX callbacks: nothing of the document is built, each element and text
// goes straight into the transaction being read.
struct CamtReader::State {
  ByteSource source;
  std::string name;
  std::unique_ptr<xmlParserCtxt, ParserDeleter> parser;
  std::vector<char> chunk;
  // The first failure (the parser's or ours); handed out after the transactions before it.
  std::exception_ptr failure;
  std::exception_ptr structural;  // ours, from a callback: see Guarded
  bool ended = false;
  int skipped = 0;          // depth inside an element nothing is kept of
  std::size_t textRun = 0;  // bytes of text since the last tag

  const MessageKind* kind = nullptr;
  int depth = -1;  // of the element last opened: Document 0, its body 1, sections 2
  // The path tree's node of each open element from depth 2 on, with what it holds.
  struct OpenElement {
    int node;
    PathField field;
  };
  std::vector<OpenElement> nodes;
  std::string text;
  std::string amountCurrency;

  Transaction fileAndEntry;  // what every transaction of the entry shares
  Transaction current;
  std::optional<Transaction> withoutAmount;  // waits to learn whether it is the entry's only one
  std::size_t entryTransactions = 0;
  std::deque<Transaction> ready;

  EBvrError Failure(long long line, const std::string& what) const {
    return EBvrError(Fmt("%s: line %d: %s").s(name).d(line).s(what), line);
  }

  [[noreturn]] void Fail(long long line, const std::string& what) const {
    throw Failure(line, what);
  }

  // The parser's line: in an element callback, the line its start tag ends on.
  long long Line() const { return parser && parser->input ? parser->input->line : 1; }

  // Runs a callback's work. Nothing may unwind through the parser: a failure of ours waits for
  // the end of the chunk, where the parser's own (a file not well-formed) takes its place.
  template <typename Work>
  static void Guarded(void* context, Work work) {
    auto* state = static_cast<State*>(context);
    if (state->failure || state->structural) {
      return;
    }
    try {
      work(*state);
    } catch (...) {
      state->structural = std::current_exception();
    }
  }

  // A failure that ends the parse at once.
  void Stop(const std::string& what) {
    if (!failure) {
      failure = std::make_exception_ptr(Failure(Line(), what));
    }
    xmlStopParser(parser.get());
  }

  static void OnStart(void* context, const xmlChar* local, const xmlChar*, const xmlChar* ns, int,
                      const xmlChar**, int attributeCount, int, const xmlChar** attributes) {
    auto* state = static_cast<State*>(context);
    state->textRun = 0;
    // The parser keeps every open element's name: the depth is bounded as a tree would be.
    if (state->depth + 1 + state->skipped > kMaxDepth) {
      state->Stop(Fmt("Excessive depth in document: more than %d levels").d(kMaxDepth));
      return;
    }
    Guarded(context, [&](State& s) {
      if (s.skipped > 0 || !s.Open(StartTag{View(local), View(ns), attributeCount, attributes})) {
        ++s.skipped;
      }
    });
  }

  static void OnEnd(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    static_cast<State*>(context)->textRun = 0;
    Guarded(context, [](State& s) {
      if (s.skipped > 0) {
        --s.skipped;
      } else {
        s.Close();
      }
    });
  }

  static void OnText(void* context, const xmlChar* text, int size) {
    auto* state = static_cast<State*>(context);
    state->textRun += static_cast<std::size_t>(size);
    if (state->textRun > kMaxTextRun) {
      state->Stop(Fmt("a text of more than %d bytes").d(static_cast<long long>(kMaxTextRun)));
      return;
    }
    Guarded(context, [&](State& s) {
      if (s.skipped == 0 && !s.nodes.empty() && s.nodes.back().field != PathField::None) {
        s.AddText(
            std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size)));
      }
    });
  }

  // Refused where it starts, before its internal subset is read: nothing it declares is kept.
  static void OnDocumentType(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    static_cast<State*>(context)->Stop(
        "a document type declaration is not accepted (bank files have none; no entity is ever "
        "expanded)");
  }

  // No entity but the five predefined ones (which libxml2 resolves itself) is known.
  static xmlEntityPtr NoEntity(void*, const xmlChar*) { return nullptr; }

  static void OnError(void* context, xmlErrorPtr error) {
    auto* state = static_cast<State*>(context);
    if (error && error->level >= XML_ERR_ERROR && !state->failure) {
      state->failure = std::make_exception_ptr(state->Failure(
          error->line, Trimmed(error->message ? error->message : "not well-formed")));
    }
  }

  static xmlSAXHandler Handler() {
    xmlSAXHandler handler{};
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = &State::OnStart;
    handler.endElementNs = &State::OnEnd;
    handler.characters = &State::OnText;
    handler.ignorableWhitespace = &State::OnText;
    handler.cdataBlock = &State::OnText;
    handler.internalSubset = &State::OnDocumentType;
    handler.getEntity = &State::NoEntity;
    handler.getParameterEntity = &State::NoEntity;
    handler.serror = &State::OnError;
    return handler;
  }

  void Start() {
    chunk.resize(kChunkBytes);
    // The first bytes tell the encoding, as libxml2 wants them at the start.
    const std::size_t first = source(chunk.data(), 4);
    xmlSAXHandler handler = Handler();
    parser.reset(
        xmlCreatePushParserCtxt(&handler, this, chunk.data(), static_cast<int>(first), nullptr));
    if (!parser) {
      Fail(1, "cannot start reading it (out of memory)");
    }
    // No entity substitution, no DTD loading or defaulted attributes, no network; libxml2's
    // limits on depth and name and attribute sizes stay on (no XML_PARSE_HUGE).
    xmlCtxtUseOptions(parser.get(), XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                                        XML_PARSE_BIG_LINES);
    if (first == 0) {
      Finish();
    }
  }

  // Hands the parser the next chunk; at the end of the bytes, tells it so.
  void Feed() {
    const std::size_t size = source(chunk.data(), chunk.size());
    if (size == 0) {
      Finish();
      return;
    }
    const int result = xmlParseChunk(parser.get(), chunk.data(), static_cast<int>(size), 0);
    Check(result);
  }

  void Finish() {
    ended = true;
    Check(xmlParseChunk(parser.get(), nullptr, 0, 1));
    if (!failure && !kind) {
      failure = std::make_exception_ptr(Failure(Line(), "no camt.053 or camt.054 message in it"));
    }
  }

  void Check(int result) {
    if (result != 0 && !failure && !structural) {
      failure = std::make_exception_ptr(Failure(Line(), "not well-formed XML"));
    }
    if (!failure) {
      failure = structural;
    }
    if (failure) {
      xmlStopParser(parser.get());
      ended = true;
    }
  }

  void AddText(std::string_view more) {
    text.append(more.substr(0, kMaxTextBytes - std::min(kMaxTextBytes, text.size())));
  }

  void CheckOuter(std::string_view local, std::string_view ns) {
    if (depth == 0) {
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
  bool Open(const StartTag& tag) {
    const std::string_view local = tag.local;
    const int level = depth + 1;
    int node = -1;
    if (level == 2) {
      node = local == kind->section ? kSectionNode : local == "GrpHdr" ? kHeaderNode : -1;
    } else if (level > 2) {
      node = ChildNode(nodes.back().node, local);
    }
    if (level >= 2 && node < 0) {
      return false;
    }
    depth = level;
    text.clear();
    if (level < 2) {
      CheckOuter(local, tag.ns);
      return true;
    }
    if (node == kSectionNode) {
      StartSection();
    }
    nodes.push_back({node, FieldOf(node)});
    if (local == "Amt") {
      amountCurrency = tag.Attribute("Ccy");
    }
    OnOpen(nodes.back().field);
    return true;
  }

  void Close() {
    if (depth >= 2) {
      OnClose(nodes.back().field);
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
  state_->Start();
}

CamtReader::~CamtReader() = default;

bool CamtReader::Next(Transaction& transaction) {
  State& s = *state_;
  while (s.ready.empty() && !s.ended) {
    s.Feed();
  }
  if (s.ready.empty()) {
    if (s.failure) {
      std::rethrow_exception(s.failure);
    }
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
