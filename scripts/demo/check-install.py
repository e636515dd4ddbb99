#!/usr/bin/env python3
"""Checks and prints what one run of the sample installer left in a Wine prefix.

    check-install.py previous --wine LOADER --prefix DIR EXT...
        prints "EXT=handler" for every extension that has a handler now
        (the handlers an install will record in filelink.txt)
    check-install.py check --wine LOADER --prefix DIR --probe WINPATH
                     --root 'C:\\...' --payload DIR --types EXT,... --absent EXT,...
                     --previous FILE --browser-opened 0|1
        prints the installed files, shortcuts, registry entries, install.txt and
        filelink.txt, checks them, and exits 1 when a check failed

Wine is run with the environment of the caller (WINEPREFIX, DISPLAY...).
"""
import argparse
import filecmp
import os
import subprocess
import sys

# The names printed are GBK names decoded; print them as UTF-8 whatever the
# locale (the demo runs under zh_CN.UTF-8, which may not be installed).
sys.stdout.reconfigure(encoding="utf-8", errors="replace")

CLSID = "{48A1EF65-E1F5-4160-9C9F-2CC97D698872}"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumo"


class Report:
    def __init__(self):
        self.checked = 0
        self.failed = []

    def check(self, ok, what):
        self.checked += 1
        if ok:
            print(f"    ok    {what}")
        else:
            print(f"    FAIL  {what}")
            self.failed.append(what)


def run_wine(loader, *args, timeout=60):
    # English messages from Wine's own tools ("(Default)" in reg's output).
    env = dict(os.environ, LANG="en_US.UTF-8")
    result = subprocess.run([loader, *args], capture_output=True, timeout=timeout, env=env)
    return result.returncode, result.stdout.decode("utf-8", "replace")


def reg_query(loader, key, shown=None):
    """{subkey path (lower case): {value name (lower case): data}} below key, or None.
    The output of "reg query" goes to the list shown when one is given."""
    rc, text = run_wine(loader, "reg", "query", key, "/s")
    if shown is not None:
        shown.extend(line for line in text.replace("\r", "").split("\n") if line.strip())
    if rc != 0:
        return None
    keys = {}
    current = None
    for line in text.replace("\r", "").split("\n"):
        if not line.strip():
            continue
        if not line.startswith(" "):
            current = keys.setdefault(line.strip().lower(), {})
            continue
        parts = line.strip().split("    ")
        if current is None or len(parts) < 2:
            continue
        name = parts[0].strip()
        data = parts[2].strip() if len(parts) > 2 else ""
        current["" if name == "(Default)" else name.lower()] = data
    return keys


def expand_root(key):
    for short, full in (("HKLM\\", "HKEY_LOCAL_MACHINE\\"), ("HKCR\\", "HKEY_CLASSES_ROOT\\")):
        if key.upper().startswith(short):
            return full + key[len(short):]
    return key


def unix_path(prefix, windows_path):
    drive, rest = windows_path[0].lower(), windows_path[2:].replace("\\", "/").lstrip("/")
    return os.path.join(prefix, "dosdevices", f"{drive}:", rest)


def read_text(path):
    with open(path, "rb") as stream:
        return stream.read().decode("gbk", "replace").replace("\r\n", "\n")


def cmd_previous(args):
    for ext in args.extensions:
        keys = reg_query(args.wine, f"HKCR\\{ext}")
        data = (keys or {}).get(expand_root(f"HKCR\\{ext}").lower(), {}).get("", "")
        if data:
            print(f"{ext}={data}")
    return 0


def payload_files(payload, below=""):
    """(relative name as text, source path) of every payload file. The package
    folder holds its names as GBK bytes (as the installer carries them);
    Wine stores the installed files under their UTF-8 names."""
    base = os.fsencode(payload)
    start = os.path.join(base, os.fsencode(below)) if below else base
    for folder, _, names in sorted(os.walk(start)):
        for name in sorted(names):
            source = os.path.join(folder, name)
            yield os.path.relpath(source, base).decode("gbk"), source


