#!/usr/bin/env python3
"""The README's list of the tests' wine-quirk marks, held against the marks:
each test file is listed once for every mark it carries, and no file is
listed that carries none.

Usage: check_quirk_marks.py SOURCE_DIR
"""
import collections
import os
import re
import sys

MARK = re.compile(r'^\s*(//|#)\s*wine-quirk:')
LISTED = re.compile(r'^  - `(tests/[^`]+)`:', re.M)


def main(root):
    marks = collections.Counter()
    for dirpath, _, filenames in os.walk(os.path.join(root, 'tests')):
        for name in filenames:
            path = os.path.join(dirpath, name)
            with open(path, encoding='utf-8', errors='replace') as f:
                count = sum(1 for line in f if MARK.match(line))
            if count:
                marks[os.path.relpath(path, root).replace(os.sep, '/')] = count
    with open(os.path.join(root, 'README.md'), encoding='utf-8') as f:
        listed = collections.Counter(LISTED.findall(f.read()))
    faults = ['%s: %d wine-quirk marks, %d lines in the README' % (path, marks[path], listed[path])
              for path in sorted(set(marks) | set(listed)) if marks[path] != listed[path]]
    print('\n'.join(faults) if faults else '%d wine-quirk marks, each listed in the README' % sum(marks.values()))
    return bool(faults)


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
