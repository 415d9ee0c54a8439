#!/usr/bin/env python3
"""The build checks are tests too: each must reject the fault it exists for.
Every row builds a tiny input, runs one check on it and compares its verdict
with the expected one; a sound twin of each fault must pass, so a row cannot
pass only because its fixture is broken. The images are made for the row by
the cross compiler, a few lines of C each."""
import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

CHECKS = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, CHECKS)
import check_layers  # noqa: E402

# Every row's folder lies in this one, which goes when the run ends.
SCRATCH = tempfile.TemporaryDirectory(prefix='tolvane-check-')

RULES = '''low   low/*   low_lib   yes  low/own.h  -
high  high/*  high_lib  no   -          low
'''


def tree(files):
    root = tempfile.mkdtemp(dir=SCRATCH.name)
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
        rules = os.path.join(tree({'buildcheck/layers.txt': RULES}), 'buildcheck', 'layers.txt')
        self.units, self.allowed = check_layers.read_rules(rules)
        self.low, self.high = self.units

    def test_include(self):
        for user, line, rejected in [('low/a.cpp', '#include "high/b.h"', True),
                                     ('low/a.cpp', '#include <windows.h>', True),
                                     ('high/b.cpp', '#include "low/a.h"', False),
                                     ('high/b.cpp', '#include "low/own.h"', True),
                                     ('low/a.cpp', '#include "own.h"', False)]:
            root = tree({'buildcheck/layers.txt': RULES, 'low/a.h': '', 'low/own.h': '', 'high/b.h': '', user: line + '\n'})
            with self.subTest(user=user, line=line):
                self.assertEqual(bool(check_layers.check_includes(root, self.units, self.allowed)), rejected)

    def test_target(self):
        # A target that links a unit above it, or builds a file of another
        # unit or of none.
        for user, used, built, rejected in [('low_lib', 'high_lib', None, True),
                                            ('high_lib', 'low_lib', None, False),
                                            ('high_lib', None, 'low/a.cpp', True),
                                            ('high_lib', None, 'tests/a.cpp', True),
                                            ('high_lib', None, 'high/b.cpp', False)]:
            targets = {name: {'name': name, 'dependencies': [{'id': used}] if name == user and used else [],
                              'sources': [{'path': built}] if name == user and built else []}
                       for name in ('low_lib', 'high_lib')}
            with self.subTest(user=user, used=used, built=built):
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
        # The folders searched are the layer table's: "high" is none of the
        # program's, and only the table names it.
        rules = RULES + 'skin_setup  skin_setup/win/*  -  no  -  low\n'
        for path, line, rejected in [('high/x.cpp', 'LoadLibraryA(name);', True),
                                     ('skin_setup/win/dll_binding.cpp', 'LoadLibraryA("Skin.dll");', True),
                                     ('skin_setup/win/dll_binding.cpp', 'LoadLibraryA(path);', False),
                                     ('high/x.cpp', '// LoadLibraryA(name) would search the folder', False)]:
            root = tree({'buildcheck/layers.txt': rules, path: line + '\n'})
            with self.subTest(path=path, line=line):
                self.assertEqual(run(os.path.join(CHECKS, 'check_dll_loads.sh'), root) != 0, rejected)


def cross(root, name, source, *flags):
    """A tiny GUI image of the cross compiler's, made for one row."""
    with open(os.path.join(root, name + '.c'), 'w') as f:
        f.write(source)
    out = os.path.join(root, name + '.exe')
    subprocess.run(['i686-w64-mingw32-gcc', '-mwindows', '-s', '-o', out, os.path.join(root, name + '.c')] + list(flags),
                   check=True)
    return out


def output(*args):
    run = subprocess.run(args, capture_output=True, text=True)
    return run.returncode, run.stdout + run.stderr


WINMAIN = '#include <windows.h>\n#include <commctrl.h>\nint WINAPI WinMain(HINSTANCE a, HINSTANCE b, LPSTR c, int d) { %s; return 0; }\n'
# A dozen functions that -fstack-protector-strong guards, each with an array.
GUARDED = ''.join('int f%d(char *s) { char b[16]; return lstrlenA(lstrcpyA(b, s)); }\n' % i for i in range(12))


