#!/usr/bin/env python3
"""Runs one row of the end-to-end matrix against the real executables under Wine.

  runner.py list                      the row names, one a line
  runner.py template --work DIR       boots the template prefix the rows clone
  runner.py run NAME --work DIR --resources DIR --program TARGET=PATH ...

Each row gets a fresh prefix cloned from the template, its own wineserver and
its own fixtures; the driver (qf_driver.exe) plays the user in the same session.
"""

import argparse
import os
import select
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

# No bytecode cache in the source folder.
sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))
import scenarios as s  # noqa: E402

HERE = Path(__file__).resolve().parent
WINE_ENV = HERE.parent.parent / "tools" / "wine" / "wine-env.sh"

# Under emulation (the test guest) every program runs several times slower;
# QF_WAIT_SCALE stretches each wait by that factor.
WAIT_SCALE = max(1, int(os.environ.get("QF_WAIT_SCALE", "1")))
STEP_TIMEOUT_MS = 20000 * WAIT_SCALE
EXIT_TIMEOUT_S = 20 * WAIT_SCALE
HOLD_READY_TIMEOUT_S = 20 * WAIT_SCALE
DISPLAY_TIMEOUT_S = 20 * WAIT_SCALE
# The holder outlives any row; the runner ends it once the installer has.
HOLD_MS = 120000 * WAIT_SCALE
APP_FOLDER = "C:\\e2e\\app"
MARKER_NAME = "winmm-loaded.marker"
# Left by qf_wine_boot once a prefix has booted.
BOOTED_MARK = ".qf-booted"
NO_GECKO_OR_MONO = "mscoree,mshtml="
# Files a Wine prefix links rather than copies: read-only to Wine, and large.
SHARED_SUFFIXES = {".dll", ".exe", ".drv", ".sys", ".vxd", ".ocx", ".cpl", ".acm", ".tlb",
                   ".nls", ".ds", ".ax", ".com", ".msstyles"}


class RowFailed(Exception):
    pass


class PrivateDisplay:
    """An Xvfb of the row's own: no other test's window can cover the row's,
    and none of the row's can cover a window another test reads pixels from."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            ready, _, _ = select.select([numbers], [], [], DISPLAY_TIMEOUT_S)
            number = numbers.readline().strip() if ready else ""
        if not number:
            self.close()
            raise RowFailed(f"timed out after {DISPLAY_TIMEOUT_S} s waiting for Xvfb to start")
        self.name = ":" + number

    def close(self):
        if self.server.poll() is None:
            self.server.terminate()
            self.server.wait(timeout=10)


# ---- Prefixes -----------------------------------------------------------------

def template_dir(work):
    return work / "template-prefix"


def boot_template(work):
    display = PrivateDisplay()
    try:
        env = dict(os.environ, QF_WINE_PREFIX=str(template_dir(work)), DISPLAY=display.name)
        subprocess.run(["bash", "-c", 'source "$1" && qf_wine_boot', "boot", str(WINE_ENV)],
                       env=env, check=True, timeout=300 * WAIT_SCALE)
    finally:
        display.close()


def clone_prefix(template, prefix):
    """Hard-links Wine's own binaries and copies the rest: seconds saved per row,
    and no row can change another's registry or settings."""
    prefix.mkdir(parents=True)
    for entry in template.iterdir():
        if entry.name.endswith(".reg") or entry.name == ".update-timestamp":
            shutil.copy2(entry, prefix / entry.name)
    shutil.copytree(template / "dosdevices", prefix / "dosdevices", symlinks=True)

    def copy(src, dst):
        if Path(src).suffix.lower() in SHARED_SUFFIXES:
            os.link(src, dst)
        else:
            shutil.copy2(src, dst)

    shutil.copytree(template / "drive_c", prefix / "drive_c", symlinks=True, copy_function=copy)


def mounted_under(path):
    with open("/proc/mounts") as mounts:
        points = [line.split()[1] for line in mounts]
    return [p for p in points if p == str(path) or p.startswith(str(path) + "/")]


def unmount_under(prefix):
    for point in sorted(mounted_under(prefix), reverse=True):
        subprocess.run(["umount", point], check=False)


