#include "payments/CamtPaths.h"

#include <string>
#include <utility>
#include <vector>

namespace bvr::pay {

namespace {

using F = PathField;

#define TX "Ntry/NtryDtls/TxDtls"

struct Kept {
  std::string_view path;  // below the section; "GrpHdr/..." below the header
  F field;
};

const Kept kKept[] = {
    {"GrpHdr/MsgId", F::MessageId},
    {"Id", F::StatementId},
    {"CpyDplctInd", F::CopyDuplicate},
    {"Acct/Id/IBAN", F::Account},
    {"Acct/Ccy", F::AccountCurrency},
    {"Ntry", F::Entry},
    {"Ntry/NtryRef", F::EntryReference},
    {"Ntry/Amt", F::EntryAmount},
    {"Ntry/CdtDbtInd", F::EntryCreditDebit},
    {"Ntry/RvslInd", F::EntryReversal},
    {"Ntry/Sts", F::EntryStatus},
    {"Ntry/Sts/Cd", F::EntryStatus},
    {"Ntry/Sts/Prtry", F::EntryStatus},
    {"Ntry/BookgDt/Dt", F::BookingDate},
    {"Ntry/BookgDt/DtTm", F::BookingDate},
    {"Ntry/ValDt/Dt", F::ValueDate},
    {"Ntry/ValDt/DtTm", F::ValueDate},
    {"Ntry/AcctSvcrRef", F::EntryBankReference},
    {"Ntry/AddtlNtryInf", F::EntryText},
    {TX, F::Transaction},
    {TX "/Refs/AcctSvcrRef", F::BankReference},
    {TX "/Refs/EndToEndId", F::EndToEndId},
    {TX "/Refs/InstrId", F::InstructionId},
    {TX "/Refs/TxId", F::TransactionId},
    {TX "/Refs/UETR", F::Uetr},
    {TX "/Amt", F::Amount},
    {TX "/AmtDtls/TxAmt/Amt", F::TransactionAmount},
    {TX "/CdtDbtInd", F::CreditDebit},
    {TX "/AmtDtls/InstdAmt/Amt", F::InstructedAmount},
    {TX "/RmtInf/Strd/CdtrRefInf/Ref", F::Reference},
    {TX "/RmtInf/Strd/CdtrRefInf/Tp/CdOrPrtry/Cd", F::ReferenceType},
    {TX "/RmtInf/Strd/CdtrRefInf/Tp/CdOrPrtry/Prtry", F::ReferenceType},
    {TX "/RmtInf/Strd/AddtlRmtInf", F::Remittance},
    {TX "/RmtInf/Ustrd", F::Remittance},
    {TX "/RltdPties/Dbtr/Nm", F::DebtorName},
    {TX "/RltdPties/Dbtr/Pty/Nm", F::DebtorName},
    {TX "/RltdPties/Dbtr/PstlAdr/AdrLine", F::DebtorAddressLine},
    {TX "/RltdPties/Dbtr/Pty/PstlAdr/AdrLine", F::DebtorAddressLine},
    {TX "/RltdPties/DbtrAcct/Id/IBAN", F::DebtorAccount},
    {TX "/RltdPties/UltmtDbtr/Nm", F::UltimateDebtor},
    {TX "/RltdPties/UltmtDbtr/Pty/Nm", F::UltimateDebtor},
    {TX "/RtrInf/Rsn/Cd", F::ReturnReason},
    {TX "/RtrInf/Rsn/Prtry", F::ReturnReason},
};

#undef TX

struct Tree {
  struct Node {
    F field = F::None;
    std::vector<std::pair<std::string_view, int>> children;
  };
  std::vector<Node> nodes;

  Tree() : nodes(2) {
    for (const Kept& kept : kKept) {
      std::string_view rest = kept.path;
      int node = kSectionNode;
      if (rest.substr(0, 7) == "GrpHdr/") {
        node = kHeaderNode;
        rest.remove_prefix(7);
      }
      while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        node = Add(node, rest.substr(0, slash));
        rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
      }
      nodes[static_cast<std::size_t>(node)].field = kept.field;
    }
  }

  int Add(int parent, std::string_view name) {
    const int found = Child(parent, name);
    if (found >= 0) {
      return found;
    }
    nodes.emplace_back();
    const int node = static_cast<int>(nodes.size() - 1);
    nodes[static_cast<std::size_t>(parent)].children.emplace_back(name, node);
    return node;
  }

  int Child(int parent, std::string_view name) const {
    if (parent < 0) {
      return -1;
    }
    for (const auto& [childName, node] : nodes[static_cast<std::size_t>(parent)].children) {
      if (childName == name) {
        return node;
      }
    }
    return -1;
  }
};

const Tree& Paths() {
  static const Tree tree;
  return tree;
}

}  // namespace

int ChildNode(int parent, std::string_view name) {
  return Paths().Child(parent, name);
}

PathField FieldOf(int node) {
  return node < 0 ? F::None : Paths().nodes[static_cast<std::size_t>(node)].field;
}

}  // namespace bvr::pay
