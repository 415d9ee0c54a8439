#!/usr/bin/env python3
"""Fails on an #include or a CMake target dependency that goes against the
layer order (README.md, "Architecture"):

    core  <  winutil  <  toolkit  <  locator, skin, navigation  <  app
    core  <  winutil  <  engine

A file or target may use what lies in a lower layer, never a higher one nor a
sibling feature. The pure part of a subsystem (the files at the top of its
folder) is core: it includes no Windows header and nothing but core/ and its
own subsystem's pure files. toolkit's pure part and resources/ serve the
program's layers from toolkit up, not the engine.

Usage: check_layers.py SOURCE_DIR BUILD_DIR CMAKE
The targets' dependencies come from CMake's file API (codemodel-v2). The
top-level CMakeLists.txt writes the query; CMake answers it from the next
generation on, so a build configured only once is generated again here.
"""
import json
import os
import re
import subprocess
import sys

RANK = {'core': 0, 'winutil': 1, 'toolkit': 2, 'engine': 2, 'feature': 3, 'app': 4}
FEATURES = ('locator', 'skin', 'navigation')
SUBSYSTEMS = ('toolkit',) + FEATURES + ('app',)
TARGETS = {
    'tolvane_core': ('core', 'core'),
    'tolvane_winutil': ('winutil', 'winutil'),
    'tolvane_toolkit': ('toolkit', 'toolkit'),
    'tolvane_locator': ('feature', 'locator'),
    'tolvane_skin': ('feature', 'skin'),
    'tolvane_navigation': ('feature', 'navigation'),
    'tolvane_app': ('app', 'app'),
    'tolvane': ('app', 'app'),
    'skin_engine': ('engine', 'engine'),
}
WINDOWS_HEADERS = re.compile(r'^(windows|win\w*|ole2|objbase|commctrl|commdlg|shellapi|shlobj|dwmapi|uxtheme|mmsystem)\.h$', re.I)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
SOURCE_SUFFIXES = ('.h', '.cpp', '.S')


def component(path):
    """(layer, subsystem) of a path relative to the source root, or None when
    the file belongs to no layer (tests, scripts, the build)."""
    parts = path.split('/')
    top = parts[0]
    if top == 'core' and len(parts) == 2:
        return ('core', 'core')
    if top == 'resources' and len(parts) == 2:
        return ('core', 'resources')
    if top == 'winutil' and len(parts) == 2:
        return ('winutil', 'winutil')
    if top == 'engine':
        if len(parts) == 2 and parts[1].startswith(('she_format.', 'frame_geometry.')):
            return ('core', 'engine')
        if len(parts) == 2:
            return ('engine', 'engine')
        return None  # engine/test: test code
    if top in SUBSYSTEMS:
        if len(parts) == 2:
            if top == 'app':  # the entry point and the runtime's traps
                return ('app', 'app')
            return ('core', top)
        if len(parts) == 3 and parts[1] == 'win':
            layer = 'feature' if top in FEATURES else top
            return (layer, top)
    return None


def may_use(user, used):
    """Whether a file or target of `user` may include or link one of `used`."""
    (ulayer, usub), (tlayer, tsub) = user, used
    if user == used:
        return True
    if ulayer == 'core':  # a pure part: core/ and its own subsystem's pure files
        return tlayer == 'core' and tsub in ('core', usub)
    if ulayer == 'engine':
        return used in (('core', 'core'), ('core', 'engine'), ('winutil', 'winutil'))
    if RANK[tlayer] >= RANK[ulayer]:
        return False
    if tlayer == 'core' and tsub not in ('core', usub, 'toolkit', 'resources') and ulayer != 'app':
        return False  # another feature's pure part
    if tsub == 'engine' and ulayer != 'app':
        return False  # the program knows the engine only as bytes it embeds
    return True


def check_includes(root):
    faults = []
    for dirpath, dirnames, filenames in os.walk(root):
        rel_dir = os.path.relpath(dirpath, root)
        dirnames[:] = [d for d in dirnames if not d.startswith('.') and not (rel_dir == '.' and d.startswith('build'))]
        for name in filenames:
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            rel = os.path.normpath(os.path.join(rel_dir, name)).replace(os.sep, '/')
            user = component(rel)
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
                        if user[0] == 'core' and WINDOWS_HEADERS.match(os.path.basename(header)):
                            faults.append(f'{where}: a Windows header in the pure core')
                        continue
                    used = component(header)
                    if used is None and user[1] == 'resources':
                        continue  # the resource script's own neighbours
                    if used is None:
                        faults.append(f'{where}: names no file of a layer (include paths start at the source root)')
                    elif not may_use(user, used):
                        faults.append(f'{where}: {user[0]}/{user[1]} may not include {used[0]}/{used[1]}')
    return faults


def check_targets(root, build, cmake):
    reply = os.path.join(build, '.cmake', 'api', 'v1', 'reply')
    if not os.path.isdir(reply):
        subprocess.run([cmake, build], stdout=subprocess.DEVNULL, check=True)
    indexes = sorted(f for f in os.listdir(reply) if f.startswith('index-')) if os.path.isdir(reply) else []
    if not indexes:
        return [f'no CMake file API reply in {reply}']
    with open(os.path.join(reply, indexes[-1])) as f:
        index = json.load(f)
    codemodel = next(r for r in index['objects'] if r['kind'] == 'codemodel')
    with open(os.path.join(reply, codemodel['jsonFile'])) as f:
        model = json.load(f)
    config = model['configurations'][0]
    targets = {}
    for t in config['targets']:
        with open(os.path.join(reply, t['jsonFile'])) as f:
            targets[t['id']] = json.load(f)
    faults, seen = [], set()
    for target in targets.values():
        name = target['name']
        if name not in TARGETS:
            continue
        seen.add(name)
        user = TARGETS[name]
        for dep in target.get('dependencies', []):
            dep_name = targets[dep['id']]['name']
            if dep_name in TARGETS and not may_use(user, TARGETS[dep_name]):
                faults.append(f'target {name} ({user[0]}) depends on {dep_name} ({TARGETS[dep_name][0]})')
        # Every source of a layer's target lies in that layer's folders.
        for source in target.get('sources', []):
            path = source['path']
            if os.path.isabs(path) or path.startswith('..') or not path.endswith(SOURCE_SUFFIXES):
                continue
            where = component(path)
            if where is None or (where[0] != user[0] and not (user[1] == 'engine' and where == ('core', 'engine'))):
                faults.append(f'target {name} ({user[0]}) builds {path}, which lies in {where[0] if where else "no layer"}')
    for name in TARGETS:
        if name not in seen:
            faults.append(f'target {name} is missing from the build: update the layer table here')
    return faults


def main():
    root, build, cmake = sys.argv[1:4]
    faults = check_includes(root) + check_targets(root, build, cmake)
    for fault in faults:
        print(fault)
    if faults:
        print(f'{len(faults)} dependencies against the layer order')
        return 1
    print('layers: every include and every target dependency points down')
    return 0


if __name__ == '__main__':
    sys.exit(main())
