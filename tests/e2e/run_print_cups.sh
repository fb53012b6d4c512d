#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A list printout of three pages and an address-book card through a real CUPS
# queue: the cups-pdf printer "PDF" turns each job into a file, whose page count
# is checked. Starts the print
# server when it is not running (and stops it again afterwards); skips, saying
# why, only when the server cannot be started.
#   run_print_cups.sh PRINT_JOB ARTIFACT_PNG
set -u
job=$1
shot=$2
source "$(dirname "$0")/cups_queue.sh"

print_one 3 "$shot" 130 "Stampa di prova $$"
print_one 1 "${shot%.png}-scheda.png" card
