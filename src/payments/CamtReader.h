// A streaming reader of camt.054 (BkToCstmrDbtCdtNtfctn) and camt.053 (BkToCstmrStmt), versions
// .001.04 and .001.08, told apart by their namespace. Reads element by element through
// libxml2's SAX push parser, fed a chunk at a time and building no tree, so memory stays the same
// for any size of file; never loads a DTD or an external entity, never substitutes entities and
// refuses a document type declaration.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "payments/Transaction.h"

namespace bvr::pay {

// Where the reader takes its bytes: fills buffer with up to size bytes and returns how many, 0
// at the end. Fails by throwing; the exception passes through Next.
using ByteSource = std::function<std::size_t(char* buffer, std::size_t size)>;

class CamtReader {
 public:
  // name: the file's name for messages and for Transaction::file.
  CamtReader(ByteSource source, std::string name);
  ~CamtReader();
  CamtReader(const CamtReader&) = delete;
  CamtReader& operator=(const CamtReader&) = delete;

  // The next transaction, false after the last one. Fails (EBvrError) with
  // "NAME: line L: message" for XML that is not well-formed, a document type declaration, or
  // a document that is neither message.
  bool Next(Transaction& transaction);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Every transaction of an XML text. For tests and the fuzzer.
std::vector<Transaction> ReadCamt(const std::string& xml, const std::string& name = "camt.xml");

}  // namespace bvr::pay
