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
# The newer program over the older driver files: a repackaged release.
REPACKAGED = MSI_DIR + r"\repackaged\QLX957_Installer.msi"
INSTALL_DIR = r"C:\Program Files\DALVERA QLX-957"
MSIEXEC = r"C:\windows\system32\msiexec.exe"
UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
# The package's record that it installed the driver (QLX957_Installer.wxs).
OWNER_KEY = r"HKLM\SOFTWARE\DALVERA\QLX-957 deployment package"


def program_of(build: Path, package: str) -> Path:
    """The QLX957_Installer.exe that a package of build/msi/ carries."""
    if package in (NEWER, REPACKAGED):
        folder = "newer-package" if package == NEWER else "repackaged-package"
        return build.parent / "msi" / folder / "QLX957_Installer.exe"
    return build / "package" / "QLX957_Installer.exe"


def built(build: Path, package: str) -> Path:
    """build/win32 -> build/msi/QLX957_Installer.msi (or the newer one)."""
    msi = build.parent / "msi"
    if package in (NEWER, REPACKAGED):
        return msi / ("newer" if package == NEWER else "repackaged") / "QLX957_Installer.msi"
    return msi / "QLX957_Installer.msi"


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


def owns_driver(ctx) -> bool:
    return ctx.prefix.run(["reg", "query", OWNER_KEY, "/v", "InstalledTheDriver"],
                          ctx.work / "reg.out", 60) == 0


def ownership(want: bool):
    """after(ctx): the package has recorded that it installed the driver, or not."""
    def after(ctx):
        if owns_driver(ctx) == want:
            return []
        return [f"the package's record that it installed the driver is {'missing' if want else 'there'}"]
    return after


def printer_moved_to(port: str):
    """before(ctx): the printer on another port, as the Printers folder would
    leave it (the spooler keeps the port in the printer's key)."""
    def before(ctx):
        ctx.prefix.reg_add(f"{s.PRINT}\\Printers\\{x.PRINTER}", "Port", port, ctx.work / "reg.out")
    return before


def entry_lost(ctx):
    """before(ctx): the driver's uninstall entry gone (a cleaned registry),
    the printer moved to COM2."""
    ctx.prefix.run(["reg", "delete", f"{UNINSTALL}\\DALVERA_QLX-957", "/f"], ctx.work / "reg.out",
                   60)
    printer_moved_to("COM2:")(ctx)


def updated(version, printers) -> x.EndState:
    """The driver after the newer package's program updated it in place: the
    product's own files those of the newer demo package (build/win32/
    package-newer/), the shared universal files as they were."""
    layout = x.FILES[x.FAMILY[version]]
    newer = lambda name: f"@newer/{layout.source}/{name}"
    own = {"QLX957E.DLL", "QLUI957.DLL", "QLX957E.DRV", "VANTRIX.DLL", "MERLOWE.DLL"}
    state = s.installed(version, printers,
                        replaced={n.upper(): newer(n) for n in layout.staged if n.upper() in own})
    state.files[layout.processor_dir]["QLPRO957.DLL"] = newer("QLPRO957.DLL")
    state.system_files["QLMON957.DLL"] = newer("QLMON957.DLL")
    state.files[x.UNINSTALL_DIR] = {n.upper(): f"@newer/{n}" for n in x.UNINSTALLER_FILES}
    return state


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


