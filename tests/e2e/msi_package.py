"""End-to-end rows of the Windows Installer package (build/msi/, made by
scripts/build-msi.sh and tests/msi/build_newer_package.sh): msiexec runs in
the prefix under uidriver.exe, which reports its full 32-bit exit code (a
shell sees only the low 8 bits: 3010 reads as 194)."""

import re
import struct
import sys
from pathlib import Path

import expected as x
import scenarios as s

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "msi"))
from package_fragment import product_code  # noqa: E402

MSI_DIR = r"C:\msi"
PACKAGE = MSI_DIR + r"\QLX957_Installer.msi"
NEWER = MSI_DIR + r"\newer\QLX957_Installer.msi"
INSTALL_DIR = r"C:\Program Files\DALVERA QLX-957"
MSIEXEC = r"C:\windows\system32\msiexec.exe"
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"


def program_of(build: Path, package: str) -> Path:
    """The QLX957_Installer.exe that a package of build/msi/ carries."""
    if package == NEWER:
        return build.parent / "msi" / "newer-package" / "QLX957_Installer.exe"
    return build / "package" / "QLX957_Installer.exe"


def built(build: Path, package: str) -> Path:
    """build/win32 -> build/msi/QLX957_Installer.msi (or the newer one)."""
    msi = build.parent / "msi"
    return msi / "newer" / "QLX957_Installer.msi" if package == NEWER else msi / "QLX957_Installer.msi"


def version_of(program: Path) -> str:
    """The fixed file version of a program's version record."""
    data = program.read_bytes()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    high, low = struct.unpack_from("<2I", data, at + 8)
    return f"{high >> 16}.{high & 0xFFFF}.{low >> 16}.{low & 0xFFFF}"


def msiexec(action, package, log, exit_code, **more) -> s.Run:
    """One msiexec run without a window, logged verbosely to `log`."""
    return s.Run(s.unattended([], [], exit_code), directory=MSI_DIR, installer=MSIEXEC,
                 args=(action, package, "/qn", "/l*v", log), **more)


def install(exit_code=3010, package=PACKAGE, log="install.log", **more) -> s.Run:
    return msiexec("/i", package, MSI_DIR + "\\" + log, exit_code, **more)


def remove(exit_code=0) -> s.Run:
    return msiexec("/x", PACKAGE, MSI_DIR + r"\remove.log", exit_code)


def placing(*packages):
    """prepare(ctx): the packages in C:\\msi."""
    def prepare(ctx):
        for package in packages:
            source = built(ctx.build, package)
            if not source.exists():
                raise FileNotFoundError(f"{source}: scripts/build-msi.sh (and for the newer one "
                                        f"tests/msi/build_newer_package.sh) makes it")
            ctx.place(ctx.prefix.unix(package), source)
    return prepare


def registered(ctx, package) -> bool:
    """Windows Installer's registration of the product: its Uninstall key."""
    code = "{%s}" % product_code(version_of(program_of(ctx.build, package)))
    return ctx.prefix.run(["reg", "query", f"{UNINSTALL}\\{code}"], ctx.work / "reg.out", 60) == 0


def text_of(path: Path) -> str:
    data = path.read_bytes() if path.exists() else b""
    return data.decode("utf-16") if data[:2] == b"\xff\xfe" else data.decode("latin-1")


def holds_in_order(label, text, pieces) -> list:
    at, problems = 0, []
    for piece in pieces:
        found = text.find(piece, at)
        if found < 0:
            problems.append(f"{label} lacks {piece!r} (after position {at})")
        else:
            at = found + len(piece)
    return problems


def package_files(ctx, present: bool) -> list:
    """The package's folder under Program Files holds the driver package, or is gone."""
    folder = ctx.prefix.unix(INSTALL_DIR)
    if not present:
        return [f"{INSTALL_DIR} is still there"] if folder.exists() else []
    wanted = {p.relative_to(ctx.package).as_posix().upper()
              for p in ctx.package.rglob("*") if p.is_file()}
    found = {p.relative_to(folder).as_posix().upper()
             for p in folder.rglob("*") if p.is_file()} if folder.exists() else set()
    if found != wanted:
        return [f"{INSTALL_DIR}: missing {sorted(wanted - found)}, unexpected {sorted(found - wanted)}"]
    return []


