#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the licence line "SPDX-License-Identifier: GPL-3.0-or-later" at the top
# of every source file of the repository, in the comment form of its kind
# ("//" for C and C++, "#" for CMake, shell, Python, make files), after the
# "#!" line where there is one. A file that has the line is left as it is, so
# running it again changes nothing.
#   spdx.sh           add the line where it is missing
#   spdx.sh --check   list the files without it; exit 1 when there are any
set -euo pipefail

cd "$(dirname "$0")/.."
check=0
[ "${1:-}" = --check ] && check=1

line_id='SPDX-License-Identifier: GPL-3.0-or-later'

# The comment that starts a line in a file of this name, or nothing for a file
# that is not source.
comment_of() {
  case "$1" in
    *.cpp|*.cc|*.c|*.h|*.hpp) echo '//' ;;
    CMakeLists.txt|*/CMakeLists.txt|*.cmake|*.sh|*.py|Makefile|*/Makefile|debian/rules) echo '#' ;;
    *)
      # Scripts without an extension (.ci/run) say what they are on line 1.
      if head -c 64 "$1" 2>/dev/null | head -n 1 | grep -Eq '^#!.*(ba|da|)sh|^#!.*python'; then echo '#'; fi ;;
  esac
}

files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard
  else
    find . -path ./.git -prune -o -path './build*' -prune -o -type f -print | sed 's|^\./||'
  fi
}

missing=0
while IFS= read -r f; do
  [ -f "$f" ] && [ ! -L "$f" ] || continue
  c=$(comment_of "$f")
  [ -n "$c" ] || continue
  head -n 5 "$f" | grep -q "SPDX-License-Identifier:" && continue
  if [ "$check" = 1 ]; then
    echo "$f"
    missing=1
    continue
  fi
  tmp=$(mktemp "$f.spdx.XXXXXX")
  if head -n 1 "$f" | grep -q '^#!'; then
    { head -n 1 "$f"; echo "$c $line_id"; tail -n +2 "$f"; } >"$tmp"
  else
    { echo "$c $line_id"; cat "$f"; } >"$tmp"
  fi
  chmod --reference="$f" "$tmp"
  mv "$tmp" "$f"
done < <(files)
exit "$missing"
