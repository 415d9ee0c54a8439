#!/usr/bin/env python3
"""The build checks are tests too: each must reject the fault it exists for.
Every row builds a tiny input, runs one check on it and compares its verdict
with the expected one; a sound twin of each fault must pass, so a row cannot
pass only because its fixture is broken.
usage: checks_reject_test.py TESTS_DIR"""
import os
import stat
import subprocess
import sys
import tempfile
import unittest

TESTS = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else os.path.dirname(__file__))
sys.path.insert(0, TESTS)
import check_layers  # noqa: E402

RULES = '''low   low/*   low_lib   yes  -
high  high/*  high_lib  no   low
'''


def tree(files):
    root = tempfile.mkdtemp(prefix='tolvane-check-')
    for path, text in files.items():
        os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
        with open(os.path.join(root, path), 'w') as f:
            f.write(text)
        if text.startswith('#!'):
            os.chmod(os.path.join(root, path), stat.S_IRWXU)
    return root


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).returncode


class Layers(unittest.TestCase):
    def setUp(self):
        self.units, self.allowed = check_layers.read_rules(tree({'tests/layers.txt': RULES}) + '/tests/layers.txt')
        self.low, self.high = self.units

    def test_include(self):
        for user, line, rejected in [('low/a.cpp', '#include "high/b.h"', True),
                                     ('low/a.cpp', '#include <windows.h>', True),
                                     ('high/b.cpp', '#include "low/a.h"', False)]:
            root = tree({'tests/layers.txt': RULES, 'low/a.h': '', 'high/b.h': '', user: line + '\n'})
            with self.subTest(user=user, line=line):
                self.assertEqual(bool(check_layers.check_includes(root, self.units, self.allowed)), rejected)

    def test_target_link(self):
        for user, used, rejected in [('low_lib', 'high_lib', True), ('high_lib', 'low_lib', False)]:
            targets = {name: {'name': name, 'dependencies': [{'id': used}] if name == user else []}
                       for name in ('low_lib', 'high_lib')}
            with self.subTest(user=user):
                self.assertEqual(bool(check_layers.check_targets(self.units, self.allowed, targets)), rejected)

    def test_symbol(self):
        for caller, callee, runtime, rejected in [(self.low, self.high, set(), True),
                                                  (self.low, self.high, {'f'}, False),
                                                  (self.high, self.low, set(), False)]:
            libraries = {'caller': (caller, set(), {'f'}), 'callee': (callee, {'f'}, set())}
            with self.subTest(caller=caller.name, runtime=runtime):
                self.assertEqual(bool(check_layers.judge_symbols(libraries, self.allowed, runtime)), rejected)


class DllLoads(unittest.TestCase):
    def test_loads(self):
        folders = ('app', 'core', 'engine', 'locator', 'navigation', 'skin/win', 'toolkit', 'winutil')
        for path, line, rejected in [('toolkit/x.cpp', 'LoadLibraryA(name);', True),
                                     ('skin/win/dll_binding.cpp', 'LoadLibraryA("Skin.dll");', True),
                                     ('skin/win/dll_binding.cpp', 'LoadLibraryA(path);', False),
                                     ('toolkit/x.cpp', '// LoadLibraryA(name) would search the folder', False)]:
            root = tree({**{f + '/keep.h': '' for f in folders}, path: line + '\n'})
            with self.subTest(path=path, line=line):
                self.assertEqual(run(os.path.join(TESTS, 'check_dll_loads.sh'), root) != 0, rejected)


class FuzzFloor(unittest.TestCase):
    def test_floor(self):
        # A stand-in fuzzer: the seed run reports 50 features, the timed run
        # the figure of the row.
        for final, rejected in [(55, True), (60, False)]:
            root = tree({'fuzzer': '#!/bin/sh\ncase "$1" in -runs=0) f=50;; *) f=%d;; esac\n'
                                   'echo "#9 DONE cov: 1 ft: $f corp: 1"\n' % final})
            with self.subTest(final=final):
                rc = run(os.path.join(TESTS, 'native', 'fuzz_bounded.sh'), root + '/fuzzer', '1', '10',
                         root + '/scratch', root)
                self.assertEqual(rc != 0, rejected)


if __name__ == '__main__':
    unittest.main(verbosity=1)