class Imports(unittest.TestCase):
    def test_imports(self):
        root = tree({})
        sound = cross(root, 'sound', WINMAIN % 'Sleep(1)')
        # The allowlist is the sound image's own imports, so only a row's one
        # extra import can be missing from it.
        listed = subprocess.run(['i686-w64-mingw32-objdump', '-p', sound], capture_output=True, text=True).stdout
        allow, dll = [], ''
        for line in listed.splitlines():
            if 'DLL Name:' in line:
                dll = line.split()[-1].lower()
            elif not line.strip():
                dll = ''
            elif dll and line.startswith('\t') and len(line.split()) >= 3 and line.split()[0] != 'vma:':
                allow.append('%s %s XP' % (dll, line.split()[2]))
        with open(os.path.join(root, 'allow.txt'), 'w') as f:
            f.write('\n'.join(allow) + '\n')
        for image, fault in [(sound, None),
                             (cross(root, 'later', WINMAIN % 'GetTickCount64()', '-D_WIN32_WINNT=0x0600'),
                              'which the allowlist lacks'),
                             (cross(root, 'comctl', WINMAIN % 'InitCommonControls()',
                                    '-lcomctl32'), 'by name'),
                             # A DLL fails on more than that; the sound image is its twin.
                             (cross(root, 'console', WINMAIN % 'Sleep(1)', '-shared', '-Wl,--subsystem,console'),
                              'not a GUI subsystem image')]:
            rc, said = output(os.path.join(CHECKS, 'check_imports.sh'), os.path.join(root, 'allow.txt'), image)
            with self.subTest(image=os.path.basename(image)):
                self.assertEqual(rc != 0, fault is not None, said)
                if fault:
                    self.assertIn(fault, said)


class Release(unittest.TestCase):
    def test_binaries(self):
        # A Chinese block, with its resources in Chinese or left in windres' default, English.
        block = ('1 VERSIONINFO\nBEGIN\n BLOCK "StringFileInfo"\n BEGIN\n  BLOCK "080404b0"\n  BEGIN\n'
                 '   VALUE "OriginalFilename", "flagged.exe"\n  END\n END\n'
                 ' BLOCK "VarFileInfo"\n BEGIN\n  VALUE "Translation", 0x0804, 1200\n END\nEND\n')
        root = tree({'chinese.rc': 'LANGUAGE 4, 2\n' + block, 'english.rc': block})
        for rc in ('chinese', 'english'):
            subprocess.run(['i686-w64-mingw32-windres', os.path.join(root, rc + '.rc'), '-O', 'coff', '-o',
                            os.path.join(root, rc + '.o')], check=True)
        flagged = cross(root, 'flagged', WINMAIN % 'Sleep(1)' + GUARDED, os.path.join(root, 'chinese.o'),
                        '-Wl,--tsaware', '-fstack-protector-strong', '-Wl,--no-seh')
        # Of the three hardening bits only the dynamic base, and no guard; a
        # block named for another file.
        bare = cross(root, 'bare', WINMAIN % 'Sleep(1)' + GUARDED, os.path.join(root, 'english.o'),
                     '-Wl,--disable-nxcompat')
        # Each image fails other checks too (it embeds no engine): a row asks
        # only whether its own fault is named.
        for image, fault, named in [(flagged, 'not terminal-server aware', False),
                                    (flagged, 'no version block of its own', False),
                                    (flagged, 'lacks dynamic base', False),
                                    (flagged, 'stack guard checks', False),
                                    (flagged, 'not in the language', False),
                                    (bare, 'not terminal-server aware', True),
                                    (bare, 'no version block of its own', True),
                                    (bare, 'lacks dynamic base', True),
                                    (bare, 'stack guard checks', True),
                                    (bare, 'not in the language', True)]:
            _, said = output(os.path.join(CHECKS, 'check_release.sh'), 'binaries', image, image, root)
            with self.subTest(image=os.path.basename(image), fault=fault):
                self.assertEqual(fault in said, named, said)


