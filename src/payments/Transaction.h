// One payment of a bank's camt.054 notification or camt.053 statement: a transaction
// (TxDtls), or an entry without transaction details, with what its entry and message say.
// Texts are as the file gives them (UTF-8), blanks around them removed; empty when absent.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bvr::pay {

struct Transaction {
  // Where it comes from.
  std::string file;
  std::size_t line = 0;       // line of the file where the transaction (or the entry) starts
  std::size_t entryLine = 0;  // line where its entry starts
  std::string message;        // "camt.054.001.08"
  std::string messageId;      // GrpHdr/MsgId
  std::string statementId;    // Ntfctn/Id or Stmt/Id
  std::string copyDuplicate;  // CpyDplctInd: CODU, COPY, DUPL

  // The account credited or debited: the account's IBAN, and the QR-IBAN the entry names
  // (NtryRef) where it is one.
  std::string account;
  std::string accountCurrency;
  std::string qrIban;

  // The entry.
  std::string entryReference;      // Ntry/NtryRef
  std::string entryBankReference;  // Ntry/AcctSvcrRef
  std::string entryAmount;
  std::string status;  // BOOK, PDNG, INFO (or a proprietary code)
  bool reversal = false;
  std::string bookingDate;  // Dt or DtTm as written
  std::string valueDate;

  // The transaction: its amount (the entry's when it is the entry's only one and has none).
  std::string amount;
  std::string currency;
  bool credit = true;
  std::string reference;      // spaces removed, upper case
  std::string referenceType;  // QRR, SCOR, ISR Reference, or what the file says
  std::string debtorName;
  std::string debtorAccount;
  std::string ultimateDebtor;
  std::vector<std::string> remittance;  // AddtlRmtInf and Ustrd, in order
  std::string bankReference;            // Refs/AcctSvcrRef
  std::string endToEndId;
  std::string instructionId;
  std::string transactionId;
  std::string uetr;
  std::string instructedAmount;  // what the payer sent
  std::string instructedCurrency;
  std::string returnReason;  // RtrInf/Rsn/Cd or Prtry
};

}  // namespace bvr::pay
