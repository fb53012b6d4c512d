#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the manual page of fondaro-tool from the tool's own help: the page's
# fixed text (fondaro-tool.1.in) with its COMMANDS section filled from
# "fondaro-tool --help" (the list of commands) and "fondaro-tool COMMAND --help"
# (each command's usage and text), so the page never lags behind the tool.
#   mkman.sh <fondaro-tool> <fondaro-tool.1.in> <fondaro-tool.1>
set -eu
tool=$1
template=$2
out=$3

commands=$("$tool" --help | awk '
  /^Commands:/ { listed = 1; next }
  listed && /^  [a-z]/ { print $1; next }
  listed && /^$/ { exit }')
[ -n "$commands" ] || { echo "mkman: \"$tool --help\" lists no commands" >&2; exit 1; }

# One command's help as roff: the usage lines in bold, one a line, then the
# text. Plain lines are filled as a paragraph; indented lines (a table, a list
# with hanging lines) are kept line for line as the tool prints them, broken
# where they would run past 80 columns.
render() {
  awk -v cmd="$1" '
    # A line kept as the tool prints it, broken at a blank before column
    # 73 (the page indents it by 7), the rest two places further in.
    function wrap(s,    lead, cut, at) {
      match(s, /^ */)
      lead = substr(s, 1, RLENGTH) "  "
      while (length(s) > 73) {
        cut = substr(s, 1, 73)
        at = 0
        for (k = 73; k > length(lead); k--) if (substr(cut, k, 1) == " ") { at = k; break }
        if (!at) break
        print roff(substr(s, 1, at - 1))
        s = lead substr(s, at + 1)
      }
      print roff(s)
    }
    function roff(s) {
      gsub(/\\/, "\\e", s)
      gsub(/-/, "\\-", s)
      if (s ~ /^[.\047]/) s = "\\&" s
      return s
    }
    NR == 1 {
      if ($0 !~ /^usage: /) { print "mkman: " cmd " --help does not start with its usage" > "/dev/stderr"; bad = 1; exit 1 }
      sub(/^usage: /, "")
      usage[++nu] = $0
      next
    }
    n == 0 && /^ / {
      line = $0
      sub(/^ +/, "", line)
      if (line !~ /^fondaro-tool /) line = "    " line
      usage[++nu] = line
      next
    }
    {
      text[++n] = $0
    }
    END {
      if (bad) exit 1
      if (NR == 0) { print "mkman: " cmd " --help printed nothing" > "/dev/stderr"; exit 1 }
      # The usage lines are filled, one a line, so that a long one wraps
      # within the page instead of running past 80 columns.
      printf ".SS %s\n.nh\n", roff(cmd)
      for (i = 1; i <= nu; i++) {
        line = usage[i]
        lead = ""
        if (line ~ /^ +/) { lead = "\\ \\ \\ \\ "; sub(/^ +/, "", line) }
        printf "%s\\fB%s\\fR\n.br\n", lead, roff(line)
      }
      print ".hy"
      print ".PP"
      # Plain lines are filled; indented ones (a table, hanging lines) are
      # kept line for line as the tool prints them.
      nf = 0
      for (i = 1; i <= n; i++) {
        if (text[i] ~ /^ /) {
          if (!nf) { print ".nf"; nf = 1 }
          wrap(text[i])
          continue
        }
        if (nf) { print ".fi"; nf = 0 }
        if (text[i] ~ /^Exit /) print ".br"
        print roff(text[i])
      }
      if (nf) print ".fi"
    }'
}

tmp="$out.tmp"
{
  sed '/^@COMMANDS@$/,$d' "$template"
  for c in $commands; do
    "$tool" "$c" --help | render "$c"
  done
  sed '1,/^@COMMANDS@$/d' "$template"
} >"$tmp"
mv "$tmp" "$out"
