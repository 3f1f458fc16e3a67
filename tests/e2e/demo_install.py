#!/usr/bin/python3
"""Installs the printer from the demo package in a Wine prefix under build/
(the main command's last step).

usage: demo_install.py BUILD_DIR PREFIX_DIR SCREENSHOT_DIR

A new prefix reports Windows XP, or the Wine version name in QLX_DEMO_WINDOWS
(win95, win98, winme, nt40, win2k, winxp, win2003).
With DISPLAY set the user answers the real dialogs; without it they run on
an Xvfb display and are answered with their defaults and No to the restart,
and the progress window and both dialogs are saved as screenshots. Either
way each status line is printed as it appears, with the bar's position and
the time since the installer started, then the printer this run created.
Exits with the installer's exit status. The prefix is kept: a second run
adds the next numbered printer."""

import json
import os
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import wine  # noqa: E402

TOOLS = r"C:\e2e"
LOG = TOOLS + r"\demo-run.jsonl"
STATE = TOOLS + r"\state.json"


def read_printers(prefix: wine.Prefix, work: Path) -> dict:
    path = prefix.unix(STATE)
    if path.exists():
        path.unlink()
    prefix.run([TOOLS + r"\prefixstate.exe", "--out", STATE], work / "prefixstate.out", 120)
    if not path.exists():
        return {}
    items = json.loads(path.read_text(encoding="utf-8"))["printers"].get("items", [])
    return {p["pPrinterName"]: p for p in items}


def screenshot(display: str, target: Path) -> bool:
    return subprocess.run(["import", "-display", display, "-window", "root", str(target)],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def follow(log: Path, driver: subprocess.Popen, display: str, shots: Path, take_shots: bool):
    """Prints the run as it happens; returns (exit code, screenshots taken)."""
    position, lines, started_ms, exit_code, taken = 0, [], None, None, {}
    wanted = {"os": "os-dialog.png", "port": "port-dialog.png"}
    while True:
        finished = driver.poll() is not None
        if log.exists():
            with open(log, encoding="utf-8") as stream:
                stream.seek(position)
                chunk = stream.read()
            complete = chunk[:chunk.rfind("\n") + 1]
            position += len(complete.encode("utf-8"))
            for line in complete.splitlines():
                event = json.loads(line)
                kind = event["event"]
                if kind == "started":
                    started_ms = event["t"]
                since = (event["t"] - (started_ms or 0)) / 1000
                # The bar steps before the line is redrawn: a status is new when its text is.
                if kind == "progress" and event["status"] and event["status"] not in lines:
                    lines.append(event["status"])
                    print(f"  {since:6.2f} s  bar {event['position']:>3}  "
                          f"{event['status'].rstrip()}", flush=True)
                    if take_shots and "progress" not in taken and event["position"] >= 55:
                        target = shots / "progress-window.png"
                        if screenshot(display, target):
                            taken["progress"] = target
                elif kind == "dialog":
                    checked = event.get("checkedIndex")
                    radios = event.get("radios") or []
                    choice = radios[checked[0]] if checked and radios else "nothing"
                    print(f"  {since:6.2f} s  dialog \"{'Select OS Type' if event['kind'] == 'os' else 'Select Port Type'}\""
                          f" opens with {choice} checked", flush=True)
                    if take_shots and event["kind"] in wanted:
                        target = shots / wanted[event["kind"]]
                        if screenshot(display, target):
                            taken[event["kind"]] = target
                elif kind == "box":
                    print(f"  {since:6.2f} s  box \"{event['caption']}\": "
                          f"{' / '.join(t for t in (event.get('text') or '').splitlines() if t)}",
                          flush=True)
                elif kind == "answer" and event.get("kind") == "box":
                    print(f"  {since:6.2f} s  answered {'Yes' if event['button'] == 6 else 'No' if event['button'] == 7 else 'OK'}",
                          flush=True)
                elif kind == "exit":
                    exit_code = event["code"]
                elif kind in ("error", "timeout"):
                    print(f"  uidriver: {line}", flush=True)
        if finished:
            return exit_code, taken
        time.sleep(0.05)


def main() -> int:
    build, prefix_dir, shots = (Path(a).resolve() for a in sys.argv[1:4])
    interactive = bool(os.environ.get("DISPLAY"))
    work = prefix_dir.parent
    work.mkdir(parents=True, exist_ok=True)
    shots.mkdir(parents=True, exist_ok=True)
    display = wine.Display(work, use_existing=interactive)
    try:
        if not (prefix_dir / ".template-ready").exists():
            print(f"Making a new Wine prefix: {prefix_dir}", flush=True)
            wine.make_template(prefix_dir, display.name, work / "wineboot.log", managed=interactive)
            version = os.environ.get("QLX_DEMO_WINDOWS", "winxp")
            wine.Prefix(prefix_dir, display.name).set_windows_version(version)
            print(f"Wine reports Windows version '{version}' in it (QLX_DEMO_WINDOWS)", flush=True)
        prefix = wine.Prefix(prefix_dir, display.name)
        package = prefix.drive_c / "pkg"
        subprocess.run(["rm", "-rf", str(package)], check=True)
        subprocess.run(["cp", "-r", str(build / "package"), str(package)], check=True)
        for tool in ("uidriver.exe", "prefixstate.exe"):
            wine.replace_file(prefix.unix(TOOLS) / tool, build / tool)
        before = read_printers(prefix, work)

        log = prefix.unix(LOG)
        if log.exists():
            log.unlink()
        options = ["--log", LOG, "--dir", r"C:\pkg"]
        options += ["--watch", "--timeout", "3600"] if interactive else \
                   ["--restart", "no", "--hold", "700", "--timeout", "120"]
        print("Installing from C:\\pkg (the demo package) with "
              + ("your answers" if interactive else "the default answers and No to the restart")
              + ":", flush=True)
        with open(work / "uidriver.out", "wb") as out:
            driver = subprocess.Popen(["wine", TOOLS + r"\uidriver.exe", *options], env=prefix.env,
                                      stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
            exit_code, taken = follow(log, driver, display.name, shots, not interactive)
        after = read_printers(prefix, work)
        prefix.end_session()
    finally:
        display.close()

    created = [after[name] for name in after if name not in before]
    for printer in created:
        print(f"Printer created: \"{printer['pPrinterName']}\" on port {printer['pPortName']}, "
              f"driver \"{printer['pDriverName']}\", print processor \"{printer['pPrintProcessor']}\"")
    if not created:
        print("No printer was created.")
    for name, path in sorted(taken.items()):
        label = {"progress": "progress window", "os": "OS dialog", "port": "port dialog"}[name]
        print(f"Screenshot of the {label}: {path}")
    print(f"Wine prefix: {prefix_dir} (run again to add the next numbered printer)")
    if exit_code is None:
        print("The installer's exit status was not recorded.")
        return 1
    print(f"The installer exited with status {exit_code}.")
    return exit_code if exit_code < 256 else 1


if __name__ == "__main__":
    sys.exit(main())
