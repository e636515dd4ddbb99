#!/usr/bin/env python3
"""The demo's record of a Wine prefix's state, and the comparison with it.

  machine-state.py record  --wine LOADER --prefix PREFIX --out DIR
  machine-state.py compare --wine LOADER --prefix PREFIX --before DIR --after DIR
                           [--script SETUP.REG] [--script-tolerated]

record exports HKLM\\Software, HKEY_CLASSES_ROOT and HKCU\\Software with
regedit /e and lists drive_c (every folder and file with its size).
compare records again into --after and prints what differs from --before:
keys, values and files that appeared, went or changed. Differences that
Wine itself makes while programs run (listed in WINE_KEYS and WINE_FILES
below, each with its reason) are shown apart and allowed. With
--script-tolerated, keys below those of the registry script --script are
reported as "left by the registry script (needs uninstall.reg)" without
counting as leftovers (installs that wrote no uninstall.reg cannot remove
them). The exit code is 0 when nothing else differs.
"""
import argparse
import os
import re
import subprocess
import sys

HIVES = [("hklm", r"HKEY_LOCAL_MACHINE\Software"), ("hkcr", "HKEY_CLASSES_ROOT"),
         ("hkcu", r"HKEY_CURRENT_USER\Software")]

# Registry keys (regular expressions on the full key, case-insensitive) that
# Wine changes by itself while any program runs; not the product's doing.
WINE_KEYS = [
    # Wine notes every start-menu and desktop shortcut a program writes with
    # the menu files it would make on the host (here in the demo's own home,
    # with the menu builder off); it keeps the notes when the shortcut goes.
    (r"HKEY_CURRENT_USER\\Software\\Wine\\MenuFiles$", "Wine's notes of the host menu files for shortcuts"),
    # user32 keeps the session's system parameters that are not to be
    # saved (the mouse settings the X11 driver takes from the display) under
    # a key of its own; it appears in some runs, whenever a window first
    # asks for them.
    (r"HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters(\\.*)?$",
     "user32's session-only system parameters"),
    # The browser that Finish opens (the product's web page) makes Wine
    # list the network adapters and wininet write its proxy setting.
    (r"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards(\\.*)?$",
     "network adapters Wine lists when the browser first uses the network"),
    (r"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings$",
     "wininet's proxy setting, written when the browser first runs"),
]

# Files (regular expressions on the path below drive_c) that Wine writes by
# itself.
WINE_FILES = [
    (r"users/[^/]+/AppData/Local/Microsoft/Windows/INetCookies(/.*)?$",
     "wininet's cookie store, made when the browser first runs"),
]

# Files the package installs that install.txt does not name: the uninstaller
# removes only what the log names, so they stay. Shown as their own group and
# not counted as leftovers of the uninstall (the install log has to name them
# before any uninstaller may remove them).
OUTSIDE_LOG = [
    (r"Program Files/Brindle[^/]*(/common(/.*)?)?$",
     "the maker's folder with common/brindle.txt, copied by the installer but not named in install.txt"),
]


