#!/usr/bin/env python3
"""Fails on anything that goes against the layer rules of buildcheck/layers.txt:
- an #include of a file of a unit the including unit may not use, of a
  header another unit keeps as its own, or of a Windows header in a pure unit;
- a CMake target that depends on a target of a unit it may not use, or
  builds a file of another unit;
- a static library (or object library) whose undefined symbols are defined
  only in libraries of units it may not use: a call that only the linker
  would resolve, against the layers, whatever the includes say.

Usage: check_layers.py SOURCE_DIR BUILD_DIR CMAKE CXX NM
The targets come from CMake's file API (codemodel-v2). The top-level
CMakeLists.txt writes the query; CMake answers it from the next generation
on, so a build configured only once is generated again here.
"""
import json
import os
import re
import subprocess
import sys

WINDOWS_HEADERS = re.compile(r'^(windows|win\w*|ole2|objbase|commctrl|commdlg|shellapi|shlobj|dwmapi|uxtheme|mmsystem)\.h$', re.I)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
SOURCE_SUFFIXES = ('.h', '.cpp', '.S')


def patterns(files):
    return [] if files == '-' else [re.compile('^' + re.escape(f).replace(r'\*', '[^/]*') + '$') for f in files.split(',')]


class Unit:
    def __init__(self, name, files, targets, pure, own, uses):
        self.name, self.pure, self.uses = name, pure == 'yes', [] if uses == ['-'] else uses
        self.patterns, self.own = patterns(files), patterns(own)
        self.targets = [] if targets == '-' else targets.split(',')


def read_rules(path):
    units = []
    with open(path, encoding='utf-8') as f:
        for line in f:
            fields = line.split('#', 1)[0].split()
            if fields:
                units.append(Unit(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5:]))
    by_name = {u.name: u for u in units}
    # What each unit may use: itself, what it names, and what those may use.
    allowed = {}
    def closure(unit):
        if unit.name not in allowed:
            allowed[unit.name] = {unit.name}
            for used in unit.uses:
                allowed[unit.name] |= closure(by_name[used])
        return allowed[unit.name]
    for u in units:
        closure(u)
    return units, allowed


def unit_of(units, path):
    return next((u for u in units if any(p.match(path) for p in u.patterns)), None)


def check_includes(root, units, allowed):
    faults = []
    for dirpath, dirnames, filenames in os.walk(root):
        rel_dir = os.path.relpath(dirpath, root)
        dirnames[:] = [d for d in dirnames if not d.startswith('.') and not (rel_dir == '.' and d.startswith('build'))]
        for name in filenames:
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            rel = os.path.normpath(os.path.join(rel_dir, name)).replace(os.sep, '/')
            user = unit_of(units, rel)
            if user is None:
                continue
            with open(os.path.join(dirpath, name), encoding='utf-8', errors='replace') as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    kind, header = m.groups()
                    where = f'{rel}:{number}: #include {kind}{header}{">" if kind == "<" else kind}'
                    if kind == '<':
                        if user.pure and WINDOWS_HEADERS.match(os.path.basename(header)):
                            faults.append(f'{where}: a Windows header in pure code')
                        continue
                    # From the source root, or else beside the including file.
                    path = header if unit_of(units, header) else os.path.normpath(os.path.join(os.path.dirname(rel), header))
                    used = unit_of(units, path)
                    if used is None:
                        faults.append(f'{where}: names no file of a layer (include paths start at the source root)')
                    elif used.name not in allowed[user.name]:
                        faults.append(f'{where}: {user.name} may not use {used.name}')
                    elif used is not user and any(p.match(path) for p in used.own):
                        faults.append(f'{where}: a header {used.name} keeps as its own')
    return faults


def load_targets(build, cmake):
    reply = os.path.join(build, '.cmake', 'api', 'v1', 'reply')
    if not os.path.isdir(reply):
        subprocess.run([cmake, build], stdout=subprocess.DEVNULL, check=True)
    indexes = sorted(f for f in os.listdir(reply) if f.startswith('index-')) if os.path.isdir(reply) else []
    if not indexes:
        return None
    with open(os.path.join(reply, indexes[-1])) as f:
        index = json.load(f)
    codemodel = next(r for r in index['objects'] if r['kind'] == 'codemodel')
    with open(os.path.join(reply, codemodel['jsonFile'])) as f:
        model = json.load(f)
    targets = {}
    for t in model['configurations'][0]['targets']:
        with open(os.path.join(reply, t['jsonFile'])) as f:
            targets[t['id']] = json.load(f)
    return targets


