#!/usr/bin/python3
"""Builds QLX957_Installer.msi with scripts/build-msi.sh and reads its tables
back with msitools (msiinfo): per-machine, hidden from Add/Remove Programs,
the custom actions with their sequence and conditions, the record of the
driver's ownership, the major upgrade,
every file of the driver package, the custom-action DLL as built; the
version and ProductCode following the executable's version record; an
incomplete package refused without touching an earlier package.

usage: check_package.py --package DIR --actions-dll DLL --work DIR
Prints one line per check, then "N passed, M failed"; exits 1 on a failure.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import uuid

try:
    import pefile
except ImportError:  # a python3 ahead of Debian's on PATH (pyenv) lacks the package
    sys.path.append("/usr/lib/python3/dist-packages")
    import pefile

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD_MSI = os.path.join(REPO, "scripts", "build-msi.sh")
UPGRADE_CODE = "{0798FA7B-41D6-45C8-B902-926AB079463E}"
OWNER_KEY = r"SOFTWARE\DALVERA\QLX-957 deployment package"
ACTION_DATA = "[INSTALLDIR]|[MsiLogFileLocation]|[TempFolder]"
# Custom action type bits.
DLL_IN_BINARY, SET_PROPERTY, IN_SCRIPT, NO_IMPERSONATE = 1, 51, 1024, 2048
ROLLBACK, COMMIT = 256, 512
ONLY_DETECT, MIN_INCLUSIVE, MAX_INCLUSIVE = 2, 256, 512


class Checker:
    def __init__(self):
        self.passed = self.failed = 0

    def equal(self, label, got, want):
        self.true(label, got == want, f"got {got!r}, expected {want!r}")

    def true(self, label, ok, detail=""):
        print(("PASS " if ok else "FAIL ") + label + ("" if ok or not detail else f": {detail}"))
        if ok:
            self.passed += 1
        else:
            self.failed += 1


def build(package, out):
    return subprocess.run([BUILD_MSI, package, out], capture_output=True, text=True, check=False)


def table(msi, name):
    """The rows of a table as dicts of column name to text."""
    text = subprocess.run(["msiinfo", "export", msi, name], capture_output=True, text=True,
                          check=True).stdout
    lines = text.split("\r\n") if "\r\n" in text else text.split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def program_version(path):
    pe = pefile.PE(path)
    fixed = pe.VS_FIXEDFILEINFO[0]
    return "%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                            fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)


def with_version(source, target, numbers):
    """A copy of `source` whose fixed version record says `numbers`."""
    data = bytearray(open(source, "rb").read())
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    ms, ls = (numbers[0] << 16) | numbers[1], (numbers[2] << 16) | numbers[3]
    struct.pack_into("<4I", data, at + 8, ms, ls, ms, ls)
    with open(target, "wb") as file:
        file.write(data)


def derived_code(version):
    """From the first three numbers: those Windows Installer compares."""
    three = ".".join(version.split(".")[:3])
    return "{%s}" % str(uuid.uuid5(uuid.UUID(UPGRADE_CODE), three)).upper()


def check_properties(ck, msi, version):
    properties = {row["Property"]: row["Value"] for row in table(msi, "Property")}
    ck.equal("per-machine (ALLUSERS)", properties.get("ALLUSERS"), "1")
    ck.equal("no entry of its own in Add/Remove Programs", properties.get("ARPSYSTEMCOMPONENT"),
             "1")
    ck.equal("ProductVersion is the executable's", properties.get("ProductVersion"), version)
    ck.equal("ProductCode derived from the version", properties.get("ProductCode"),
             derived_code(version))
    ck.equal("the fixed UpgradeCode", properties.get("UpgradeCode"), UPGRADE_CODE)
    summary = subprocess.run(["msiinfo", "suminfo", msi], capture_output=True, text=True,
                             check=True).stdout
    ck.true("Windows Installer 1.1 (Windows 2000) suffices", "Version: 110 " in summary, summary)
    return properties


def check_actions(ck, msi):
    actions = {row["Action"]: row for row in table(msi, "CustomAction")}
    # Name: base type, when it runs, source, target. The deferred and the
    # rollback actions run as the system: the driver goes in and out with the
    # rights the package has, not the user's.
    immediate, deferred = 0, IN_SCRIPT | NO_IMPERSONATE
    expected = {
        "QlxInstall": (DLL_IN_BINARY, deferred, "QlxMsiActions", "QlxInstall"),
        "QlxInstallRollback": (DLL_IN_BINARY, deferred | ROLLBACK, "QlxMsiActions",
                               "QlxInstallRollback"),
        "QlxUninstall": (DLL_IN_BINARY, deferred, "QlxMsiActions", "QlxUninstall"),
        "QlxReplacing": (DLL_IN_BINARY, immediate, "QlxMsiActions", "QlxReplacing"),
        "QlxReplaced": (DLL_IN_BINARY, immediate, "QlxMsiActions", "QlxReplaced"),
        "QlxRestart": (DLL_IN_BINARY, immediate, "QlxMsiActions", "QlxRestart"),
        "QlxInstallData": (SET_PROPERTY, immediate, "QlxInstall", ACTION_DATA),
        "QlxInstallRollbackData": (SET_PROPERTY, immediate, "QlxInstallRollback", ACTION_DATA),
        "QlxUninstallData": (SET_PROPERTY, immediate, "QlxUninstall", ACTION_DATA),
    }
    ck.equal("custom actions", sorted(actions), sorted(expected))
    for name, want in expected.items():
        row = actions.get(name, {})
        kind = int(row.get("Type", "0"))
        # Impersonation means nothing to an immediate action (wixl sets the bit).
        when = kind & (IN_SCRIPT | ROLLBACK | COMMIT | (NO_IMPERSONATE if kind & IN_SCRIPT else 0))
        ck.equal(f"custom action {name}", (kind & 0x3F, when, row.get("Source"), row.get("Target")),
                 want)


def check_sequence(ck, msi):
    rows = {row["Action"]: row for row in table(msi, "InstallExecuteSequence")}
    at = {name: int(row["Sequence"]) for name, row in rows.items()}
    condition = {name: row.get("Condition", "") for name, row in rows.items()}
    order = [("InstallValidate", "QlxReplacing"),
             ("AppSearch", "RemoveExistingProducts"),  # the older package's ownership is read
             ("QlxReplacing", "RemoveExistingProducts"),  # the older package's removal sees the note
             ("RemoveExistingProducts", "QlxReplaced"),
             ("QlxReplaced", "InstallInitialize"),  # the older package goes first
             ("QlxUninstallData", "QlxUninstall"),
             ("InstallInitialize", "QlxUninstall"),  # inside the transaction
             ("QlxUninstall", "RemoveFiles"),  # before the package removes anything
             ("QlxInstallData", "QlxInstall"),
             ("QlxInstallRollbackData", "QlxInstallRollback"),
             ("InstallFiles", "QlxInstallRollback"),  # the program is in place for both
             ("QlxInstallRollback", "QlxInstall"),  # scheduled before what it undoes
             ("QlxInstall", "InstallFinalize"),  # inside the transaction: a failure rolls back
             ("InstallFinalize", "QlxRestart")]  # an immediate action may ask for the restart
    for first, then in order:
        ck.true(f"{first} before {then}", first in at and then in at and at[first] < at[then],
                f"{at.get(first)} and {at.get(then)}")
    removal = 'REMOVE="ALL" AND QLXOWNSDRIVER AND NOT UPGRADINGPRODUCTCODE'
    replacing = 'QLXOLDERPACKAGE AND NOT REMOVE="ALL"'
    ck.equal("conditions", {name: condition.get(name) for name in
                            ("QlxReplacing", "QlxReplaced", "QlxUninstallData", "QlxUninstall",
                             "QlxInstallData", "QlxInstallRollbackData", "QlxInstallRollback",
                             "QlxInstall", "QlxRestart")},
             {"QlxReplacing": replacing, "QlxReplaced": replacing,
              "QlxUninstallData": removal, "QlxUninstall": removal,
              "QlxInstallData": 'NOT REMOVE="ALL"',
              # Whether the driver was there before, the actions ask the spooler.
              "QlxInstallRollbackData": 'NOT REMOVE="ALL"', "QlxInstallRollback": 'NOT REMOVE="ALL"',
              "QlxInstall": 'NOT REMOVE="ALL"',
              "QlxRestart": ""})
    search = {row["Property"]: row["Signature_"] for row in table(msi, "AppSearch")}
    locators = {row["Signature_"]: row for row in table(msi, "RegLocator")}
    for name, want in (("QLXOWNSDRIVER", (OWNER_KEY, "InstalledTheDriver")),):
        locator = locators.get(search.get(name), {})
        ck.equal(f"{name}: found in HKLM, raw",
                 (locator.get("Root"), locator.get("Key"), locator.get("Name"), locator.get("Type")),
                 ("2", *want, "2"))


def check_ownership(ck, msi, properties):
    """The record that the package installed the driver is the installing
    action's to write, where the spooler listed no driver before: no
    component of the package writes it, so no removal takes it on its own."""
    try:
        rows = table(msi, "Registry")
    except subprocess.CalledProcessError:
        rows = []  # no registry value at all
    values = [row["Component_"] for row in rows if row["Key"] == OWNER_KEY]
    ck.equal("no component writes the ownership record", values, [])
    ck.equal("the searched properties reach the installation's server side",
             sorted(properties.get("SecureCustomProperties", "").split(";")),
             ["QLXNEWERPACKAGE", "QLXOLDERPACKAGE", "QLXOWNSDRIVER"])


def check_upgrade(ck, msi, version):
    rows = table(msi, "Upgrade")
    ck.equal("upgrade rows", len(rows), 2)
    by_property = {row["ActionProperty"]: row for row in rows}
    older = by_property.get("QLXOLDERPACKAGE", {})
    newer = by_property.get("QLXNEWERPACKAGE", {})
    older_flags, newer_flags = int(older.get("Attributes", "0")), int(newer.get("Attributes", "0"))
    ck.equal("older versions are removed",
             (older.get("UpgradeCode"), older.get("VersionMin"), older.get("VersionMax"),
              older_flags & (ONLY_DETECT | MIN_INCLUSIVE | MAX_INCLUSIVE)),
             (UPGRADE_CODE, "0.0.0", version, MIN_INCLUSIVE))
    ck.equal("newer versions are only detected",
             (newer.get("UpgradeCode"), newer.get("VersionMin"), newer.get("VersionMax", ""),
              newer_flags & (ONLY_DETECT | MIN_INCLUSIVE)),
             (UPGRADE_CODE, version, "", ONLY_DETECT))
    launch = [row["Condition"] for row in table(msi, "LaunchCondition")]
    ck.equal("a newer package installed stops an older one", launch,
             ["NOT QLXNEWERPACKAGE OR Installed"])


def check_files(ck, msi, package):
    directories = {row["Directory"]: row for row in table(msi, "Directory")}

    def folder_of(directory):
        parts = []
        while directory and directory != "INSTALLDIR":
            row = directories[directory]
            parts.append(row["DefaultDir"].split("|")[-1])
            directory = row["Directory_Parent"]
        return "/".join(reversed(parts)) if directory else None

    components = {row["Component"]: row for row in table(msi, "Component")}
    found = {}
    for row in table(msi, "File"):
        folder = folder_of(components[row["Component_"]]["Directory_"])
        name = row["FileName"].split("|")[-1]
        found[f"{folder}/{name}" if folder else name] = int(row["FileSize"])
    wanted = {}
    for root, _, files in os.walk(package):
        for name in files:
            relative = os.path.relpath(os.path.join(root, name), package).replace(os.sep, "/")
            wanted[relative] = os.path.getsize(os.path.join(root, name))
    ck.equal("the whole driver package, under INSTALLDIR (path: size)", found, wanted)
    ck.equal("INSTALLDIR: a folder of its own under Program Files",
             (directories.get("INSTALLDIR", {}).get("Directory_Parent"),
              directories.get("INSTALLDIR", {}).get("DefaultDir")),
             ("ProgramFilesFolder", "DALVERA QLX-957"))


def check_binary(ck, msi, dll, work):
    extracted = os.path.join(work, "QlxMsiActions.dll")
    with open(extracted, "wb") as out:
        subprocess.run(["msiinfo", "extract", msi, "Binary.QlxMsiActions"], stdout=out, check=True)
    ck.true("the Binary table holds the DLL as built",
            open(extracted, "rb").read() == open(dll, "rb").read())
    pe = pefile.PE(extracted)
    names = sorted(e.name.decode() for e in getattr(pe, "DIRECTORY_ENTRY_EXPORT").symbols)
    ck.equal("the DLL exports the actions' entry points", names,
             sorted(row["Target"] for row in table(msi, "CustomAction")
                    if row["Source"] == "QlxMsiActions"))


def check_refusal(ck, package, work):
    incomplete = os.path.join(work, "incomplete")
    shutil.copytree(package, incomplete)
    os.remove(os.path.join(incomplete, "Uninstall_98.dll"))
    out = os.path.join(work, "earlier.msi")
    with open(out, "wb") as file:
        file.write(b"an earlier package")
    result = build(incomplete, out)
    ck.equal("an incomplete package: exit status", result.returncode, 1)
    ck.true("an incomplete package: the message names what is missing",
            "lacks Uninstall_98.dll" in result.stderr, result.stderr)
    ck.true("an incomplete package: the earlier package is left as it was",
            open(out, "rb").read() == b"an earlier package")


def check_other_versions(ck, package, work, version, first_code):
    """A release raises one of the first three numbers and gets another
    ProductCode; a build that raises only the fourth keeps the code, since
    Windows Installer could not tell the two packages apart."""
    numbers = [int(n) for n in version.split(".")]
    rows = [("a release", (numbers[0], numbers[1], numbers[2] + 1, 0), False),
            ("only the fourth number", (*numbers[:3], numbers[3] + 5), True)]
    for label, other, same_code in rows:
        folder = os.path.join(work, f"v{'.'.join(map(str, other))}")
        shutil.copytree(package, folder)
        program = os.path.join(folder, "QLX957_Installer.exe")
        with_version(os.path.join(package, "QLX957_Installer.exe"), program, other)
        out = folder + ".msi"
        result = build(folder, out)
        ck.equal(f"{label}: builds", result.returncode, 0)
        if result.returncode:
            print(result.stderr)
            continue
        text = ".".join(map(str, other))
        properties = {row["Property"]: row["Value"] for row in table(out, "Property")}
        ck.equal(f"{label}: its own ProductVersion, the derived ProductCode, the same UpgradeCode",
                 (properties.get("ProductVersion"), properties.get("ProductCode"),
                  properties.get("UpgradeCode")),
                 (text, derived_code(text), UPGRADE_CODE))
        ck.equal(f"{label}: the ProductCode is {'the same' if same_code else 'another'}",
                 properties.get("ProductCode") == first_code, same_code)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--package", required=True)
    parser.add_argument("--actions-dll", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args(argv[1:])
    if os.path.exists(args.work):
        shutil.rmtree(args.work)
    os.makedirs(args.work)
    ck = Checker()
    msi = os.path.join(args.work, "QLX957_Installer.msi")
    result = build(args.package, msi)
    ck.equal("build-msi.sh exit status", result.returncode, 0)
    if result.returncode:
        print(result.stdout + result.stderr)
    else:
        version = program_version(os.path.join(args.package, "QLX957_Installer.exe"))
        properties = check_properties(ck, msi, version)
        check_actions(ck, msi)
        check_sequence(ck, msi)
        check_ownership(ck, msi, properties)
        check_upgrade(ck, msi, version)
        check_files(ck, msi, args.package)
        check_binary(ck, msi, args.actions_dll, args.work)
        again = os.path.join(args.work, "again.msi")
        build(args.package, again)
        ck.equal("the same version again: the same ProductCode",
                 {r["Property"]: r["Value"] for r in table(again, "Property")}.get("ProductCode"),
                 properties.get("ProductCode"))
        check_other_versions(ck, args.package, args.work, version, properties.get("ProductCode"))
        check_refusal(ck, args.package, args.work)
    print(f"{ck.passed} passed, {ck.failed} failed")
    return 1 if ck.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