def run(loader, *args, timeout=60):
    return subprocess.run([loader, *args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          timeout=timeout).returncode


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def record(loader, prefix, out):
    os.makedirs(out, exist_ok=True)
    for name, key in HIVES:
        target = os.path.join(out, name + ".reg")
        if os.path.exists(target):
            os.remove(target)
        run(loader, "regedit", "/e", windows_path(target), key, timeout=120)
        if not os.path.isfile(target):
            sys.exit(f"machine-state: regedit /e {key} wrote nothing")
    drive = os.path.join(prefix, "drive_c")
    with open(os.path.join(out, "files.txt"), "w", encoding="utf-8", errors="surrogateescape") as listing:
        for folder, dirs, files in os.walk(drive):
            dirs.sort()
            relative = os.path.relpath(folder, drive)
            if relative != ".":
                listing.write(f"d {relative}\n")
            for f in sorted(files):
                path = os.path.join(folder, f)
                size = os.path.getsize(path) if os.path.isfile(path) else -1
                listing.write(f"f {os.path.normpath(os.path.join(relative, f))}\t{size}\n")


def read_reg(path):
    """{key: {value line}} from a regedit export (UTF-16 or UTF-8)."""
    raw = open(path, "rb").read()
    text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8", "replace")
    keys, key, pending = {}, None, ""
    for line in text.replace("\r", "").split("\n"):
        if pending:
            line = pending + line.strip()
            pending = ""
        if line.endswith("\\") and key is not None and not line.startswith("["):
            pending = line[:-1]
            continue
        if line.startswith("[") and line.endswith("]"):
            key = line[1:-1]
            keys.setdefault(key, set())
        elif key is not None and line and not line.startswith(";"):
            keys[key].add(line)
    return keys


def read_files(path):
    entries = {}
    for line in open(path, encoding="utf-8", errors="surrogateescape"):
        line = line.rstrip("\n")
        if line[:2] in ("d ", "f "):
            name, _, size = line[2:].partition("\t")
            entries[name] = (line[0], size)
    return entries


def script_keys(path):
    if not path:
        return []
    raw = open(path, "rb").read()
    text = raw.decode("gbk", "replace")
    return [line.strip()[1:-1] for line in text.split("\n")
            if line.strip().startswith("[") and line.strip().endswith("]")]


def classes_root(key):
    """A key of HKLM\\Software\\Classes under the name HKEY_CLASSES_ROOT shows it by."""
    key = key.upper()
    machine = "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES"
    return "HKEY_CLASSES_ROOT" + key[len(machine):] if key == machine or key.startswith(machine + "\\") else key


def why_allowed(rules, name):
    for pattern, reason in rules:
        if re.match(pattern, name, re.IGNORECASE):
            return reason
    return None


def compare(args):
    record(args.wine, args.prefix, args.after)
    allowed, left, script_left, unlogged = {}, [], [], []
    scripted = [classes_root(k) for k in script_keys(args.script)]

    def note(rules, name, what):
        reason = why_allowed(rules, name)
        if rules is WINE_FILES and why_allowed(OUTSIDE_LOG, name):
            unlogged.append(what)
        elif reason:
            allowed.setdefault(reason, []).append(what)
        elif args.script_tolerated and any(classes_root(name) == k or classes_root(name).startswith(k + "\\")
                                           for k in scripted):
            script_left.append(what)
        else:
            left.append(what)

    key_count = 0
    for name, _ in HIVES:
        before = read_reg(os.path.join(args.before, name + ".reg"))
        after = read_reg(os.path.join(args.after, name + ".reg"))
        key_count += len(before)
        for key in sorted(set(before) | set(after), key=str.lower):
            if key not in after:
                note(WINE_KEYS, key, f"key gone:    [{key}]")
            elif key not in before:
                note(WINE_KEYS, key, f"key added:   [{key}]")
            else:
                for value in sorted(before[key] ^ after[key]):
                    sign = "gone " if value in before[key] else "added"
                    note(WINE_KEYS, key, f"value {sign}: [{key}] {value[:120]}")
    before = read_files(os.path.join(args.before, "files.txt"))
    after = read_files(os.path.join(args.after, "files.txt"))
    for name in sorted(set(before) | set(after)):
        if name not in after:
            note(WINE_FILES, name, f"file gone:   {name}")
        elif name not in before:
            note(WINE_FILES, name, f"file added:  {name}")
        elif before[name] != after[name]:
            note(WINE_FILES, name, f"file changed: {name} ({before[name][1]} -> {after[name][1]} bytes)")

    print(f"  compared {key_count} registry keys and {len(before)} drive_c entries with the recorded state")
    for reason, items in allowed.items():
        print(f"  allowed, {reason}: {len(items)} difference(s)")
        for item in items[:3]:
            print(f"      {item}")
        if len(items) > 3:
            print(f"      ... {len(items) - 3} more")
    if script_left:
        print(f"  left by the registry script (needs uninstall.reg): {len(script_left)}")
        for item in script_left:
            print(f"      {item}")
    if unlogged:
        print(f"  left because install.txt does not name them ({OUTSIDE_LOG[0][1]}): {len(unlogged)}")
        for item in unlogged:
            print(f"      {item}")
    if left:
        print(f"  LEFT BEHIND: {len(left)}")
        for item in left[:60]:
            print(f"      {item}")
        if len(left) > 60:
            print(f"      ... {len(left) - 60} more")
    else:
        print("  nothing else differs: the machine is as it was before the first install")
    return 1 if left else 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", choices=["record", "compare"])
    parser.add_argument("--wine", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--out")
    parser.add_argument("--before")
    parser.add_argument("--after")
    parser.add_argument("--script")
    parser.add_argument("--script-tolerated", action="store_true")
    args = parser.parse_args()
    if args.command == "record":
        record(args.wine, args.prefix, args.out)
        return 0
    return compare(args)


if __name__ == "__main__":
    sys.exit(main())
