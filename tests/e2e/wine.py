"""Wine for the end-to-end runs: one Xvfb display, a template prefix made
once, throwaway prefixes cloned from it with hard links, and programs run in
them with their output sent to files (the prefix's services would keep a pipe
open until the session ends)."""

import os
import shutil
import subprocess
import time
from pathlib import Path

# Every time limit is multiplied by this: a machine that emulates its
# processor (a virtual machine without hardware support) runs Wine many
# times slower.
TIME_SCALE = float(os.environ.get("QLX_E2E_TIME_SCALE", "1"))

WINDOWS_VERSIONS = ("win95", "win98", "winme", "nt40", "win2k", "winxp", "win2003", "vista", "win7",
                    "win10", "win31", "winxp64")


class Display:
    """An Xvfb server on a free display number, or the caller's DISPLAY."""

    def __init__(self, log_dir: Path, use_existing: bool = False):
        self.process = None
        if use_existing and os.environ.get("DISPLAY"):
            self.name = os.environ["DISPLAY"]
            return
        # A number free in this /tmp may still be taken by a server whose
        # abstract socket is all that shows (one started in a chroot, or
        # outside ours): such an Xvfb ends at once, and the next number is tried.
        log_path = log_dir / "xvfb.log"
        for number in range(181, 260):
            if Path(f"/tmp/.X11-unix/X{number}").exists() or Path(f"/tmp/.X{number}-lock").exists():
                continue
            with open(log_path, "ab") as log:
                self.process = subprocess.Popen(
                    ["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                    stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
            self.name = f":{number}"
            deadline = time.monotonic() + 20
            while not Path(f"/tmp/.X11-unix/X{number}").exists():
                if self.process.poll() is not None:
                    break
                if time.monotonic() > deadline:
                    self.close()
                    raise RuntimeError(f"Xvfb {self.name} did not start (see {log_path})")
                time.sleep(0.05)
            else:
                return
        self.process = None
        raise RuntimeError(f"no display number was free for Xvfb (see {log_path})")

    def close(self):
        if self.process:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
            self.process = None


class Prefix:
    """One Wine prefix (32-bit, or 64-bit where 32-bit programs run under
    WOW64) and the programs run in it."""

    def __init__(self, path: Path, display: str, arch: str = "win32"):
        self.path = path
        self.env = dict(os.environ, WINEPREFIX=str(path), WINEARCH=arch, WINEDEBUG="-all",
                        DISPLAY=display)
        self.env.pop("WINEDLLOVERRIDES", None)
        self.env.pop("WAYLAND_DISPLAY", None)

    @property
    def drive_c(self) -> Path:
        return self.path / "drive_c"

    def unix(self, windows_path: str) -> Path:
        """C:\\a\\b -> <prefix>/drive_c/a/b (the case as given)."""
        assert windows_path[:3].upper() == "C:\\", windows_path
        return self.drive_c.joinpath(*[p for p in windows_path[3:].split("\\") if p])

    def run(self, arguments, out: Path, timeout: float, extra_env=None) -> int:
        env = dict(self.env, **(extra_env or {}))
        with open(out, "ab") as sink:
            try:
                return subprocess.run(["wine", *arguments], stdout=sink, stderr=subprocess.STDOUT,
                                      stdin=subprocess.DEVNULL, env=env,
                                      timeout=timeout * TIME_SCALE).returncode
            except subprocess.TimeoutExpired:
                return -1

    def start(self, arguments, out: Path, extra_env=None) -> subprocess.Popen:
        """Starts a program and returns at once; the caller waits for it."""
        env = dict(self.env, **(extra_env or {}))
        with open(out, "ab") as sink:
            return subprocess.Popen(["wine", *arguments], stdout=sink, stderr=subprocess.STDOUT,
                                    stdin=subprocess.DEVNULL, env=env)

    def reg_add(self, key: str, name: str, data: str, out: Path):
        self.run(["reg", "add", key, "/v", name, "/d", data, "/f"], out, 120)

    def end_session(self):
        """Ends every process of the prefix and waits for its wineserver."""
        for flag in ("-k", "-w"):
            try:
                subprocess.run(["wineserver", flag], env=self.env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, timeout=60 * TIME_SCALE)
            except subprocess.TimeoutExpired:
                pass  # a server that will not end is left; its prefix is thrown away

    def set_windows_version(self, version: str):
        """Appends the prefix-wide version to user.reg; only while no session runs."""
        with open(self.path / "user.reg", "a", encoding="latin-1") as reg:
            reg.write(f'\n[Software\\\\Wine] 1700000000\n"Version"="{version}"\n')


def make_template(path: Path, display: str, log: Path, managed: bool = False,
                  arch: str = "win32") -> Prefix:
    """A fresh prefix with the 9x print processor folder that Wine does
    not make; unless `managed`, without the 2 s wait per hidden window that
    Wine makes where no window manager runs."""
    if path.exists():
        shutil.rmtree(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    prefix = Prefix(path, display, arch)
    status = prefix.run(["wineboot", "-i"], log, 300)
    if not managed:
        prefix.reg_add(r"HKCU\Software\Wine\X11 Driver", "Managed", "N", log)
    prefix.end_session()
    if status != 0 or not (path / "system.reg").exists():
        raise RuntimeError(f"wineboot -i failed ({status}); see {log}")
    (prefix.drive_c / "windows/system32/spool/prtprocs/win40").mkdir(parents=True, exist_ok=True)
    (path / ".template-ready").write_text("ok\n")
    return prefix


def clone(template: Path, path: Path, display: str, arch: str = "win32") -> Prefix:
    """A copy of the template in a fraction of a second: every file hard-linked
    except the registry files, which Wine rewrites, and `.update-timestamp`."""
    if path.exists():
        shutil.rmtree(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["cp", "-al", str(template), str(path)], check=True)
    for name in ("system.reg", "user.reg", "userdef.reg", ".update-timestamp"):
        linked = path / name
        if linked.exists():
            linked.unlink()
            shutil.copy2(template / name, linked)
    return Prefix(path, display, arch)


def replace_file(target: Path, source: Path):
    """Puts a file of its own at `target` (never writing through a hard link)."""
    if target.exists() or target.is_symlink():
        target.unlink()
    target.parent.mkdir(parents=True, exist_ok=True)
    shutil.copy2(source, target)


def copy_tree_linked(source: Path, target: Path):
    """Hard-links the files of `source` into `target`, which the installer only reads."""
    subprocess.run(["cp", "-al", str(source), str(target)], check=True)