def program_log(ctx, msi_log: str) -> Path:
    """The program's log as the package named it in msiexec's log: beside
    that log where Windows Installer says where it is (4.5 and later), else
    in the temp folder (Wine 8 names no log)."""
    found = re.search(r'QLX957_Installer: running .*?"/log:([^"]+)"',
                      text_of(ctx.prefix.unix(msi_log)))
    return ctx.prefix.unix(found.group(1)) if found else ctx.work / "no-program-log"


def expect(*, packages=(PACKAGE,), registered_packages=(), files=False, msi_log=None,
           in_msi_log=(), in_program_log=()):
    """verify(ctx): which of the scenario's packages are registered, the
    package's files, and texts that msiexec's log and the program's log
    must hold in order."""
    def verify(ctx):
        problems = []
        for package in packages:
            want = package in registered_packages
            if registered(ctx, package) != want:
                problems.append(f"{package} is {'not ' if want else ''}registered")
        problems += package_files(ctx, files)
        if msi_log:
            problems += holds_in_order(msi_log, text_of(ctx.prefix.unix(msi_log)), in_msi_log)
            problems += holds_in_order("the program's log", text_of(program_log(ctx, msi_log)),
                                       in_program_log)
        return problems
    return verify


def rows() -> list:
    one_printer = s.installed("winxp", [(x.PRINTER, x.DEFAULT_PORT)])
    install_log, remove_log = MSI_DIR + r"\install.log", MSI_DIR + r"\remove.log"
    return [
        s.Scenario("msiexec /i installs as /quiet does (winxp)", "winxp", [install()],
                   one_printer, prepare=placing(PACKAGE),
                   verify=expect(registered_packages=(PACKAGE,), files=True, msi_log=install_log,
                                 in_msi_log=["QLX957_Installer: running", "/quiet /norestart",
                                             "QLX957_Installer: Status: Add printer... [22%]",
                                             "QLX957_Installer: exit code 3010"],
                                 in_program_log=["/quiet /norestart", "exit code 3010"])),
        s.Scenario("msiexec /i again over its own installation adds no printer (winxp)", "winxp",
                   [install(), install(0, log="again.log")], one_printer, prepare=placing(PACKAGE),
                   verify=expect(registered_packages=(PACKAGE,), files=True)),
        s.Scenario("msiexec /i with a fatal spooler failure: 1603, nothing registered (winxp)",
                   "winxp", [install(1603, volatile_keys=(s.NT_DRIVERS + r"\Version-3",))],
                   s.after_failure("winxp", driver=False), prepare=placing(PACKAGE),
                   verify=expect(msi_log=install_log,
                                 in_msi_log=["QLX957_Installer: AddPrinterDriverA", "1021",
                                             "QLX957_Installer: exit code 1603"],
                                 in_program_log=["AddPrinterDriverA", "exit code 1603"])),
        # These two run QLX957_Installer.exe /uninstall /quiet.
        s.Scenario("msiexec /x removes the driver and both registrations (winxp)", "winxp",
                   [install(), remove()], s.removed("winxp"), prepare=placing(PACKAGE),
                   verify=expect(msi_log=remove_log,
                                 in_msi_log=["/uninstall /quiet", "QLX957_Installer: exit code 0"],
                                 in_program_log=["/uninstall", "exit code 0"])),
        s.Scenario("msiexec /i of a newer package replaces the older one: one registration, one printer"
                   " (winxp)",
                   "winxp", [install(), install(package=NEWER, log="newer.log")], one_printer,
                   prepare=placing(PACKAGE, NEWER),
                   verify=expect(packages=(PACKAGE, NEWER), registered_packages=(NEWER,),
                                 files=True)),
    ]
