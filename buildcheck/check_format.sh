#!/usr/bin/env bash
# Every C and C++ file of the tree is in the format .clang-format sets, as
# clang-format 14 (Debian 12's) lays it out: another version lays out some
# lines otherwise, so it is refused rather than believed. In a clone the
# files are those git tracks; a tree without .git (a source archive) is
# walked instead, leaving out the folders .gitignore names at its top
# (the build, the prebuilt dependencies), which hold generated files.
# usage: check_format.sh SOURCE_DIR CLANG_FORMAT
set -euo pipefail
cd "$1"
tool=$2
version=$("$tool" --version | sed -nE 's/.*version ([0-9]+)\..*/\1/p')
[ "$version" = 14 ] || { echo "$tool is version '$version'; the tree is laid out by clang-format 14"; exit 1; }
if [ -e .git ]; then
  mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
else
  prune=(-false)
  while read -r entry; do
    if [[ $entry == /* ]]; then prune+=(-o -path ".${entry%/}"); fi
  done < <(cat .gitignore 2>/dev/null)
  mapfile -t files < <(find . \( "${prune[@]}" \) -prune -o -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print |
    sed 's|^\./||' | LC_ALL=C sort)
fi
[ ${#files[@]} -gt 0 ] || { echo "no C or C++ file found in $1"; exit 1; }
rc=0
said=$("$tool" --style=file --dry-run --Werror "${files[@]}" 2>&1) || rc=$?
flagged=$(echo "$said" | awk -F: '/: error: code should be clang-formatted/ { n[$1]++ } END { for (f in n) print n[f], f }' |
  sort -k2)
if [ -n "$flagged" ]; then
  echo "lines out of format, by file (clang-format -i mends them):"
  echo "$flagged"
  echo "$(echo "$flagged" | wc -l) of ${#files[@]} files out of format"
  exit 1
fi
# A failure that flags no line (an unreadable .clang-format, a file it cannot
# parse) is no pass.
[ $rc -eq 0 ] || { echo "$said"; echo "clang-format failed ($rc)"; exit 1; }
echo "${#files[@]} files in format"
