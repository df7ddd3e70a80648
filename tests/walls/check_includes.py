#!/usr/bin/env python3
"""The walls: every #include "..." of the project's sources names a file of its
own folder or of a folder that docs/architecture.md lets it include; a folder
whose row says "no window header" reaches no system window header (<windows.h>
and its kin), neither itself nor through the project's headers it includes.

  check_includes.py ROOT            checks the tree at ROOT against ROOT/docs/architecture.md
  check_includes.py --self-test     checks that broken walls are caught
"""
import os
import re
import sys
import tempfile

SOURCES = re.compile(r"\.(h|hpp|inl|c|cc|cpp|rc|idl)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
SYSTEM_INCLUDE = re.compile(r"^\s*#\s*include\s*<([^>]+)>", re.M)
WINDOW_HEADERS = re.compile(
    r"^(windows|windef|winbase|winuser|wingdi|winsock2?|ws2tcpip|commctrl|commdlg|shellapi|shlobj|"
    r"mmsystem|ole2|oleauto|olectl|objbase|ocidl|exdisp|mshtml|richedit|gdiplus\w*|atl\w*|afx\w*)\.h$", re.I)
FOLDER = re.compile(r"`([^`]+)`")
SKIPPED = {".git", "build"}


def read_rules(doc_text):
    """{folder: ([allowed folders] or None for anything, [forbidden folders])},
    from the table between the walls markers:
    | `folder` | ... | `a/`, `b/` (or anything); never `a/c/` |."""
    m = re.search(r"<!-- walls:begin -->(.*?)<!-- walls:end -->", doc_text, re.S)
    if not m:
        raise ValueError("docs/architecture.md has no walls table")
    rules = {}
    for line in m.group(1).splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) < 2 or not cells[0].startswith("`"):
            continue
        allowed, _, never = cells[-1].partition("never")
        folders = [f.strip("/") for f in FOLDER.findall(cells[0])]
        targets = None if "anything" in allowed else [f.strip("/") for f in FOLDER.findall(allowed)]
        forbidden = [f.strip("/") for f in FOLDER.findall(never)]
        for folder in folders:
            rules[folder] = (targets, forbidden)
    return rules


def windowless_folders(doc_text):
    """The folders whose row in the walls table says "no window header"."""
    m = re.search(r"<!-- walls:begin -->(.*?)<!-- walls:end -->", doc_text, re.S)
    folders = set()
    for line in (m.group(1) if m else "").splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) >= 2 and cells[0].startswith("`") and "no window header" in cells[-1]:
            folders.update(f.strip("/") for f in FOLDER.findall(cells[0]))
    return folders


def folder_of(path, rules):
    best = None
    for folder in rules:
        if (path + "/").startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best


def resolve(root, source, name):
    """The include as a path from the root, or None when it is not the project's."""
    top = name.split("/")[0]
    if "/" in name and top not in (".", "..") and os.path.isdir(os.path.join(root, top)) and top not in SKIPPED:
        return os.path.normpath(name).replace(os.sep, "/")
    local = os.path.normpath(os.path.join(os.path.dirname(source), name)).replace(os.sep, "/")
    return local if not local.startswith("..") and os.path.isfile(os.path.join(root, local)) else None


def read_source(root, source):
    with open(os.path.join(root, source), encoding="utf-8", errors="replace") as text:
        return text.read()


def window_header_reached(root, source, seen):
    """(window header, the project include it comes through or None) of the
    first window header the source reaches, or None."""
    if source in seen:
        return None
    seen.add(source)
    text = read_source(root, source)
    for name in SYSTEM_INCLUDE.findall(text):
        if WINDOW_HEADERS.match(name.strip()):
            return name.strip(), None
    for name in INCLUDE.findall(text):
        target = resolve(root, source, name)
        if target and os.path.isfile(os.path.join(root, target)):
            found = window_header_reached(root, target, seen)
            if found:
                return found[0], name
    return None


def check(root, rules, windowless=()):
    faults = []
    for dirpath, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs if d not in SKIPPED)
        for f in sorted(files):
            if not SOURCES.search(f):
                continue
            source = os.path.relpath(os.path.join(dirpath, f), root).replace(os.sep, "/")
            own = folder_of(source, rules)
            if own is None:
                faults.append("%s: its folder has no row in the walls table" % source)
                continue
            allowed, forbidden = rules[own]
            if allowed is None and not forbidden:
                continue
            for name in INCLUDE.findall(read_source(root, source)):
                target = resolve(root, source, name)
                if target is None:
                    continue
                inside = lambda folders: any((target + "/").startswith(f + "/") for f in folders)
                if inside(forbidden) or (allowed is not None and not inside([own] + allowed)):
                    faults.append('%s: includes "%s", which %s/ may not' % (source, name, own))
            if own in windowless:
                found = window_header_reached(root, source, set())
                if found and found[1] is None:
                    faults.append("%s: includes <%s>, a window header, which %s/ may not" % (source, found[0], own))
                elif found:
                    faults.append('%s: reaches <%s> through "%s", which %s/ may not' % (source, found[0], found[1], own))
    return faults


