#!/usr/bin/env bash
# Every C and C++ file the cross build compiles for the program and the engine
# (not the tests) passes the checks .clang-tidy sets, as clang-tidy 14
# (Debian 12's) finds them: another version has other checks and finds other
# things, so it is refused rather than believed. The files are the build's
# compile commands, which need no git.
# usage: check_tidy.sh SOURCE_DIR BUILD_DIR CLANG_TIDY CXX_COMPILER
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
tool=$3
cxx=$4
version=$("$tool" --version | sed -nE 's/.*LLVM version ([0-9]+)\..*/\1/p')
[ "$version" = 14 ] || { echo "$tool is version '$version'; the checks are tuned for clang-tidy 14"; exit 1; }
[ -f "$build/compile_commands.json" ] || { echo "no compile_commands.json in $build"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The tree's own sources, once each, without the flag clang has no table for:
# clang reads them as the UTF-8 they are, and the GBK literals they become
# are no concern of the analysis.
python3 - "$src" "$build" "$work" <<'EOF'
import json, os, shlex, sys
src, build, work = sys.argv[1:]
kept, seen = [], set()
for entry in json.load(open(os.path.join(build, 'compile_commands.json'))):
    path = os.path.normpath(os.path.join(entry['directory'], entry['file']))
    inside = path.startswith(src + os.sep) and not path.startswith(build + os.sep)
    if not inside or path.startswith(os.path.join(src, 'tests') + os.sep) or path in seen:
        continue
    if not path.endswith(('.c', '.cpp')):
        continue
    seen.add(path)
    words = entry['arguments'] if 'arguments' in entry else shlex.split(entry['command'])
    kept.append({'directory': entry['directory'], 'file': path,
                 'arguments': [w for w in words if not w.startswith('-fexec-charset=')]})
json.dump(kept, open(os.path.join(work, 'compile_commands.json'), 'w'), indent=1)
open(os.path.join(work, 'files'), 'w').write(''.join(e['file'] + '\n' for e in kept))
EOF
[ -s "$work/files" ] || { echo "the compile commands of $build name no source of $src"; exit 1; }

# clang knows the mingw target and its C headers but not where gcc keeps the
# C++ library's: the cross compiler says.
args=(--extra-arg=--target=i686-w64-mingw32)
while read -r dir; do args+=("--extra-arg=-stdlib++-isystem$dir"); done < <(
  "$cxx" -E -x c++ -v /dev/null 2>&1 >/dev/null | sed -n '/#include <...> search starts here:/,/End of search list./p' |
    sed -nE 's/^ +(.*\/c\+\+.*)$/\1/p')

count=$(wc -l <"$work/files")
rc=0
# One file per run, each run's words in a file of its own: runs side by side
# would interleave their lines.
xargs -P "$(nproc)" -n 1 bash -c '"${@:2}" >"$(mktemp "$1/said.XXXXXX")" 2>&1' - "$work" \
  "$tool" -p "$work" --quiet "${args[@]}" <"$work/files" || rc=$?
cat "$work"/said.* >"$work/said"
# A header is read by many files and reported by each: every finding once.
src_re=$(printf '%s' "$src" | sed 's/[][\\.*^$|+?(){}]/\\&/g')
findings=$(sed -nE "s|^$src_re/(.*:[0-9]+:[0-9]+: (warning\|error): .*)$|\1|p" "$work/said" | sed "s/,-warnings-as-errors\]/]/" | sort -u)
if [ -n "$findings" ]; then
  echo "findings (mend each, or add // NOLINT(check-name): reason on its line):"
  echo "$findings"
  echo "$(echo "$findings" | wc -l) findings in the $count files"
  exit 1
fi
# A failure that names no line (a file clang cannot compile outside the tree,
# an unreadable .clang-tidy) is no pass.
[ $rc -eq 0 ] || { cat "$work/said"; echo "clang-tidy failed ($rc)"; exit 1; }
echo "$count files without a finding"
