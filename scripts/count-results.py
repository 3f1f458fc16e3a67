#!/usr/bin/python3
"""Counts the results of one part of the test command, for its summary.

usage: count-results.py gtest|junit|log FILE

gtest: GoogleTest's XML report (GTEST_OUTPUT=xml:FILE), one count per test case;
junit: ctest's --output-junit report, one count per ctest test;
log:   a log whose last "N passed, M failed[, K skipped]" line counts.
Prints "PASSED FAILED SKIPPED", then one line per skipped test with its
reason where the report gives one. Exits 1 when FILE holds no counts.
"""

import re
import sys
import xml.etree.ElementTree as ElementTree

COUNT_LINE = re.compile(r"(\d+) passed, (\d+) failed(?:, (\d+) skipped)?")


def gtest(path):
    passed, failed, skipped = 0, [], []
    for case in ElementTree.parse(path).getroot().iter("testcase"):
        name = "%s.%s" % (case.get("classname"), case.get("name"))
        if case.find("failure") is not None:
            failed.append(name)
        elif case.get("result") == "skipped" or case.get("status") == "notrun":
            reason = case.find("skipped")
            skipped.append((name, reason.get("message", "") if reason is not None else ""))
        else:
            passed += 1
    return passed, len(failed), skipped


def last_line(text):
    lines = [line.strip() for line in (text or "").splitlines() if line.strip()]
    return lines[-1] if lines else ""


def junit(path):
    passed, failed, skipped = 0, 0, []
    for case in ElementTree.parse(path).getroot().iter("testcase"):
        status = case.get("status")
        if status == "fail" or case.find("failure") is not None:
            failed += 1
        elif status in ("notrun", "disabled") or case.find("skipped") is not None:
            skipped.append((case.get("name"), last_line(case.findtext("system-out"))))
        else:
            passed += 1
    return passed, failed, skipped


def log(path):
    with open(path, encoding="utf-8", errors="replace") as lines:
        text = lines.read()
    found = COUNT_LINE.findall(text)
    if not found:
        raise ValueError("no 'N passed, M failed' line in %s" % path)
    passed, failed, skipped = found[-1]
    # "SKIPPED NAME: WHY" lines name what was skipped.
    named = [line[len("SKIPPED "):].partition(": ")[::2] for line in text.splitlines()
             if line.startswith("SKIPPED ")]
    count = int(skipped or 0)
    return int(passed), int(failed), (named + [("", "")] * count)[:count]


def main(argv):
    if len(argv) != 3 or argv[1] not in ("gtest", "junit", "log"):
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    try:
        passed, failed, skipped = {"gtest": gtest, "junit": junit, "log": log}[argv[1]](argv[2])
    except (OSError, ValueError, ElementTree.ParseError) as error:
        print("no counts: %s" % error, file=sys.stderr)
        return 1
    print(passed, failed, len(skipped))
    for name, reason in skipped:
        if name:
            print("%s%s" % (name, ": " + reason if reason else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
