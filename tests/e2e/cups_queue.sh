# SPDX-License-Identifier: GPL-3.0-or-later
# The print server and its cups-pdf queue "PDF" for the printing tests, sourced
# by them: starts the server when it is not running (and stops it again when
# the test ends), exits 77 (skip), saying why, only when it cannot be started,
# and defines print_one. The sourcing script sets `job`, the program that
# prints one job on the default printer.
SKIP=77

started=""
cleanup() {
  if [ -n "$started" ]; then
    kill "$started" 2>/dev/null
    wait "$started" 2>/dev/null
  fi
}
trap cleanup EXIT

running() { lpstat -r 2>/dev/null | grep -q "is running"; }

if ! running; then
  if [ ! -x /usr/sbin/cupsd ]; then
    echo "SKIP: no print server installed (scripts/install-deps.sh installs cups)"
    exit $SKIP
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: the print server is not running and only root can start it"
    exit $SKIP
  fi
  /usr/sbin/cupsd -f >/dev/null 2>&1 &
  started=$!
  for _ in $(seq 1 100); do
    running && break
    kill -0 "$started" 2>/dev/null || break
    sleep 0.1
  done
  if ! running; then
    echo "SKIP: the print server (cupsd) did not start"
    exit $SKIP
  fi
fi

if ! lpstat -p PDF >/dev/null 2>&1; then
  lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || {
    echo "FAIL: cannot add the cups-pdf queue PDF (lpadmin)"
    exit 1
  }
fi
cupsenable PDF 2>/dev/null
cupsaccept PDF 2>/dev/null
# The queue becomes the default only on a machine that has none; otherwise this
# job alone is sent to it.
lpstat -d 2>/dev/null | grep -q "system default destination" || lpadmin -d PDF
export PRINTER=PDF

# Where cups-pdf leaves its files: the Out folder of its configuration, under
# the home of the job's user; anonymous jobs go to the spool.
home=$(getent passwd "$(id -un)" | cut -d: -f6)
out=$(sed -n 's/^Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
out=${out:-'${HOME}/PDF'}
out=${out//'${HOME}'/$home}
out=${out//'${USER}'/$(id -un)}
anon=$(sed -n 's/^AnonDirName[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -n 1)
folders=("$out" "${anon:-/var/spool/cups-pdf/ANONYMOUS}")

list_pdfs() { find "${folders[@]}" -maxdepth 1 -name '*.pdf' 2>/dev/null | sort; }

# print_one PAGES PICTURE ARGS...: prints through the program, waits for the
# queue's PDF, keeps a picture of its first page and checks its page count.
# (The queue draws the text as pictures of its letters, so it cannot be read
# back; the window tests read the program's own PDFs.)
print_one() {
  local want=$1 picture=$2
  shift 2
  local before new pages
  before=$(list_pdfs)
  if ! "$job" "$@"; then
    echo "FAIL: the program could not print on the queue PDF ($*)"
    exit 1
  fi
  new=""
  for _ in $(seq 1 300); do
    new=$(comm -13 <(echo "$before") <(list_pdfs) | head -n 1)
    if [ -n "$new" ] && pdfinfo "$new" >/dev/null 2>&1; then
      break
    fi
    new=""
    sleep 0.1
  done
  if [ -z "$new" ]; then
    echo "FAIL: no PDF from the job ($*) in ${folders[*]}"
    lpstat -W all -o 2>&1 | tail -n 3
    exit 1
  fi
  pages=$(pdfinfo "$new" | sed -n 's/^Pages:[[:space:]]*//p')
  mkdir -p "$(dirname "$picture")"
  pdftoppm -png -r 50 -f 1 -l 1 -singlefile "$new" "${picture%.png}"
  rm -f "$new"
  if [ "$pages" != "$want" ]; then
    echo "FAIL: the printed job ($*) has $pages pages, expected $want"
    exit 1
  fi
  echo "printed through CUPS: $want page(s) ($*)"
}

