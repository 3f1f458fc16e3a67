"""Compares what a run showed (uidriver's log) and what a prefix holds
(prefixstate's document) with the expectations; every difference becomes one
line of the scenario's report."""

import json
import re
from pathlib import Path

import expected as x


def read_log(path: Path) -> list:
    if not path.exists():
        return []
    return [json.loads(line) for line in path.read_text(encoding="utf-8").splitlines() if line]


def shown_statuses(events: list) -> list:
    """Each status line with the bar's position when it first appeared (the
    bar is stepped before the line is redrawn); the empty start is left out."""
    seen, shown = set(), []
    for event in events:
        if event["event"] != "progress" or not event["status"]:
            continue
        if event["status"] not in seen:
            seen.add(event["status"])
            shown.append((event["status"], event["position"]))
    return shown


def code_shown(text: str, code) -> int:
    """The error code a box shows where it is one the expectation accepts (the
    spooler's answer differs between Wine's versions and Windows); otherwise the
    first accepted one, so that the difference is reported against it."""
    accepted = x.error_codes(code)
    match = re.search(r"Error Code: (\d+)", text or "")
    shown = int(match.group(1)) if match else None
    return shown if shown in accepted else accepted[0]


def system_text(error_texts: dict, code: int) -> str:
    return error_texts.get(str(code), {}).get("text", "<no system text read>")


def check_run(events: list, outcome: x.Outcome, version: str, error_texts: dict) -> list:
    problems = []
    if not events:
        return ["no log was written"]
    summary = [e for e in events if e["event"] == "summary"]
    if not summary or summary[-1]["result"] != "ok":
        problems.append(f"the script did not run to its end: {summary[-1] if summary else 'no summary'}")
    exits = [e["code"] for e in events if e["event"] == "exit"]
    accepted = x.error_codes(outcome.exit_code)
    if len(exits) != 1 or exits[0] not in accepted:
        problems.append(f"exit status {exits}, expected {' or '.join(map(str, accepted))}")

    kinds = [e["kind"] for e in events if e["event"] == "window"]
    if outcome.window_kinds is not None and kinds != outcome.window_kinds:
        problems.append(f"windows shown {kinds}, expected {outcome.window_kinds}")
    for kind, wanted in (("os", outcome.os_dialog), ("port", outcome.port_dialog)):
        if kinds.count(kind) != int(wanted):
            problems.append(f"{kind} dialog shown {kinds.count(kind)} times, expected {int(wanted)}")
    dialogs = {e["kind"]: e for e in events if e["event"] == "dialog"}
    if "os" in dialogs:
        d = dialogs["os"]
        preselected = [x.OS_INDEX[version]] if version in x.OS_INDEX else []
        got = (d["radios"], d["radioIds"], d["checkedIndex"])
        if got != (x.OS_RADIOS, x.OS_RADIO_IDS, preselected):
            problems.append(f"OS dialog {got}, expected preselection {preselected}")
    if "port" in dialogs:
        d = dialogs["port"]
        got = (d["radios"], d["radioIds"], d["checkedIndex"], d.get("combo"))
        want = (x.PORT_RADIOS, x.PORT_RADIO_IDS, [outcome.port_preselected],
                {"items": x.OVERWRITE_ITEMS, "selection": outcome.overwrite_preselected})
        if got != want:
            problems.append(f"port dialog {got}, expected {want}")
    chosen = {e["kind"]: e["checkedIndex"] for e in events if e["event"] == "chosen"}
    for kind, index in (("os", outcome.os_chosen), ("port", outcome.port_chosen)):
        if index is not None and chosen.get(kind) != [index]:
            problems.append(f"{kind} dialog after the choice: {chosen.get(kind)}, expected [{index}]")

    progress = [e for e in events if e["event"] == "progress"]
    if outcome.os_dialog and (not progress or (progress[0]["status"], progress[0]["position"]) != ("", 0)):
        problems.append(f"the progress window did not open empty at 0: {progress[:1]}")
    statuses = shown_statuses(events)
    if statuses != outcome.statuses:
        problems.append(f"status lines {statuses}\n      expected {outcome.statuses}")

    boxes = [(e["caption"], e["text"], e["buttons"]) for e in events if e["event"] == "box"]
    wanted = []
    for index, box in enumerate(outcome.boxes):
        text = box.text
        shown = boxes[index][1] if index < len(boxes) else ""
        if box.error_code == x.ANY_CODE:
            any_code = re.escape(text) + r"-?\d+\n\n"
            text = shown if re.match(any_code, shown) else text + "<any code>\n\n"
        elif box.error_code is not None:
            code = code_shown(boxes[index][1] if index < len(boxes) else "", box.error_code)
            text += f"{code}\n\n" + system_text(error_texts, code)
        wanted.append((box.caption, text, box.buttons))
    if boxes != wanted:
        problems.append(f"boxes {boxes}\n      expected {wanted}")
    return problems


