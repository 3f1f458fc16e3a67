#!/usr/bin/python3
"""Tests of the end-to-end checks themselves, without Wine: the error code a
box or log shows is taken where Wine's versions and Windows differ, always
with that code's system text, and the planted-DLL check holds with a floor of
one DLL or of nothing."""

import json
import sys
import tempfile
import unittest
from pathlib import Path
from types import SimpleNamespace

sys.path.insert(0, str(Path(__file__).resolve().parent))
import checks  # noqa: E402
import expected as x  # noqa: E402
import scenarios  # noqa: E402

TEXTS = {"87": {"text": "Invalid parameter.\r\n"},
         "1801": {"text": "Invalid printer name.\r\n"},
         "1021": {"text": "Subkey must be volatile.\r\n"}}


def box_run(shown_text):
    """uidriver's log of a run that showed one box and exited with 1."""
    return [{"event": "box", "caption": x.APP_CAPTION, "text": shown_text, "buttons": [x.IDOK]},
            {"event": "exit", "code": 1}, {"event": "summary", "result": "ok"}]


def box_problems(shown_text, code):
    outcome = x.Outcome(os_dialog=False, port_dialog=False, boxes=[x.error_box("AddPrinter", code)],
                        exit_code=1)
    return [p for p in checks.check_run(box_run(shown_text), outcome, "win2003", TEXTS)
            if p.startswith("boxes")]


class ErrorCodes(unittest.TestCase):
    def test_a_box_shows_an_accepted_code_with_its_own_text(self):
        cases = [
            ("AddPrinter Error Code: 87\n\nInvalid parameter.\r\n", (87, 1801), True),
            ("AddPrinter Error Code: 1801\n\nInvalid printer name.\r\n", (87, 1801), True),
            # The text must be the shown code's, not another accepted one's.
            ("AddPrinter Error Code: 1801\n\nInvalid parameter.\r\n", (87, 1801), False),
            ("AddPrinter Error Code: 5\n\nAccess denied.\r\n", (87, 1801), False),
            ("AddPrinter Error Code: 1801\n\nInvalid printer name.\r\n", 87, False),
            ("AddPrinter Error Code: 87\n\nInvalid parameter.\r\n", 87, True),
            ("AddPrinter Error Code: \n\n", 87, False),
        ]
        for shown, code, accepted in cases:
            with self.subTest(shown=shown, code=code):
                self.assertEqual(box_problems(shown, code) == [], accepted,
                                 box_problems(shown, code))

    def test_the_log_shows_an_accepted_code_with_its_text(self):
        cases = [
            ("AddPrinter(...): failed, error 1801: Invalid printer name.\r\nexit code 1603", True),
            ("AddPrinter(...): failed, error 87: Invalid parameter.\r\nexit code 1603", True),
            ("AddPrinter(...): failed, error 1801: Invalid parameter.\r\nexit code 1603", False),
            ("AddPrinter(...): failed, error 5: Access denied.\r\nexit code 1603", False),
            ("exit code 1603\r\nAddPrinter(...): failed, error 87: Invalid parameter.", False),
        ]
        verify = scenarios.log_holds("AddPrinter", (87, 1801), "exit code 1603")
        for text, holds in cases:
            with self.subTest(text=text), tempfile.TemporaryDirectory() as root:
                log = Path(root) / "q.log"
                log.write_bytes(text.encode("latin-1"))
                ctx = SimpleNamespace(state={"errorTexts": TEXTS},
                                      prefix=SimpleNamespace(unix=lambda _path, log=log: log))
                self.assertEqual(verify(ctx) == [], holds, verify(ctx))


class OtherDriversPrinters(unittest.TestCase):
    """A printer of another driver must be there as it was: not replaced by
    ours (Wine's AddPrinterA replaces a printer of the same name), not gone."""

    def printer_problems(self, listed):
        end = x.EndState(family="nt", printers=[(scenarios.numbered(1), x.DEFAULT_PORT)],
                         other_printers={x.PRINTER: ("Other Driver", "COM1:")})
        state = {"printers": {"items": listed},
                 "drivers": {x.NT_ENV: {"items": []}, x.WIN9X_ENV: {"items": []}},
                 "monitors": {"items": x.monitors(end)},
                 "printProcessors": {env: {"items": items}
                                     for env, items in x.print_processors(end).items()},
                 "uninstall": {}, "directories": {}}
        prefix = SimpleNamespace(unix=lambda folder: Path(folder))
        return [p for p in checks.check_state(state, end, prefix, None) if p.startswith("printers")]

    def test_the_other_printer_is_kept_as_it_was(self):
        ours = x.printer_record("nt", scenarios.numbered(1), x.DEFAULT_PORT)
        other = {"pPrinterName": x.PRINTER, "pDriverName": "Other Driver", "pPortName": "COM1:"}
        replaced = x.printer_record("nt", x.PRINTER, x.DEFAULT_PORT)
        cases = [
            ("kept", [other, ours], 0),
            ("replaced by ours", [replaced, ours], 1),
            ("moved to another port", [dict(other, pPortName="LPT1:"), ours], 1),
            ("gone", [ours], 1),
            ("ours taking its name", [replaced], 2),
        ]
        for label, listed, problems in cases:
            with self.subTest(label):
                self.assertEqual(len(self.printer_problems(listed)), problems,
                                 self.printer_problems(listed))


class RestartRecord(unittest.TestCase):
    def test_one_forced_restart_counts_and_a_new_session_does_not(self):
        init = '"C:\\windows\\system32\\wineboot.exe" --init'
        kill = "C:\\windows\\system32\\wineboot.exe --kill"
        cases = [([kill], True), ([init, kill], True), ([init], False), ([kill, kill], False),
                 ([], False)]
        for lines, requested in cases:
            with self.subTest(lines=lines), tempfile.TemporaryDirectory() as root:
                drive = Path(root)
                (drive / "restart-request.txt").write_bytes("\r\n".join(lines).encode("utf-16-le"))
                ctx = SimpleNamespace(prefix=SimpleNamespace(drive_c=drive))
                self.assertEqual(scenarios.restart_recorded(ctx) == [], requested)


class PlantedFloor(unittest.TestCase):
    def verdict(self, floor_ran, floor, installer):
        with tempfile.TemporaryDirectory() as root:
            drive = Path(root)
            floor_log = drive / "floor.jsonl"
            floor_log.write_text(json.dumps({"event": "exit", "code": 0}) + "\n"
                                 if floor_ran else "", encoding="utf-8")
            for name, dlls in (("floor.txt", floor), ("plant.txt", installer)):
                if dlls:
                    (drive / name).write_text("".join(f"{d} loaded into C:\\x.exe\r\n" for d in dlls),
                                              encoding="latin-1")
            ctx = SimpleNamespace(prefix=SimpleNamespace(drive_c=drive), floor_log=floor_log)
            return scenarios.planted_loaded(ctx)

    def test_the_installer_loads_nothing_beyond_the_floor(self):
        cases = [
            (True, ["version.dll"], ["version.dll"], 0),  # Wine 8.0: user32 loads it
            (True, [], [], 0),                            # Wine 10: nothing
            (True, [], ["version.dll"], 1),
            (True, ["version.dll"], ["version.dll", "comctl32.dll"], 1),
            (False, [], [], 1),                           # the floor was never measured
        ]
        for floor_ran, floor, installer, problems in cases:
            with self.subTest(floor_ran=floor_ran, floor=floor, installer=installer):
                self.assertEqual(len(self.verdict(floor_ran, floor, installer)), problems)


if __name__ == "__main__":
    unittest.main(verbosity=1)
