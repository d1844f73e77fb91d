#!/usr/bin/env python3
"""check-rooms.py SRC: fails when the sources break the house's floor plan.

Each folder of src/ is a room. A file may include headers of its own room and
of the rooms listed below it, never of a room above: the window and the runs
without a window stand on the installation model, which stands on the
support, registry and registration rooms; the registration helper and the
access test stand on the helper host. No two modules (a header with its
source) may include each other round a circle, except the files of the one
window class, which are one class split by concern. No source file grows past
the size a reader can hold at once.

Some platform calls belong to one owner: the calls that give back a handle,
memory, a command line's words or a COM apartment are made only by the
owners in support/, and processes and pipes are made only by the helper host.
"""
import collections
import pathlib
import re
import sys

# What each room may reach besides itself.
ALLOWED = {
    "support": set(),
    "registry": {"support"},
    "helperhost": {"support"},
    "registration": {"support", "helperhost"},
    "tooltips": {"support"},
    "wizard/resources": {"support", "wizard"},  # the pages' artwork, named by the table
    "installation": {"support", "registry", "registration", "helperhost"},
    "access": {"support", "registry", "helperhost"},
    "console": {"support", "registry", "registration", "installation", "access", "helperhost"},
    "wizard": {"support", "registry", "registration", "tooltips", "installation", "access",
               "helperhost", "wizard/resources"},
    ".": None,  # main.cpp chooses between them all
}
MOST_LINES = 450
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
# Calls that only the rooms named may make.
OWNED_CALLS = {
    "support": ["CommandLineToArgvW", "LocalFree", "CloseHandle", "CoUninitialize",
                "OleUninitialize"],
    "helperhost": ["CreateProcessW", "CreateProcessAsUserW", "CreatePipe", "CreateNamedPipeW",
                   "ConnectNamedPipe"],
}
COMMENT = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"', re.S)


def owned_call_faults(path, room, text):
    code = COMMENT.sub(" ", text)
    faults = []
    for owner, calls in OWNED_CALLS.items():
        if room == owner:
            continue
        for call in calls:
            if re.search(r"\b" + call + r"\b", code):
                faults.append(f"{path}: calls {call}, which only {owner}/ may")
    return faults


def room_of(path, src):
    rel = path.relative_to(src).parent.as_posix()
    return rel if rel in ALLOWED else None


def module_of(path):
    # The window class's files are one class; the rest pair a header with its source.
    name = path.stem
    return "frmMain" if name.startswith("frmMain") else f"{path.parent.name}/{name}"


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src").resolve()
    files = sorted(p for p in src.rglob("*") if p.suffix in {".h", ".cpp", ".c"})
    headers = {}
    for p in files:
        if p.suffix == ".h":
            headers.setdefault(p.name, []).append(p)
    faults = []
    edges = collections.defaultdict(set)
    for p in files:
        room = room_of(p, src)
        if room is None:
            faults.append(f"{p.relative_to(src)}: in no known room")
            continue
        text = p.read_text(encoding="utf-8", errors="replace")
        faults += owned_call_faults(p.relative_to(src), room, text)
        lines = text.count("\n")
        if lines > MOST_LINES:
            faults.append(f"{p.relative_to(src)}: {lines} lines, more than {MOST_LINES}")
        for name in INCLUDE.findall(text):
            found = headers.get(pathlib.PurePath(name).name)
            if not found:
                continue  # a generated or platform header
            if len(found) > 1:
                faults.append(f"{p.relative_to(src)}: \"{name}\" names {len(found)} headers")
                continue
            target = found[0]
            theirs = room_of(target, src)
            allowed = ALLOWED[room]
            if allowed is not None and theirs != room and theirs not in allowed:
                faults.append(f"{p.relative_to(src)}: includes {target.relative_to(src)}, "
                              f"a room above or beside {room}/")
            a, b = module_of(p), module_of(target)
            if a != b:
                edges[a].add(b)
    # Circles between modules, found by a depth-first walk.
    state, stack = {}, []

    def walk(node):
        state[node] = "open"
        stack.append(node)
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == "open":
                faults.append("circle: " + " -> ".join(stack[stack.index(nxt):] + [nxt]))
            elif nxt not in state:
                walk(nxt)
        stack.pop()
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            walk(node)
    for fault in faults:
        print(fault)
    print(f"check-rooms: {len(files)} files, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
