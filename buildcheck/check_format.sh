#!/usr/bin/env bash
# Every C and C++ file git tracks is in the format .clang-format sets, as
# clang-format 14 (Debian 12's) lays it out: another version lays out some
# lines otherwise, so it is refused rather than believed.
# usage: check_format.sh SOURCE_DIR CLANG_FORMAT
set -euo pipefail
cd "$1"
tool=$2
version=$("$tool" --version | sed -nE 's/.*version ([0-9]+)\..*/\1/p')
[ "$version" = 14 ] || { echo "$tool is version '$version'; the tree is laid out by clang-format 14"; exit 1; }
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || { echo "git names no C or C++ file in $1"; exit 1; }
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
