// camt.054 and camt.053 files written from the facts of Swiss banks' files, for tests: both
// versions, entries with and without transaction details, the three reference types.
#pragma once

#include <string>
#include <vector>

#include "numbers/VYKBVRFunctions.h"

namespace bvr::test {

// A QR reference from 26 digits.
inline std::string Qrr(const std::string& body26) {
  return body26 + std::to_string(CheckDigit(body26));
}

struct TxParts {
  std::string amount;  // empty: no Amt (allowed in .08)
  std::string currency = "CHF";
  std::string reference;
  std::string referenceType = "QRR";  // QRR, SCOR, ISR Reference
  std::string debtor = "Pia Rutschmann";
  std::string bankReference;
  std::string endToEnd = "NOTPROVIDED";
  std::string returnReason;
  std::string extra;  // more XML inside TxDtls
};

struct EntryParts {
  std::string amount;
  std::string currency = "CHF";
  bool credit = true;
  bool reversal = false;
  std::string status = "BOOK";
  std::string bookingDate = "<Dt>2026-03-02</Dt>";
  std::string entryReference;
  std::string bankReference = "20260302001";
  std::vector<TxParts> transactions;  // none: an entry without TxDtls
};

struct CamtFile {
  int message = 54;  // 53 or 54
  int version = 8;   // 4 or 8
  std::string account = "CH5800791123000889012";
  std::string messageId = "MSG-2026-03-02";
  std::string id = "NTF-1";
  std::string copyDuplicate;
  std::vector<EntryParts> entries;
};

inline TxParts Tx(const std::string& amount, const std::string& currency,
                  const std::string& reference, const std::string& type = "QRR") {
  TxParts t;
  t.amount = amount;
  t.currency = currency;
  t.reference = reference;
  t.referenceType = type;
  return t;
}

inline std::string TxXml(const CamtFile& c, const TxParts& t, bool credit = true) {
  const bool v8 = c.version == 8;
  std::string x = "<TxDtls><Refs>";
  if (!t.bankReference.empty()) {
    x += "<AcctSvcrRef>" + t.bankReference + "</AcctSvcrRef>";
  }
  x += "<EndToEndId>" + t.endToEnd + "</EndToEndId></Refs>";
  if (!t.amount.empty()) {
    x += "<Amt Ccy=\"" + t.currency + "\">" + t.amount + "</Amt><CdtDbtInd>" +
         (credit ? "CRDT" : "DBIT") + "</CdtDbtInd>";
    x += "<AmtDtls><InstdAmt><Amt Ccy=\"" + t.currency + "\">" + t.amount +
         "</Amt></InstdAmt></AmtDtls>";
  }
  x += "<RltdPties><Dbtr>" +
       std::string(v8 ? "<Pty><Nm>" + t.debtor + "</Nm></Pty>" : "<Nm>" + t.debtor + "</Nm>") +
       "</Dbtr><DbtrAcct><Id><IBAN>CH9300762011623852957</IBAN></Id></DbtrAcct></RltdPties>";
  if (!t.reference.empty()) {
    const std::string type =
        t.referenceType == "SCOR" ? "<Cd>SCOR</Cd>" : "<Prtry>" + t.referenceType + "</Prtry>";
    x += "<RmtInf><Strd><CdtrRefInf><Tp><CdOrPrtry>" + type + "</CdOrPrtry></Tp><Ref>" +
         t.reference + "</Ref></CdtrRefInf><AddtlRmtInf>Rechnung 68</AddtlRmtInf></Strd></RmtInf>";
  }
  if (!t.returnReason.empty()) {
    x += "<RtrInf><Rsn><Cd>" + t.returnReason + "</Cd></Rsn></RtrInf>";
  }
  return x + t.extra + "</TxDtls>";
}

inline std::string EntryXml(const CamtFile& c, const EntryParts& e) {
  const bool v8 = c.version == 8;
  std::string x = "<Ntry>";
  if (!e.entryReference.empty()) {
    x += "<NtryRef>" + e.entryReference + "</NtryRef>";
  }
  x += "<Amt Ccy=\"" + e.currency + "\">" + e.amount + "</Amt>";
  x += std::string("<CdtDbtInd>") + (e.credit ? "CRDT" : "DBIT") + "</CdtDbtInd>";
  if (e.reversal) {
    x += "<RvslInd>true</RvslInd>";
  }
  x += v8 ? "<Sts><Cd>" + e.status + "</Cd></Sts>" : "<Sts>" + e.status + "</Sts>";
  x += "<BookgDt>" + e.bookingDate + "</BookgDt><ValDt><Dt>2026-03-02</Dt></ValDt>";
  x += "<AcctSvcrRef>" + e.bankReference + "</AcctSvcrRef>";
  x += "<BkTxCd><Domn><Cd>PMNT</Cd><Fmly><Cd>RCDT</Cd><SubFmlyCd>AUTT</SubFmlyCd></Fmly></Domn>"
       "</BkTxCd>";
  if (!e.transactions.empty()) {
    x += "<NtryDtls>";
    for (const TxParts& t : e.transactions) {
      x += "\n" + TxXml(c, t, e.credit);
    }
    x += "</NtryDtls>";
  }
  return x + "<AddtlNtryInf>Gutschrift QR-Rechnung</AddtlNtryInf></Ntry>";
}

inline std::string CamtXml(const CamtFile& c) {
  const std::string message =
      "camt.0" + std::to_string(c.message) + ".001.0" + std::to_string(c.version);
  const bool statement = c.message == 53;
  const std::string body = statement ? "BkToCstmrStmt" : "BkToCstmrDbtCdtNtfctn";
  const std::string section = statement ? "Stmt" : "Ntfctn";
  std::string x =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Document xmlns=\"urn:iso:std:iso:"
      "20022:tech:xsd:" +
      message + "\">\n<" + body + ">\n";
  x += "<GrpHdr><MsgId>" + c.messageId +
       "</MsgId><CreDtTm>2026-03-02T18:00:00</CreDtTm>"
       "<AddtlInf>SPS/2.0/PROD</AddtlInf></GrpHdr>\n";
  x += "<" + section + "><Id>" + c.id + "</Id><ElctrncSeqNb>1</ElctrncSeqNb>";
  if (!c.copyDuplicate.empty()) {
    x += "<CpyDplctInd>" + c.copyDuplicate + "</CpyDplctInd>";
  }
  x += "<Acct><Id><IBAN>" + c.account + "</IBAN></Id><Ccy>CHF</Ccy></Acct>\n";
  if (statement) {
    x += "<Bal><Tp><CdOrPrtry><Cd>OPBD</Cd></CdOrPrtry></Tp><Amt Ccy=\"CHF\">1000.00</Amt>"
         "<CdtDbtInd>CRDT</CdtDbtInd><Dt><Dt>2026-03-01</Dt></Dt></Bal>\n";
  }
  for (const EntryParts& e : c.entries) {
    x += EntryXml(c, e) + "\n";
  }
  return x + "</" + section + ">\n</" + body + ">\n</Document>\n";
}

}  // namespace bvr::test