class Format(unittest.TestCase):
    def test_tree_without_git(self):
        # A source archive: its files found by walking it, the build left out.
        for extra, rejected in [({}, False), ({'sub/b.h': 'int  y;\n'}, True)]:
            root = tree(dict(extra, **{'.clang-format': 'BasedOnStyle: LLVM\n', '.gitignore': '/build\n',
                                       'a.cpp': 'int x;\n', 'build/c.cpp': 'int  z;\n'}))
            with self.subTest(extra=sorted(extra)):
                self.assertEqual(run(os.path.join(CHECKS, 'check_format.sh'), root, 'clang-format') != 0, rejected)


# A file of the program as the cross build compiles it (GBK literals among
# the flags, the C++ library's headers), under the tree's own .clang-tidy.
TIDIED = '#include <windows.h>\n#include <cstring>\n#include <string>\n' \
         'std::string Name() { return "名"; }\nvoid Clear(RECT& rc) { std::memset(&rc, %s); }\n'


class Tidy(unittest.TestCase):
    def test_tidy(self):
        with open(os.path.join(CHECKS, '..', '.clang-tidy')) as f:
            config = f.read()
        for args, tool, fault in [('0, sizeof rc', 'clang-tidy', None),
                                  ('sizeof rc, 0', 'clang-tidy', 'bugprone-suspicious-memset-usage'),
                                  ('0, sizeof rc', 'other', 'tuned for clang-tidy 14')]:
            root = tree({'.clang-tidy': config, 'a.cpp': TIDIED % args,
                         'other': '#!/bin/sh\necho "Debian LLVM version 15.0.6"\n'})
            os.mkdir(os.path.join(root, 'build'))
            with open(os.path.join(root, 'build', 'compile_commands.json'), 'w') as f:
                json.dump([{'directory': root + '/build', 'file': root + '/a.cpp', 'command': 'i686-w64-mingw32-g++ '
                            '-finput-charset=UTF-8 -fexec-charset=GBK -std=gnu++17 -c ' + root + '/a.cpp'}], f)
            rc, said = output(os.path.join(CHECKS, 'check_tidy.sh'), root, root + '/build',
                              shutil.which(tool) or os.path.join(root, tool), 'i686-w64-mingw32-g++')
            with self.subTest(args=args, tool=tool):
                self.assertEqual(rc != 0, fault is not None, said)
                if fault:
                    self.assertIn(fault, said)


class QuirkMarks(unittest.TestCase):
    def test_marks(self):
        marked = '    // wine-quirk: Windows does otherwise.\n    EXPECT_TRUE(x);\n'
        for readme, rejected in [('  - `tests/a.cpp`: x\n', False), ('', True), ('  - `tests/b.cpp`: x\n', True)]:
            root = tree({'README.md': readme, 'tests/a.cpp': marked})
            with self.subTest(readme=readme):
                self.assertEqual(run(os.path.join(CHECKS, 'check_quirk_marks.py'), root) != 0, rejected)


class Icon(unittest.TestCase):
    def test_icon(self):
        # The icon as the script draws it, and with one pixel's blue changed.
        sys.dont_write_bytecode = True  # nothing of the run in the source tree
        sys.path.insert(0, os.path.join(CHECKS, '..', 'scripts'))
        import make_icon
        drawn = make_icon.icon()
        for at, rejected in [(None, False), (drawn.index(b'\x91\x4f\x1d\xff'), True)]:
            icon = os.path.join(tree({}), 'a.ico')
            with open(icon, 'wb') as f:
                f.write(drawn if at is None else drawn[:at] + b'\x90' + drawn[at + 1:])
            with self.subTest(changed=at):
                self.assertEqual(run(sys.executable, make_icon.__file__, '--check', icon) != 0, rejected)


class FuzzFloor(unittest.TestCase):
    def test_floor(self):
        # A stand-in fuzzer: the seed run reports 50 features, the timed run
        # the figure of the row.
        for final, rejected in [(55, True), (60, False)]:
            root = tree({'fuzzer': '#!/bin/sh\ncase "$1" in -runs=0) f=50;; *) f=%d;; esac\n'
                                   'echo "#9 DONE cov: 1 ft: $f corp: 1"\n' % final})
            with self.subTest(final=final):
                rc = run(os.path.join(CHECKS, '..', 'tests', 'native', 'fuzz_bounded.sh'), root + '/fuzzer', '1', '10',
                         root + '/scratch', root)
                self.assertEqual(rc != 0, rejected)


if __name__ == '__main__':
    unittest.main(verbosity=1)