def check_files(args, report, root_unix):
    print("  files (compared byte for byte with the package's payload):")
    count = 0
    different = []
    for relative, source in payload_files(args.payload):
        target = os.path.join(root_unix, relative)
        count += 1
        same = os.path.isfile(target) and filecmp.cmp(source, target, shallow=False)
        print(f"      {'same' if same else 'DIFFERENT'}  {args.root}\\{relative.replace('/', chr(92))}"
              f"  ({os.path.getsize(source)} bytes)")
        if not same:
            different.append(relative)
    report.check(count > 0 and not different,
                 f"{count} payload files installed byte-identical"
                 + (f" (differ or missing: {', '.join(different)})" if different else ""))


def check_install_log(args, report, sub_unix):
    print("  install.txt:")
    path = os.path.join(sub_unix, "install.txt")
    if not os.path.isfile(path):
        report.check(False, "install.txt written")
        return []
    lines = read_text(path).split("\n")
    for line in lines:
        if line:
            print(f"      {line}")
    root = args.root
    report.check(lines[0] == f"{root}\\Lumo\\install.txt", "install.txt names itself on its first line")
    names = {line.lower() for line in lines}
    missing = []
    for relative, _ in payload_files(args.payload, "Lumo"):
        windows = f"{root}\\{relative.replace('/', chr(92))}".lower()
        if windows not in names:
            missing.append(relative)
    report.check(not missing, "install.txt lists every installed program file"
                 + (f" (missing: {', '.join(missing)})" if missing else ""))
    report.check(any(line.upper() == UNINSTALL_KEY.upper().replace("HKLM", "HKEY_LOCAL_MACHINE")
                     for line in lines), "install.txt ends with the uninstall key")
    # Line 2: uninstall shortcut, 3: program shortcut, 6: desktop shortcut.
    return [(lines[i], target) for i, target in ((2, "LumoView.exe"), (1, "uninstall.exe"), (5, "LumoView.exe"))
            if i < len(lines)]


def check_links(args, report, links):
    print("  shortcuts (resolved through IShellLink):")
    if len(links) < 3:
        report.check(False, "install.txt names the three shortcuts")
        return
    for link, program in links:
        expected = f"{args.root}\\Lumo\\{program}"
        rc, text = run_wine(args.wine, args.probe, "link", link)
        fields = dict(line.split("=", 1) for line in text.replace("\r", "").split("\n") if "=" in line)
        print(f"      {link}")
        for key in ("target", "arguments", "icon", "description"):
            print(f"          {key}: {fields.get(key, '')}")
        report.check(rc == 0 and fields.get("target", "").lower() == expected.lower()
                     and os.path.isfile(unix_path(args.prefix, fields.get("target", "C:\\"))),
                     f"{link.rsplit(chr(92), 1)[-1]} in {link.rsplit(chr(92), 2)[-2]} resolves to {expected}")


