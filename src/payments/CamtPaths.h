// The elements of a notification or statement that the reader keeps, as a tree of their paths
// below it (Ntfctn or Stmt) and below the group header, walked one element name at a time. Both
// versions are listed together: where .08 moved an element (Sts/Cd, Dbtr/Pty/Nm) both places are
// read, so a file mixing them is read too.
#pragma once

#include <string_view>

namespace bvr::pay {

enum class PathField {
  None,
  MessageId,
  StatementId,
  CopyDuplicate,
  Account,
  AccountCurrency,
  Entry,
  EntryReference,
  EntryAmount,
  EntryCreditDebit,
  EntryReversal,
  EntryStatus,
  BookingDate,
  ValueDate,
  EntryBankReference,
  EntryText,
  Transaction,
  BankReference,
  EndToEndId,
  InstructionId,
  TransactionId,
  Uetr,
  Amount,
  TransactionAmount,
  CreditDebit,
  InstructedAmount,
  Reference,
  ReferenceType,
  Remittance,
  DebtorName,
  DebtorAddressLine,
  DebtorAccount,
  UltimateDebtor,
  ReturnReason,
};

// The tree's roots: the notification or statement, and the group header (GrpHdr).
inline constexpr int kSectionNode = 0;
inline constexpr int kHeaderNode = 1;

// The node of the element called name inside the element of node parent; -1 for an element
// nothing below is kept of (and for any parent below 0).
int ChildNode(int parent, std::string_view name);

// What the element of a node holds; None for elements that only lead to others.
PathField FieldOf(int node);

}  // namespace bvr::pay
