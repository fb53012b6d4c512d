#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a large bank statement for measuring the import's time and memory:
   make_big_statement.py csv|camt ENTRIES OUT [YEARS]
Entries are spread over YEARS booking years (default 1) from 2024, each with
a reference of its own and a description (and a counterparty in a CSV
file; a CAMT file of a million entries stays within the 256 MiB a statement
may have)."""
import sys

kind, n, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
years = int(sys.argv[4]) if len(sys.argv) > 4 else 1


def fields(i):
    y = 2024 + i % years
    m = 1 + (i // 28) % 12
    d = 1 + i % 28
    cents = 100 + (i * 7919) % 500000
    return y, m, d, cents


with open(out, "w", encoding="utf-8", newline="\n") as f:
    if kind == "csv":
        f.write("Data contabile;Data valuta;Descrizione;Controparte;Riferimento;Importo\n")
        for i in range(n):
            y, m, d, c = fields(i)
            sign = "-" if i % 3 else ""
            f.write(f"{d:02}/{m:02}/{y};{d:02}/{m:02}/{y};Pagamento fattura {i} servizi;"
                    f"Fornitore {i % 977} Srl;RIF{i:09};{sign}{c // 100},{c % 100:02}\n")
    else:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<Document xmlns="urn:iso:std:iso:20022:tech:xsd:camt.053.001.02">'
                "<BkToCstmrStmt><GrpHdr><MsgId>M</MsgId><CreDtTm>2025-01-02T08:00:00</CreDtTm></GrpHdr>"
                "<Stmt><Id>S</Id><Acct><Id><IBAN>IT60X0542811101000000123456</IBAN></Id></Acct>\n")
        for i in range(n):
            y, m, d, c = fields(i)
            cd = "DBIT" if i % 3 else "CRDT"
            f.write(f'<Ntry><Amt Ccy="EUR">{c // 100}.{c % 100:02}</Amt><CdtDbtInd>{cd}</CdtDbtInd>'
                    f"<Sts>BOOK</Sts><BookgDt><Dt>{y}-{m:02}-{d:02}</Dt></BookgDt><AcctSvcrRef>RIF{i:09}</AcctSvcrRef>"
                    f"<NtryDtls><TxDtls><RmtInf><Ustrd>Fattura {i}</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>\n")
        f.write("</Stmt></BkToCstmrStmt></Document>\n")
