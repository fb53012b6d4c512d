#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a year of movements as JSON Lines for `fondaro-tool append`, the
same records the benchmarks generate (benchsupport.h, listYear):
   make_big_year.py [RECORDS] > year.jsonl
Every date of 2024 (day 1-28), a third of them income, half of them paid,
notice 0-29 days, reasons that share their first words, an accented letter
now and then."""
import json
import sys

n = int(sys.argv[1]) if len(sys.argv) > 1 else 100000
reasons = ["Affitto ufficio", "Bolletta luce", "Fattura cliente", "Stipendio",
           "Cancelleria", "Caff\u00e8 e acqua", "Assicurazione auto"]
out = sys.stdout
for i in range(n):
    income = i % 3 == 0
    day = f"{i % 28 + 1:02}/{i % 12 + 1:02}/2024"
    importo = f"{i % 5000},{i % 100:02}"
    rec = {
        "Entrata": "S\u00ec" if income else "No",
        "Uscita": "No" if income else "S\u00ec",
        "Data": day,
        "DataSca": day,
        "Preavviso": str(i % 30),
        "Causale": f"{reasons[i % 7]} n. {i}",
        "Importo": importo,
        "Totale": ("+" if income else "-") + importo,
        "Pagatore": f"Cliente {i % 977}",
        "Beneficiario": f"Fornitore {i % 311}",
        "Saldato": "S\u00ec" if i % 2 else "No",
        "Note": f"Nota di prova per il movimento numero {i}",
    }
    out.write(json.dumps(rec, ensure_ascii=False) + "\n")