def check_registry(args, report):
    print("  registry:")
    root = args.root
    product = f"{root}\\Lumo"

    def show(key):
        shown = []
        keys = reg_query(args.wine, key, shown)
        print(f"      > reg query {key} /s")
        for line in shown:
            print(f"      {line}")
        return keys or {}

    def value(keys, key, name=""):
        return keys.get(expand_root(key).lower(), {}).get(name.lower())

    keys = show(UNINSTALL_KEY)
    report.check(value(keys, UNINSTALL_KEY, "DisplayName") == "Lumo1.04 (32 bit)"
                 and value(keys, UNINSTALL_KEY, "UninstallString") == f"{product}\\uninstall.exe"
                 and value(keys, UNINSTALL_KEY, "DisplayIcon") == f"{product}\\LumoView.exe",
                 "uninstall entry with the chosen folder in place of <root>")
    keys = show(r"HKCR\Lumo")
    report.check(value(keys, r"HKCR\Lumo\shell\Convert") == f"{product}\\LumoConvert.exe"
                 and value(keys, r"HKCR\Lumo\shell\Open\Path") == f"{product}\\",
                 "HKEY_CLASSES_ROOT\\Lumo from setup.reg")
    clsid_key = f"HKCR\\CLSID\\{CLSID}"
    keys = show(clsid_key)
    server = value(keys, clsid_key + "\\InprocServer32") or ""
    # regsvr32 may have loaded the DLL through its short (8.3) name.
    rc, long_server = run_wine(args.wine, args.probe, "longpath", server) if server else (1, "")
    long_server = long_server.strip()
    print(f"      InprocServer32 in long form: {long_server}")
    report.check(rc == 0 and long_server.lower() == f"{product}\\LumoShellEx.dll".lower(),
                 "shell extension registered (regsvr32) from the installed DLL")
    for ext in args.types:
        progid = f"Lumo{ext}"
        ext_keys = show(f"HKCR\\{ext}")
        prog_keys = show(f"HKCR\\{progid}")
        command = value(prog_keys, f"HKCR\\{progid}\\shell\\Open\\Command")
        handler = value(prog_keys, f"HKCR\\{progid}\\shellex\\ContextMenuHandlers\\LumoShellEx")
        report.check(value(ext_keys, f"HKCR\\{ext}") == progid
                     and command == f"\"{product}\\LumoView.exe\" \"%1\"" and handler == CLSID,
                     f"{ext} opens with {product}\\LumoView.exe, with the context menu handler")
    for ext in args.absent:
        ext_keys = reg_query(args.wine, f"HKCR\\{ext}") or {}
        report.check(value(ext_keys, f"HKCR\\{ext}") != f"Lumo{ext}", f"{ext} (not ticked) left alone")


def check_file_links(args, report, sub_unix):
    print("  filelink.txt:")
    expected = []
    with open(args.previous, encoding="utf-8") as stream:
        expected = [line.strip() for line in stream if line.strip()]
    path = os.path.join(sub_unix, "filelink.txt")
    lines = read_text(path).split("\n") if os.path.isfile(path) else []
    lines = [line for line in lines if line]
    for line in lines:
        print(f"      {line}")
    if not os.path.isfile(path):
        print("      (not written: no ticked type had a handler before)")
    report.check(sorted(line.upper() for line in lines) == sorted(line.upper() for line in expected),
                 "filelink.txt records the replaced handlers"
                 + (f" ({', '.join(expected)})" if expected else " (none before this install)"))


def cmd_check(args):
    report = Report()
    root_unix = unix_path(args.prefix, args.root)
    sub_unix = os.path.join(root_unix, "Lumo")
    check_files(args, report, root_unix)
    links = check_install_log(args, report, sub_unix)
    check_links(args, report, links)
    check_registry(args, report)
    check_file_links(args, report, sub_unix)
    report.check(args.browser_opened == "1", "the product's web page was opened when the wizard finished")
    print(f"  {report.checked} checks, {len(report.failed)} failed")
    return 1 if report.failed else 0


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    previous = sub.add_parser("previous")
    previous.add_argument("--wine", required=True)
    previous.add_argument("--prefix", required=True)
    previous.add_argument("extensions", nargs="+")
    check = sub.add_parser("check")
    for name in ("--wine", "--prefix", "--probe", "--root", "--payload", "--previous"):
        check.add_argument(name, required=True)
    check.add_argument("--types", required=True, type=lambda text: text.split(","))
    check.add_argument("--absent", default="", type=lambda text: [t for t in text.split(",") if t])
    check.add_argument("--browser-opened", default="0")
    args = parser.parse_args()
    return cmd_previous(args) if args.command == "previous" else cmd_check(args)


if __name__ == "__main__":
    sys.exit(main())
