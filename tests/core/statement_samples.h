// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small statements shared by the reader tests and the tests of the shared
// rules: a camt.053 document of any version and the two shapes of OFX around
// the entries a test gives.
#include <QByteArray>
#include <QString>

namespace fondaro::testing {

// A camt.053 document of the given version (02 to 08) around `entries`. The
// status is written as versions up to 06 write it (<Sts>BOOK</Sts>) or as 07
// and later do (<Sts><Cd>BOOK</Cd></Sts>) by the caller.
inline QByteArray camt(const QString& version, const QString& entries) {
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.%1\">\n"
             " <BkToCstmrStmt>\n"
             "  <GrpHdr><MsgId>MSG1</MsgId><CreDtTm>2024-02-01T08:00:00</CreDtTm></GrpHdr>\n"
             "  <Stmt>\n"
             "   <Id>STMT1</Id><CreDtTm>2024-02-01T08:00:00</CreDtTm>\n"
             "   <Acct><Id><IBAN>IT60X0542811101000000123456</IBAN></Id></Acct>\n"
             "   <Bal><Tp><CdOrPrtry><Cd>OPBD</Cd></CdOrPrtry></Tp><Amt Ccy=\"EUR\">100.00</Amt>"
             "<CdtDbtInd>CRDT</CdtDbtInd><Dt><Dt>2024-01-01</Dt></Dt></Bal>\n"
             "%2"
             "  </Stmt>\n"
             " </BkToCstmrStmt>\n"
             "</Document>\n")
      .arg(version, entries)
      .toUtf8();
}

// OFX 1.x (SGML) and 2.x (XML) statements in euro around `transactions`.
inline QByteArray ofx1(const QByteArray& transactions) {
  return QByteArray(
             "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\n"
             "CHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n"
             "<OFX>\r\n<SIGNONMSGSRSV1><SONRS><STATUS><CODE>0<SEVERITY>INFO</STATUS>"
             "<DTSERVER>20240131120000<LANGUAGE>ITA</SONRS></SIGNONMSGSRSV1>\r\n"
             "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STATUS><CODE>0<SEVERITY>INFO</STATUS>\r\n"
             "<STMTRS><CURDEF>EUR<BANKACCTFROM><BANKID>03069<ACCTID>000000123456<ACCTTYPE>CHECKING"
             "</BANKACCTFROM>\r\n<BANKTRANLIST><DTSTART>20240101<DTEND>20240131\r\n") +
         transactions +
         "</BANKTRANLIST><LEDGERBAL><BALAMT>100.00<DTASOF>20240131</LEDGERBAL></STMTRS></STMTTRNRS>"
         "</BANKMSGSRSV1></OFX>\r\n";
}

inline QByteArray ofx2(const QByteArray& transactions) {
  return QByteArray(
             "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
             "<?OFX OFXHEADER=\"200\" VERSION=\"211\" SECURITY=\"NONE\" OLDFILEUID=\"NONE\" NEWFILEUID=\"NONE\"?>\n"
             "<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0</CODE><SEVERITY>INFO</SEVERITY></STATUS>"
             "<DTSERVER>20240131</DTSERVER><LANGUAGE>ITA</LANGUAGE></SONRS></SIGNONMSGSRSV1>\n"
             "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1</TRNUID><STATUS><CODE>0</CODE><SEVERITY>INFO</SEVERITY></STATUS>\n"
             "<STMTRS><CURDEF>EUR</CURDEF><BANKACCTFROM><BANKID>03069</BANKID><ACCTID>123</ACCTID>"
             "<ACCTTYPE>CHECKING</ACCTTYPE></BANKACCTFROM>\n"
             "<BANKTRANLIST><DTSTART>20240101</DTSTART><DTEND>20240131</DTEND>\n") +
         transactions +
         "</BANKTRANLIST><LEDGERBAL><BALAMT>100</BALAMT><DTASOF>20240131</DTASOF></LEDGERBAL></STMTRS>"
         "</STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}

}  // namespace fondaro::testing