def expect(*, packages=(PACKAGE,), registered_packages=(), files=False, owner=None, msi_log=None,
           in_msi_log=(), in_program_log=()):
    """verify(ctx): which of the scenario's packages are registered, the
    package's files, its record that it installed the driver (unless None),
    and texts that msiexec's log and the program's log must hold in order."""
    def verify(ctx):
        problems = ownership(owner)(ctx) if owner is not None else []
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
                   verify=expect(registered_packages=(PACKAGE,), files=True, owner=True,
                                 msi_log=install_log,
                                 in_msi_log=["QLX957_Installer: running", "/quiet /norestart",
                                             "QLX957_Installer: Status: Add printer... [22%]",
                                             "QLX957_Installer: exit code 3010"],
                                 in_program_log=["/quiet /norestart", "exit code 3010"])),
        # The program asks for administrator rights in its manifest; the
        # deferred action, with the system's rights, still starts it.
        s.Scenario("msiexec /i installs on Windows 7 (win7)", "win7", [install()],
                   s.installed("win7", [(x.PRINTER, x.DEFAULT_PORT)]), prepare=placing(PACKAGE),
                   verify=expect(registered_packages=(PACKAGE,), files=True,
                                 in_program_log=["(Windows 7)", "/quiet /norestart",
                                                 "exit code 3010"])),
        s.Scenario("msiexec /i again over its own installation adds no printer (winxp)", "winxp",
                   [install(), install(0, log="again.log")], one_printer, prepare=placing(PACKAGE),
                   verify=expect(registered_packages=(PACKAGE,), files=True)),
        # The rollback action runs, but Wine's rollback removes the package's
        # files before it, so the program it would run to take the partial
        # driver away is gone; Windows runs it first.
        s.Scenario("msiexec /i with a fatal spooler failure: 1603, nothing registered (winxp)",
                   "winxp", [install(1603, volatile_keys=(s.NT_DRIVERS + r"\Version-3",))],
                   s.after_failure("winxp", driver=False), prepare=placing(PACKAGE),
                   verify=expect(msi_log=install_log,
                                 in_msi_log=["QLX957_Installer: AddPrinterDriverA", "1021",
                                             "QLX957_Installer: exit code 1603",
                                             "QLX957_Installer: the installation failed: the "
                                             "driver it installed is removed"],
                                 in_program_log=["AddPrinterDriverA", "exit code 1603"])),
        # The package installed the driver: its removal runs QLX957_Installer.exe /uninstall /quiet.
        s.Scenario("msiexec /x removes the driver and both registrations (winxp)", "winxp",
                   [install(), remove()], s.removed("winxp"), prepare=placing(PACKAGE),
                   verify=expect(msi_log=remove_log,
                                 in_msi_log=["/uninstall /quiet", "QLX957_Installer: exit code 0"],
                                 in_program_log=["/uninstall", "exit code 0"])),
        # The driver installed by hand first: the package only registers
        # itself, and its removal leaves the driver.
        s.Scenario("msiexec /x of a package installed over a hand-installed driver leaves the"
                   " driver and its printer (winxp)", "winxp",
                   [s.Run(s.unattended([], [], 3010), args=("/quiet",)),
                    install(0, after=ownership(False)), remove()],
                   one_printer, prepare=placing(PACKAGE), verify=expect()),
        # The older package's removal keeps the driver; the newer package's
        # program updates it in place, the printer where it was.
        s.Scenario("msiexec /i of a newer package keeps the printer on COM2 and updates the"
                   " driver in place: one registration (winxp)", "winxp",
                   [install(), install((0, 3010), package=NEWER, log="newer.log",
                                       before=printer_moved_to("COM2:"))],
                   updated("winxp", [(x.PRINTER, "COM2:")]), prepare=placing(PACKAGE, NEWER),
                   verify=expect(packages=(PACKAGE, NEWER), registered_packages=(NEWER,),
                                 files=True, owner=True)),
        # The same driver in a newer package: the installation is complete and
        # current, and the package adds no printer beside the one there.
        s.Scenario("msiexec /i of a repackaged release keeps the printer on COM2 and adds none"
                   " (winxp)", "winxp",
                   [install(), install(0, package=REPACKAGED, log="repackaged.log",
                                       before=printer_moved_to("COM2:"))],
                   s.installed("winxp", [(x.PRINTER, "COM2:")]),
                   prepare=placing(PACKAGE, REPACKAGED),
                   verify=expect(packages=(PACKAGE, REPACKAGED), registered_packages=(REPACKAGED,),
                                 files=True, owner=True)),
        # A driver installed before the package, its uninstall entry since
        # lost: the spooler's list tells that it was there, so the package
        # neither owns it nor takes it away.
        s.Scenario("msiexec /i over a driver whose uninstall entry is missing, then msiexec /x:"
                   " the printer stays on COM2 (winxp)", "winxp",
                   [s.Run(s.unattended([], [], 3010), args=("/quiet",)),
                    install(0, before=entry_lost, after=ownership(False)), remove()],
                   s.installed("winxp", [(x.PRINTER, "COM2:")], uninstall=False),
                   prepare=placing(PACKAGE), verify=expect()),
    ]