def _listing(state: dict, folder: str) -> dict:
    """{UPPER NAME: name as stored} of a listed folder, Wine's own files left out."""
    entry = state["directories"].get(folder, {})
    names = {f["name"].upper(): f["name"] for f in entry.get("files", [])}
    for own in x.WINE_FILES.get(folder, ()):
        names.pop(own, None)
    return names


def _compare_files(label: str, prefix_folder: Path, found: dict, wanted: dict, resolve) -> list:
    problems = []
    if set(found) != set(wanted):
        missing = sorted(set(wanted) - set(found))
        extra = sorted(set(found) - set(wanted))
        problems.append(f"{label}: missing {missing}, unexpected {extra}")
    for upper in sorted(set(found) & set(wanted)):
        source = resolve(wanted[upper])
        if (prefix_folder / found[upper]).read_bytes() != source.read_bytes():
            problems.append(f"{label}\\{found[upper]} is not a copy of {wanted[upper]}")
    return problems


def check_prefix(state: dict, version: str) -> list:
    """The prefix is what the scenario says: Wine reports its version, and
    the spooler's default folders are those of the version's environment."""
    reported = state.get("windowsVersion", {})
    numbers = tuple(reported.get(k) for k in ("dwPlatformId", "dwMajorVersion", "dwMinorVersion"))
    problems = []
    if numbers != x.VERSION_NUMBERS[version]:
        problems.append(f"Wine reports version {numbers}, expected {x.VERSION_NUMBERS[version]}")
    # Wine's spooler takes the Windows 4.0 environment for every version off the NT line.
    nine_x = x.VERSION_NUMBERS[version][0] != 2
    folders = state.get("spoolerDirectories", {})
    want = (x.DRIVERS + ("\\win40" if nine_x else "\\w32x86"),
            x.PRTPROCS + ("\\win40" if nine_x else "\\w32x86"))
    got = (folders.get("printerDriver", {}).get("default", {}).get("path"),
           folders.get("printProcessor", {}).get("default", {}).get("path"))
    if got != want:
        problems.append(f"the spooler's default folders are {got}, expected {want}")
    return problems


def check_state(state: dict, end: x.EndState, prefix, resolve) -> list:
    """`resolve` turns a file named by the expectations into a path on this machine."""
    problems = []
    family = end.family

    def differ(what, got, want):
        if got != want:
            problems.append(f"{what}:\n      got      {json.dumps(got)}\n      expected {json.dumps(want)}")

    listed = state["printers"].get("items", [])
    others = {p["pPrinterName"]: (p["pDriverName"], p["pPortName"]) for p in listed
              if p["pPrinterName"] in end.other_printers}
    differ("printers of other drivers", others, end.other_printers)
    printers = sorted((p for p in listed if p["pPrinterName"] not in end.other_printers),
                      key=lambda p: p["pPrinterName"])
    differ("printers", printers,
           sorted((x.printer_record(family, name, port) for name, port in end.printers),
                  key=lambda p: p["pPrinterName"]))
    for env in (x.NT_ENV, x.WIN9X_ENV):
        ours = end.driver and x.FILES[family].environment == env
        readable = end.nt_drivers_readable or env != x.NT_ENV
        differ(f"drivers of {env}", state["drivers"][env].get("items"),
               ([x.driver_record(family)] if ours else []) if readable else None)
    differ("monitors", state["monitors"].get("items"), x.monitors(end))
    differ("print processors", {env: v.get("items") for env, v in state["printProcessors"].items()},
           x.print_processors(end))

    uninstall = state["uninstall"]
    if end.uninstall:
        got = [(v["name"], v["typeName"], v["length"], v["data"].encode("latin-1"))
               for v in uninstall.get("values", [])]
        want = [(name, "REG_SZ", len(data), data) for name, data in x.uninstall_values()]
        differ("uninstall values", [list(map(str, g)) for g in got], [list(map(str, w)) for w in want])
    elif uninstall.get("exists"):
        problems.append("an uninstall entry was written")

    files = end.files or {folder: {} for folder in x.LISTED_DIRS}
    for folder in x.LISTED_DIRS:
        problems += _compare_files(folder, prefix.unix(folder), _listing(state, folder),
                                   files.get(folder, {}), resolve)
    system = {upper: name for upper, name in _listing(state, x.SYSTEM_DIR).items()
              if upper in x.SYSTEM_NAMES}
    problems += _compare_files(x.SYSTEM_DIR, prefix.unix(x.SYSTEM_DIR), system,
                               end.system_files, resolve)
    return problems