def check_targets(units, allowed, targets):
    owner = {t: u for u in units for t in u.targets}
    faults, seen = [], set()
    for target in targets.values():
        name = target['name']
        user = owner.get(name)
        if user is None:
            continue
        seen.add(name)
        for dep in target.get('dependencies', []):
            dep_unit = owner.get(targets[dep['id']]['name'])
            if dep_unit and dep_unit.name not in allowed[user.name]:
                faults.append(f'target {name} ({user.name}) depends on {targets[dep["id"]]["name"]} ({dep_unit.name})')
        for source in target.get('sources', []):
            path = source['path']
            if os.path.isabs(path) or path.startswith('..') or not path.endswith(SOURCE_SUFFIXES):
                continue
            where = unit_of(units, path)
            if where is not user:
                faults.append(f'target {name} ({user.name}) builds {path}, which lies in {where.name if where else "no layer"}')
    for name in owner:
        if name not in seen:
            faults.append(f'target {name} is missing from the build: update buildcheck/layers.txt')
    return faults


def symbols(nm, files, defined):
    args = [nm, '-g', '--defined-only' if defined else '--undefined-only', '--format=posix'] + files
    out = subprocess.run(args, capture_output=True, text=True, check=True).stdout
    return {line.split()[0] for line in out.splitlines() if line and not line.endswith(':') and len(line.split()) >= 2}


def runtime_symbols(nm, compiler):
    """What the C++ runtime and the stack protector's define: a library calling
    operator new, or checking the stack guard, calls the runtime, whichever
    layer replaces it."""
    defined = set()
    for name in ('libstdc++.a', 'libssp.a'):
        library = subprocess.run([compiler, '-print-file-name=' + name], capture_output=True, text=True).stdout.strip()
        if os.path.isabs(library):
            defined |= symbols(nm, [library], True)
    return defined


def library_symbols(build, nm, units, targets):
    """Each library of a layer: its unit, the symbols it defines and those it
    leaves to the linker."""
    owner = {t: u for u in units for t in u.targets}
    libraries = {}
    for target in targets.values():
        unit = owner.get(target['name'])
        if unit and target['type'] in ('STATIC_LIBRARY', 'OBJECT_LIBRARY'):
            files = [os.path.join(build, a['path']) for a in target.get('artifacts', [])]
            files = [f for f in files if os.path.exists(f)]
            if files:
                libraries[target['name']] = (unit, symbols(nm, files, True), symbols(nm, files, False))
    return libraries


def judge_symbols(libraries, allowed, runtime):
    if not libraries:
        return ['no libraries to read the symbols of: build first']
    defined_in = {}
    for name, (unit, defined, _) in libraries.items():
        for sym in defined:
            defined_in.setdefault(sym, set()).add(unit.name)
    faults = []
    for name, (unit, _, undefined) in sorted(libraries.items()):
        for sym in sorted(undefined):
            providers = defined_in.get(sym)
            if providers and not providers & allowed[unit.name] and sym not in runtime:
                faults.append(f'library {name} ({unit.name}) calls {sym}, defined only in {", ".join(sorted(providers))}')
    return faults


def main():
    root, build, cmake, compiler, nm = sys.argv[1:6]
    units, allowed = read_rules(os.path.join(root, 'buildcheck', 'layers.txt'))
    faults = check_includes(root, units, allowed)
    targets = load_targets(build, cmake)
    if targets is None:
        faults.append('no CMake file API reply in the build')
    else:
        faults += check_targets(units, allowed, targets)
        faults += judge_symbols(library_symbols(build, nm, units, targets), allowed, runtime_symbols(nm, compiler))
    for fault in faults:
        print(fault)
    if faults:
        print(f'{len(faults)} uses against the layer rules')
        return 1
    print('layers: every include, target dependency and library symbol points down')
    return 0


if __name__ == '__main__':
    sys.exit(main())
