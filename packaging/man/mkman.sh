#!/bin/sh
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
# text. A text of plain lines is filled as a paragraph; a text with indented
# lines (a table, a list with hanging lines) is kept line for line as the tool
# prints it.
render() {
  awk -v cmd="$1" '
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
      if ($0 ~ /^ /) indented = 1
    }
    END {
      if (bad) exit 1
      if (NR == 0) { print "mkman: " cmd " --help printed nothing" > "/dev/stderr"; exit 1 }
      printf ".SS %s\n.nf\n", roff(cmd)
      for (i = 1; i <= nu; i++) printf "\\fB%s\\fR\n", roff(usage[i])
      print ".fi"
      print ".PP"
      if (indented) print ".nf"
      for (i = 1; i <= n; i++) {
        if (!indented && text[i] ~ /^Exit /) print ".br"
        print roff(text[i])
      }
      if (indented) print ".fi"
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