def self_test():
    doc = """<!-- walls:begin -->
| folder | may include |
|---|---|
| `platform/` | nothing |
| `game/core/` | `lobby/net/base/`, `platform/` |
| `game/core/table/` | `game/core/`; no window header |
| `game/ui/` | `game/core/`, `platform/` |
| `lobby/net/base/` | `platform/` |
| `lobby/ui/` | `lobby/net/`, `platform/`; never `lobby/ui/app/`, `lobby/ui/room/` |
| `lobby/ui/room/` | `lobby/ui/`, `platform/`; never `lobby/ui/app/` |
| `lobby/ui/app/` | `lobby/ui/`, `platform/` |
| `tests/` | anything |
<!-- walls:end -->"""
    tree = {
        "game/core/A.cpp": '#include "game/core/A.h"\n#include "lobby/net/base/B.h"\n#include "game/ui/T.h"\n',
        "game/core/A.h": '#include "../ui/T.h"\n#include <vector>\n#include "generated.h"\n',
        "game/core/table/G.cpp": '#include "game/core/table/G.h"\n#include "game/core/A.h"\n',
        "game/core/table/G.h": "#include <vector>\n",
        "game/core/table/V.h": '#include <Windows.h>\n',
        "game/core/table/X.cpp": '#include "game/core/table/G.h"\n#include "../../ui/T.h"\n',
        "game/ui/T.h": '#include "resource.h"\n#include "lobby/ui/W.h"\n',
        "game/ui/resource.h": "#include <windows.h>\n",
        "lobby/net/base/B.h": '#include "platform/P.h"\n#include "lobby/net/engine/E.h"\n',
        "lobby/ui/W.h": '#include "lobby/net/base/B.h"\n#include "game/core/A.h"\n#include "lobby/ui/app/M.h"\n',
        "lobby/ui/room/R.cpp": '#include "lobby/ui/W.h"\n#include "lobby/ui/room/R.h"\n#include "lobby/ui/app/M.h"\n',
        "lobby/ui/room/R.h": "",
        "lobby/ui/app/M.h": '#include "lobby/ui/room/R.h"\n#include "lobby/ui/W.h"\n',
        "platform/P.h": '  #  include "lobby/ui/W.h"\n',
        "tests/t.cpp": '#include "game/ui/T.h"\n',
        "tools/x.cpp": "",
    }
    with tempfile.TemporaryDirectory() as root:
        for path, text in tree.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w") as f:
                f.write(text)
        os.makedirs(os.path.join(root, "lobby/net/engine"))
        open(os.path.join(root, "lobby/net/engine/E.h"), "w").close()
        got = sorted(check(root, read_rules(doc), windowless_folders(doc)))
    expected = sorted([
        'game/core/A.cpp: includes "game/ui/T.h", which game/core/ may not',
        'game/core/A.h: includes "../ui/T.h", which game/core/ may not',
        'game/core/table/G.cpp: reaches <windows.h> through "game/core/A.h", which game/core/table/ may not',
        "game/core/table/V.h: includes <Windows.h>, a window header, which game/core/table/ may not",
        'game/core/table/X.cpp: includes "../../ui/T.h", which game/core/table/ may not',
        'game/core/table/X.cpp: reaches <windows.h> through "../../ui/T.h", which game/core/table/ may not',
        'game/ui/T.h: includes "lobby/ui/W.h", which game/ui/ may not',
        'lobby/net/base/B.h: includes "lobby/net/engine/E.h", which lobby/net/base/ may not',
        'lobby/ui/W.h: includes "game/core/A.h", which lobby/ui/ may not',
        'lobby/ui/W.h: includes "lobby/ui/app/M.h", which lobby/ui/ may not',
        'lobby/ui/room/R.cpp: includes "lobby/ui/app/M.h", which lobby/ui/room/ may not',
        'platform/P.h: includes "lobby/ui/W.h", which platform/ may not',
        "lobby/net/engine/E.h: its folder has no row in the walls table",
        "tools/x.cpp: its folder has no row in the walls table",
    ])
    if got != expected:
        print("self-test: expected\n  %s\ngot\n  %s" % ("\n  ".join(expected), "\n  ".join(got)))
        return 1
    print("self-test: every broken wall caught")
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2:
        print(__doc__)
        return 2
    root = argv[1]
    with open(os.path.join(root, "docs", "architecture.md"), encoding="utf-8") as doc:
        text = doc.read()
    faults = check(root, read_rules(text), windowless_folders(text))
    for fault in faults:
        print(fault)
    print("%d include(s) break the walls of docs/architecture.md" % len(faults) if faults else "the walls hold")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