def remove_prefix(prefix):
    unmount_under(prefix)
    if prefix.exists():
        for path in prefix.rglob("*"):
            if not path.is_symlink():
                os.chmod(path, 0o755 if path.is_dir() else 0o644)
        shutil.rmtree(prefix)


# ---- One row ------------------------------------------------------------------

class Row:
    def __init__(self, scenario, args):
        self.scenario = scenario
        self.work = Path(args.work).resolve()
        self.programs = dict(p.split("=", 1) for p in args.program)
        self.resources = Path(args.resources).resolve()
        self.prefix = self.work / "rows" / scenario.name
        self.drives = {"C": self.prefix / "drive_c"}
        self.planted = {}
        self.read_only = set()
        self.background = []
        self.holders = []
        self.failures = []
        self.logs = 0
        self.display = None
        overrides = NO_GECKO_OR_MONO + (";" + scenario.dll_overrides if scenario.dll_overrides else "")
        self.env = dict(os.environ, WINEPREFIX=str(self.prefix), WINEARCH="win32", WINEDEBUG="-all",
                        WINEDLLOVERRIDES=overrides)

    # Windows paths of the row map onto its prefix's drives.
    def unix(self, windows_path):
        drive, rest = windows_path[0].upper(), windows_path[3:]
        base = self.drives[drive]
        return base.joinpath(*[p for p in rest.split("\\") if p]) if rest else base

    def program(self, target):
        if target not in self.programs:
            raise RowFailed(f"no program given for target {target}")
        return self.programs[target]

    def payload(self, index):
        return (self.resources / s.NAMES[index]).read_bytes()

    def content(self, wanted):
        if isinstance(wanted, s.Payload):
            return self.payload(wanted.index) + wanted.tail
        return wanted

    def fail(self, text):
        self.failures.append(text)

    # -- Fixtures --

    def prepare(self):
        self.display = PrivateDisplay()
        self.env["DISPLAY"] = self.display.name
        if self.prefix.exists():
            # A row killed part-way may have left its server running.
            subprocess.run(["wineserver", "-k"], env=self.env, check=False)
            subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=30)
        remove_prefix(self.prefix)
        template = template_dir(self.work)
        if not (template / BOOTED_MARK).exists():
            raise RowFailed(f"no booted template prefix at {template}: the test e2e.template makes it")
        clone_prefix(template, self.prefix)
        subprocess.run(["wineserver", "-p"], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        app = self.unix(APP_FOLDER)
        app.mkdir(parents=True)
        shutil.copy2(self.program(self.scenario.program), app / (self.scenario.program + ".exe"))
        for item in self.scenario.setup:
            self.apply(item, app)

    def apply(self, item, app):
        if isinstance(item, s.Folder):
            self.unix(item.path).mkdir(parents=True, exist_ok=True)
        elif isinstance(item, s.File):
            path = self.unix(item.path)
            data = self.content(item.content)
            path.write_bytes(data)
            self.planted[item.path] = data
            if item.read_only:
                # Wine shows a file without write bits as FILE_ATTRIBUTE_READONLY.
                os.chmod(path, 0o444)
                self.read_only.add(item.path)
        elif isinstance(item, s.Drive):
            target = self.prefix / ("drive_" + item.letter.lower())
            target.mkdir()
            if item.tmpfs_kib:
                subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={item.tmpfs_kib}k,mode=0755",
                                "tmpfs", str(target)], check=True)
            (self.prefix / "dosdevices" / (item.letter.lower() + ":")).symlink_to(target)
            self.drives[item.letter.upper()] = target
        elif isinstance(item, s.Link):
            link = self.unix(item.path)
            link.parent.mkdir(parents=True, exist_ok=True)
            link.symlink_to(self.unix(item.target))
        elif isinstance(item, s.HeldOpen):
            self.hold(item.path)
        elif isinstance(item, s.PlantedWinmm):
            shutil.copy2(self.program("qf_marker_winmm"), app / "winmm.dll")
        else:
            raise RowFailed(f"unknown fixture {item!r}")

    def hold(self, path):
        out = self.log_path("holder")
        with open(out, "w") as log:
            holder = subprocess.Popen(
                ["wine", self.program("qf_driver"), "hold", path, "--timeout-ms", str(HOLD_MS)],
                env=self.env, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        self.background.append(holder)
        self.holders.append(holder)
        deadline = time.monotonic() + HOLD_READY_TIMEOUT_S
        while time.monotonic() < deadline:
            if "held=" in out.read_text():
                return
            if holder.poll() is not None:
                raise RowFailed(f"the holder of {path} ended early: {out.read_text().strip()}")
            time.sleep(0.05)
        raise RowFailed(f"timed out after {HOLD_READY_TIMEOUT_S} s waiting for {path} to be held open")

    # Output goes to files, never pipes: Wine's background processes started by
    # a program inherit its handles and would hold a pipe open until the row ends.
    def log_path(self, what):
        self.logs += 1
        return self.prefix / f"{self.logs:02d}-{what}.log"

    # -- Driving --

    def driver(self, *arguments):
        command = ["wine", self.program("qf_driver"), *arguments]
        out, err = self.log_path(arguments[0]), self.log_path(arguments[0] + "-errors")
        try:
            with open(out, "w") as stdout, open(err, "w") as stderr:
                code = subprocess.run(command, env=self.env, stdout=stdout, stderr=stderr,
                                      timeout=3 * STEP_TIMEOUT_MS / 1000 + 10).returncode
        except subprocess.TimeoutExpired:
            raise RowFailed(f"the driver itself hung: {' '.join(arguments)}")
        output, errors = out.read_text(encoding="utf-8"), err.read_text(encoding="utf-8", errors="replace")
        fields = {}
        for line in output.splitlines():
            key, sep, value = line.partition("=")
            if sep:
                fields[key] = unescape(value)
        if code != 0:
            raise RowFailed(f"driver {' '.join(arguments)!r} failed ({code}): "
                            f"{errors.strip()} {fields or ''}".rstrip())
        return fields

    def expect(self, what, fields, expected):
        for key, value in expected.items():
            if fields.get(key) != value:
                self.fail(f"{what}: {key} is {fields.get(key)!r}, expected {value!r}")

    def step(self, index, step):
        what = f"step {index + 1} ({type(step).__name__})"
        timeout = ["--timeout-ms", str(STEP_TIMEOUT_MS)]
        if isinstance(step, s.Box):
            args = ["box", "--window", s.WINDOW_TITLE, "--press", step.press, *timeout]
            if step.hold_ms:
                args += ["--hold-ms", str(step.hold_ms)]
            fields = self.driver(*args)
            self.expect(what, fields, {"title": step.title, "prompt": step.prompt,
                                       "buttons": step.buttons, "icon": step.icon, "window": step.window})
        elif isinstance(step, s.Browser):
            args = ["browser", step.action] + ([step.path] if step.action == "choose" else [])
            fields = self.driver(*args, *timeout)
            self.expect(what, fields, {"prompt": step.prompt, "owner": step.owner})
        elif isinstance(step, s.CloseWindow):
            self.driver("close-window", "--title", step.title, *timeout)
        else:
            raise RowFailed(f"unknown step {step!r}")

    def run_program(self):
        with open(self.log_path("program"), "w") as log:
            program = subprocess.Popen(["wine", APP_FOLDER + "\\" + self.scenario.program + ".exe"],
                                       env=self.env, cwd=self.unix(APP_FOLDER),
                                       stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        self.background.append(program)
        try:
            for index, step in enumerate(self.scenario.steps):
                self.step(index, step)
        except RowFailed as failure:
            ended = program.poll()
            self.fail(str(failure) + ("" if ended is None else f" (the program had ended, exit code {ended})"))
            return
        try:
            code = program.wait(timeout=EXIT_TIMEOUT_S)
        except subprocess.TimeoutExpired:
            screen = self.driver("list").get("screen", "")
            self.fail(f"timed out after {EXIT_TIMEOUT_S} s waiting for the program to end after its "
                      f"last step; {screen}")
            return
        if code != self.scenario.exit_code:
            self.fail(f"exit code {code}, expected {self.scenario.exit_code}")
        for holder in self.holders:
            if holder.poll() is not None:
                self.fail("the file holder ended before the program did, so the row proved nothing")

    # -- Results --

    def check_files(self):
        for folder, expected in self.scenario.folders.items():
            path = self.unix(folder)
            if expected is None:
                if path.exists():
                    self.fail(f"{folder} exists, expected it not to: {sorted(os.listdir(path))}")
                continue
            if not path.is_dir():
                self.fail(f"{folder} is missing")
                continue
            found = sorted(p.name for p in path.iterdir())
            if found != sorted(expected):
                self.fail(f"{folder} holds {found}, expected exactly {sorted(expected)}")
            for name, wanted in expected.items():
                file = path / name
                if not file.is_file():
                    continue
                full = s.in_folder(folder, name)
                want = self.planted[full] if isinstance(wanted, s.Unchanged) else self.content(wanted)
                got = file.read_bytes()
                if got != want:
                    self.fail(f"{full}: {len(got)} bytes that differ from the expected {len(want)}")
                if full in self.read_only and os.stat(file).st_mode & 0o222:
                    self.fail(f"{full} lost its read-only attribute")
        self.check_no_strays()

    def check_no_strays(self):
        """No payload file may land outside the folders the row names."""
        allowed = {str(self.unix(f)) for f, e in self.scenario.folders.items() if e}
        names = {n.lower() for n in s.NAMES}
        for drive in self.drives.values():
            for root, _, files in os.walk(drive):
                if root in allowed:
                    continue
                for name in files:
                    if name.lower() in names:
                        self.fail(f"a payload file landed outside the expected folders: {root}/{name}")

    def check_marker(self):
        if self.scenario.marker_expected is None:
            return
        present = (self.unix(APP_FOLDER) / MARKER_NAME).exists()
        if present != self.scenario.marker_expected:
            self.fail("the planted winmm.dll was loaded" if present
                      else "the planted winmm.dll was not loaded, so the control proves nothing")

    def finish(self):
        for process in self.background:
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
        subprocess.run(["wineserver", "-k"], env=self.env, check=False)
        # The server must be gone before a tmpfs under the prefix can be unmounted.
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=30)
        if self.display:
            self.display.close()
        # Even a failed row's prefix, kept for a look, holds no mount.
        unmount_under(self.prefix)

    def run(self):
        started = time.monotonic()
        try:
            self.prepare()
            self.run_program()
            self.check_files()
            self.check_marker()
        except RowFailed as failure:
            self.fail(str(failure))
        finally:
            self.finish()
        elapsed = time.monotonic() - started
        if self.failures:
            print(f"FAIL {self.scenario.name} ({elapsed:.1f} s); prefix kept at {self.prefix}")
            for failure in self.failures:
                print("  " + failure)
            return 1
        remove_prefix(self.prefix)
        print(f"PASS {self.scenario.name} ({elapsed:.1f} s)")
        return 0


def unescape(text):
    out, i = [], 0
    simple = {"\\": "\\", "r": "\r", "n": "\n", "t": "\t"}
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            nxt = text[i + 1]
            if nxt in simple:
                out.append(simple[nxt])
                i += 2
                continue
            if nxt == "x":
                out.append(chr(int(text[i + 2:i + 4], 16)))
                i += 4
                continue
        out.append(c)
        i += 1
    return "".join(out)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("command", choices=["list", "template", "run"])
    parser.add_argument("name", nargs="?")
    parser.add_argument("--work")
    parser.add_argument("--program", action="append", default=[])
    parser.add_argument("--resources")
    args = parser.parse_args()

    if args.command == "list":
        print("\n".join(row.name for row in s.SCENARIOS))
        return 0
    if args.command == "template":
        boot_template(Path(args.work).resolve())
        return 0
    rows = {row.name: row for row in s.SCENARIOS}
    if args.name not in rows:
        print(f"runner: no row named {args.name!r}")
        return 2
    return Row(rows[args.name], args).run()


if __name__ == "__main__":
    sys.exit(main())
