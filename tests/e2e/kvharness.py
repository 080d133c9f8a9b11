"""The end-to-end harness: KVUpdate.exe under Wine on the peers' Xvfb display.

A scenario (tests/e2e/scenarios/NAME.py, one ctest each) opens a Harness, sets
the machine up (registry, files, update server documents), starts the program
as a product would, drives its windows through kvdriver.exe and asserts what
it sees and what reached the peers:

    from kvharness import Harness

    with Harness("offer_shown", lang="de") as h:             # de: country 49, en: 1
        h.import_reg(REG_TEXT)                                # into the 32-bit view
        h.write_file(r"C:\ProgramData\Karvell\QOFolio\QOOnline.lst", LIST_TEXT)
        h.serve("/update.ini", CATALOGUE_TEXT)                # on 127.0.0.1
        run = h.start_kvupdate(["QORIND", "QOFolio", "U", "QOOnline.lst"])
        wizard = h.wait_window(title="Karvell Netrefresh Tool V 8.1.10")
        h.click(wizard, "Weiter >")
        h.wait_until(lambda: "8.1.10" in h.text_of(h.control(wizard, id=15)), 30, "the offer")
        assert h.reports() == []

The product's bitness is a choice of the run, KV_BITS in the environment:
64 (the default) runs the x86_64 build ($KV_BUILD_DIR the win64 build) under
the machine's wine64; 32 runs the i686 build in the test configuration
($KV_BUILD_DIR the win32 build, KVUpdate_test.exe) under the private 32-bit
Wine of tests/wine/wine32.sh, emulated, so every deadline is three times as
long. Both are driven by the x86_64 kvdriver.exe (for 32: $KV_DRIVER, by
default the win64 build's). KV_WINE and KV_PROGRAM name other loaders or
programs.

Every wait polls a condition until a deadline. Each Harness starts from a
clean machine (no Karvell keys, folders or server documents) and ends the
Wine processes of its own prefix when the scenario ends, however it ends; a
failure leaves a screenshot and the window list in $KV_BUILD_DIR/e2e/.
"""
import contextlib
import fcntl
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

from faultserver import FaultServer

BITS = int(os.environ.get("KV_BITS", "64"))
if BITS not in (32, 64):
    raise ValueError(f"KV_BITS={BITS}: 32 or 64")
# Emulated, the 32-bit program takes two to four times as long to show a window.
DEADLINE_SCALE = 3.0 if BITS == 32 else 1.0
LOCALES = {"de": "de_DE.UTF-8", "en": "en_US.UTF-8"}
DEFAULT_PRODUCT_FOLDER = r"C:\Program Files (x86)\Karvell\QOFolio"
# What a scenario leaves behind that the next one must not see. Keys go by
# "reg delete": Wine's import does not remove keys of the 32-bit view.
RESET_KEYS = (r"HKLM\Software\Karvell", r"HKCU\Software\Karvell")
REASON_LINES = {
    1: "Done after version check NO DOWNLOAD",
    2: "Done after DOWNLOAD and START of update file",
    4: "Mailed after running download aborded",
    5: "Mailed after cancel no download was started",
    7: "Mailed after outdated program was detected",
    8: "Mailed after no further update possible",
    19: "Update wurde über Kreuz beendet nicht Button",
    22: "Done after DOWNLOAD of update file",
    23: "Done after DOWNLOAD, update file NOT started: signature not valid",
}
PAGE_HEAD = '<html><head><title>Meldung</title></head><body bgcolor="white">'
PAGE_TAIL = "</body></html>"
PEER_ADDRESSES = {"nginx": ("127.0.0.1", 80), "php": ("127.0.0.2", 80), "tinyproxy": ("127.0.0.3", 8888)}
RESET_VALUES = """REGEDIT4

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings]
"ProxyEnable"=-
"ProxyServer"=-
"""


class ScenarioError(AssertionError):
    pass


def wait_until(condition, timeout=30.0, what="the condition", interval=0.2):
    """Polls condition() until it returns something true; returns that value."""
    timeout *= DEADLINE_SCALE
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise ScenarioError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def hex_argument(text):
    return "hex:" + text.encode("cp1252").hex()


class Run:
    """A started KVUpdate.exe."""

    def __init__(self, process, log_path):
        self.process = process
        self.log_path = log_path

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=30.0):
        """The exit code; raises when the program is still running at the deadline."""
        timeout *= DEADLINE_SCALE
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise ScenarioError(f"KVUpdate.exe still running after {timeout:.0f} s") from None


class Harness:
    def __init__(self, name, lang="de", display=None):
        if lang not in LOCALES:
            raise ValueError(f"language {lang!r}: one of {sorted(LOCALES)}")
        self.name = name
        self.build = Path(os.environ["KV_BUILD_DIR"]).resolve()
        self.source = Path(os.environ.get("KV_SOURCE_DIR", Path(__file__).resolve().parents[2]))
        self.e2e = self.build / "e2e"
        self.prefix = self.e2e / "wineprefix"
        self.screens = self.e2e / "screens"
        self.www = self.e2e / "www"
        self.logs = self.e2e / "logs"
        self.wine_loader, self.program, self.driver_exe = programs(self.build)
        self.wineserver = self.wine_loader.parent / "wineserver"
        self.env = self._environment(LOCALES[lang])
        if display:  # a display of the user's instead of the peers' Xvfb
            self.env["DISPLAY"] = display
        self._own_display = display
        self._runs = []

    # --- life cycle -------------------------------------------------------
    def __enter__(self):
        self._ensure_peers()
        for folder in (self.screens, self.www, self.logs):
            folder.mkdir(parents=True, exist_ok=True)
        self._ensure_prefix()
        subprocess.run([self.wineserver, "-p"], env=self.env, check=False)
        self._reset_machine()
        self._reports_before = len(self._all_reports())
        self._requests_before = len(self._all_requests())
        self.log(f"scenario {self.name} ({BITS}-bit, {self.env['LANG']}, display {self.env['DISPLAY']})")
        return self

    def __exit__(self, kind, value, trace):
        try:
            if kind is not None:
                self.log(f"failed: {value!r}")
                self.screenshot(f"{self.name}-failure")
                for window in self.windows():
                    self.log(f"window at failure: {window}")
        finally:
            self.teardown()
        return False

    def teardown(self):
        """Ends every Wine process of this prefix, the program under test included."""
        subprocess.run([self.wineserver, "-k"], env=self.env, check=False, timeout=60)
        for run in self._runs:
            try:
                run.process.wait(10)
            except subprocess.TimeoutExpired:
                run.process.kill()

    def _environment(self, locale):
        env = dict(os.environ)
        env.update({
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "WINEARCH": "win64",
            "WINEPREFIX": str(self.prefix),
            "LANG": locale,
            "LC_ALL": locale,
        })
        display_file = self.e2e / "display"
        if display_file.exists():
            env["DISPLAY"] = display_file.read_text().strip()
        return env

    def _ensure_peers(self):
        if not (self.e2e / "display").exists():
            subprocess.run([str(self.source / "tests/e2e/peers.sh"), "start"], check=True,
                           env=dict(os.environ, KV_SOURCE_DIR=str(self.source)))
            self.env["DISPLAY"] = self._own_display or (self.e2e / "display").read_text().strip()

    def _ensure_prefix(self):
        ready = self.prefix / ".kv-ready"
        if ready.exists():
            return
        self.prefix.mkdir(parents=True, exist_ok=True)
        with open(str(self.prefix) + ".lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if not ready.exists():
                subprocess.run([self.wine_loader, "wineboot", "-i"], env=self.env, check=True,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
                subprocess.run([self.wineserver, "-w"], env=self.env, check=False, timeout=300)
                ready.touch()

    def _reset_machine(self):
        for key in RESET_KEYS:
            self.wine("reg", "delete", key, "/f", "/reg:32", check=False)
        self.import_reg(RESET_VALUES)
        drive = self.prefix / "drive_c"
        for folder in ("ProgramData/Karvell", "Program Files (x86)/Karvell", "Program Files/Karvell"):
            shutil.rmtree(drive / folder, ignore_errors=True)
        for document in self.www.iterdir():
            if document.is_dir():
                shutil.rmtree(document)
            else:
                document.unlink()

    # --- the machine ------------------------------------------------------
    def log(self, message):
        line = f"[{time.strftime('%H:%M:%S')}] {message}"
        print(line, flush=True)
        with open(self.logs / f"{self.name}.log", "a", encoding="utf-8") as out:
            out.write(line + "\n")

    def host_path(self, windows_path):
        """The host path of a path on drive C: of the prefix."""
        drive, _, rest = windows_path.partition(":")
        if drive.upper() != "C":
            raise ValueError(f"{windows_path}: only drive C: is mapped")
        return self.prefix / "drive_c" / rest.replace("\\", "/").lstrip("/")

    def wine(self, *args, timeout=60, check=True):
        """Runs a Windows program to its end. Its output goes through files, not pipes: Wine's
        background processes inherit the handles and would keep a pipe open."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run([self.wine_loader, *map(str, args)], env=self.env, stdout=out, stderr=err,
                                  stdin=subprocess.DEVNULL, timeout=timeout * DEADLINE_SCALE).returncode
            out.seek(0)
            err.seek(0)
            result = subprocess.CompletedProcess(args, code, out.read(), err.read())
        if check and code != 0:
            raise ScenarioError(f"wine {args}: exit code {code}: {result.stderr.decode(errors='replace')}")
        return result

    def import_reg(self, reg):
        """Imports .reg text (or a .reg file) into the 32-bit view, as the product's installer writes it."""
        if isinstance(reg, Path):
            reg = reg.read_text(encoding="cp1252")
        with tempfile.NamedTemporaryFile("w", suffix=".reg", encoding="cp1252", newline="\r\n",
                                         dir=self.e2e, delete=False) as out:
            out.write(reg)
        try:
            # Wine's reg has refused an import once among many hundreds (exit code 1, no message); the
            # same row passed when run again. One more try keeps that from failing a whole run.
            if self.wine("reg", "import", out.name, "/reg:32", check=False).returncode != 0:
                time.sleep(1)
                self.wine("reg", "import", out.name, "/reg:32")
        finally:
            os.unlink(out.name)

    def write_file(self, windows_path, content, encoding="cp1252"):
        """Writes a file in the prefix; text is stored in Windows-1252 with CR LF line ends."""
        path = self.host_path(windows_path)
        path.parent.mkdir(parents=True, exist_ok=True)
        data = content if isinstance(content, bytes) else content.replace("\n", "\r\n").encode(encoding)
        path.write_bytes(data)
        return path

    def read_file(self, windows_path, encoding="cp1252"):
        return self.host_path(windows_path).read_bytes().decode(encoding, errors="replace")

    def serve(self, url_path, content):
        """Puts a document on the update server (127.0.0.1)."""
        target = self.www / url_path.lstrip("/")
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(content if isinstance(content, bytes) else content.replace("\n", "\r\n").encode("cp1252"))
        return target

    def install_program(self, folder=DEFAULT_PRODUCT_FOLDER):
        """Copies KVUpdate.exe into a product folder; returns its Windows path."""
        target = self.host_path(folder)
        target.mkdir(parents=True, exist_ok=True)
        # A fresh file renamed into place: rewriting the file in place would
        # change the image of a copy that is running already.
        staged = target / "KVUpdate.exe.new"
        shutil.copy2(self.program, staged)
        os.replace(staged, target / "KVUpdate.exe")
        return folder.rstrip("\\") + "\\KVUpdate.exe"

    def start_kvupdate(self, parameters, folder=DEFAULT_PRODUCT_FOLDER, cwd=None):
        """Starts KVUpdate.exe from the product folder with the call parameters, as a product does; its
        current folder is the product folder unless cwd names another."""
        exe = self.install_program(folder)
        log_path = self.logs / f"{self.name}-kvupdate-{len(self._runs) + 1}.log"
        self.log(f"start {exe} {parameters}")
        with open(log_path, "wb") as log:
            process = subprocess.Popen([self.wine_loader, exe, *parameters], env=self.env,
                                       cwd=self.host_path(cwd or folder),
                                       stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        run = Run(process, log_path)
        self._runs.append(run)
        return run

    # --- the driver -------------------------------------------------------
    def driver(self, *args, timeout=60):
        """Runs kvdriver.exe; returns (exit code, parsed JSON lines)."""
        result = self.wine(self.driver_exe, *args, timeout=timeout, check=False)
        if result.returncode == 2:
            raise ScenarioError(f"kvdriver usage: {result.stderr.decode(errors='replace')}")
        lines = result.stdout.decode("cp1252", errors="replace").splitlines()
        return result.returncode, [json.loads(line) for line in lines if line.startswith("{")]

    @staticmethod
    def _filter(cls=None, title=None, title_has=None, exe="KVUpdate.exe", visible=True):
        args = []
        for option, value in (("--class", cls), ("--title", title), ("--title-has", title_has), ("--exe", exe)):
            if value:
                args += [option, hex_argument(value)]
        return args + (["--visible"] if visible else [])

    def windows(self, cls=None, title=None, title_has=None, exe=None, visible=False):
        """Top-level windows (of every program unless exe is given)."""
        return self.driver("windows", *self._filter(cls, title, title_has, exe, visible))[1]

    def wait_window(self, cls=None, title=None, title_has=None, exe="KVUpdate.exe", timeout=30.0):
        """The first visible top-level window that matches, once there is one."""
        what = f"a window class={cls} title={title or title_has} of {exe}"

        def found():
            windows = self.windows(cls, title, title_has, exe, visible=True)
            if not windows:
                self._fail_if_program_ended(what)
            return windows[0] if windows else None
        return wait_until(found, timeout, what)

    def wait_gone(self, cls=None, title=None, title_has=None, exe="KVUpdate.exe", timeout=30.0):
        what = f"the window class={cls} title={title or title_has} of {exe} to close"
        wait_until(lambda: not self.windows(cls, title, title_has, exe, visible=True), timeout, what)

    def _fail_if_program_ended(self, what):
        """Waiting for the program's window is pointless once every started program has ended."""
        if self._runs and not any(run.running() for run in self._runs):
            codes = [run.process.returncode for run in self._runs]
            raise ScenarioError(f"KVUpdate.exe ended (exit codes {codes}) while waiting for {what}")

    def controls(self, window):
        return self.driver("controls", str(_hwnd(window)))[1]

    def control(self, window, cls=None, text=None, id=None):
        """The first child control that matches."""
        for c in self.controls(window):
            if (cls is None or c["class"] == cls) and (text is None or c["text"] == text) and \
                    (id is None or c["id"] == id):
                return c
        raise ScenarioError(f"no control class={cls} text={text} id={id} in {window}")

    def text_of(self, window):
        code, found = self.driver("text", str(_hwnd(window)))
        if code != 0:
            raise ScenarioError(f"window {window} is gone")
        return found[0]["text"]

    def click(self, window, caption=None):
        """Clicks the button of the window with that caption (access-key "&" ignored), or the window itself.
        A button the user can see wins over a hidden one of the same caption (a page out of sight)."""
        if caption is not None:
            seen = [c for c in self.controls(window) if c["class"].lower() == "button" and c["visible"]
                    and c["text"].replace("&", "") == caption.replace("&", "")]
            if seen:
                window, caption = seen[0], None
        args = [str(_hwnd(window))] + ([hex_argument(caption)] if caption is not None else [])
        if self.driver("click", *args)[0] != 0:
            raise ScenarioError(f"no button {caption!r} in {window}")

    def check(self, window, caption=None, state=True):
        args = [str(_hwnd(window))] + ([hex_argument(caption)] if caption is not None else [])
        if self.driver("check", *args, "--state", "1" if state else "0")[0] != 0:
            raise ScenarioError(f"no check box {caption!r} in {window}")

    def set_text(self, window, text):
        if self.driver("settext", str(_hwnd(window)), hex_argument(text))[0] != 0:
            raise ScenarioError(f"cannot set the text of {window}")

    def close(self, window):
        self.driver("close", str(_hwnd(window)))

    def minimize(self, window):
        """Minimises as the user does; a main window may be hidden rather than iconic afterwards."""
        self.driver("minimize", str(_hwnd(window)))
        self.wait_until(lambda: not self.shown(window), 10, f"{window} to be minimised")

    def shown(self, window):
        """The window is on the screen: visible and not minimised."""
        state = self.state_of(window)
        return bool(state.get("visible") and not state.get("minimized"))

    def state_of(self, window):
        """The window as the driver sees it now; empty when it is gone."""
        return next((w for w in self.windows() if w["hwnd"] == _hwnd(window)), {})

    def answer_box(self, caption=None, text=None, button="OK", exe="KVUpdate.exe", timeout=30.0):
        """Waits for a message box, checks its caption and text (when given), presses the button.

        Returns {"caption": ..., "text": ...} as the box showed them."""
        box = self.wait_window(cls="#32770", title=caption, exe=exe, timeout=timeout)
        statics = self._box_texts(box)
        shown = {"caption": box["text"], "text": "\n".join(statics)}
        self.log(f"message box {shown}")
        self.screenshot(f"{self.name}-box")
        if text is not None and text not in statics:
            raise ScenarioError(f"message box text {shown['text']!r}, expected {text!r}")
        self.press_box_button(box, (button,))
        return shown

    def press_box_button(self, box, captions):
        """Presses the first of the captions that is a button of the box. Wine labels the buttons of a box that
        may already be on screen, so they are looked for again for a short while."""
        def ready():
            shown = {c["text"].replace("&", "") for c in self.controls(box)
                     if c["class"].lower() == "button" and c["visible"]}
            return next((caption for caption in captions if caption.replace("&", "") in shown), None)
        try:
            caption = wait_until(ready, 3.0, f"a button {captions}")
        except ScenarioError:
            raise ScenarioError(f"no button {captions} in {self.controls(box)}") from None
        self.click(box, caption)

    def _box_texts(self, box):
        """The box's static texts. Wine can show the box a moment before its text control has the text, so a
        box read too early looks empty: look again for a short while before taking it as empty."""
        def texts():
            return [c["text"] for c in self.controls(box) if c["class"].lower() == "static" and c["text"]]
        try:
            return wait_until(texts, 3.0, "the box's text")
        except ScenarioError:
            return []

    # --- evidence ---------------------------------------------------------
    def screenshot(self, name):
        path = self.screens / f"{name}.png"
        subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root", str(path)],
                       check=False, timeout=30, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    def reports(self):
        """The report server's requests since the scenario began, each as the query PHP decoded."""
        return self._all_reports()[self._reports_before:]

    def _all_reports(self):
        path = self.e2e / "reports.jsonl"
        if not path.exists():
            return []
        return [json.loads(line) for line in path.read_text(encoding="utf-8").splitlines() if line.strip()]

    def requests(self):
        """The update server's access log lines since the scenario began:
        client "request line" status bytes "user agent" protocol scheme (http or https)."""
        return self._all_requests()[self._requests_before:]

    def _all_requests(self):
        path = self.e2e / "nginx-access.log"
        return path.read_text(encoding="latin-1").splitlines() if path.exists() else []

    def wait_until(self, condition, timeout=30.0, what="the condition"):
        return wait_until(condition, timeout, what)

    # --- outcomes ---------------------------------------------------------
    def shown_texts(self, window):
        """The texts of the window's visible controls, in creation order."""
        return [c["text"] for c in self.controls(window) if c["visible"] and c["text"]]

    def wait_shown(self, window, text, timeout=30.0, part=False):
        """Waits until a visible control of the window reads text (or, with part, contains it)."""
        def found():
            if not self.state_of(window):
                self._fail_if_program_ended(f"the text {text!r}")
                raise ScenarioError(f"the window closed while waiting for {text!r}")
            texts = self.shown_texts(window)
            return any((text in t) if part else (t == text) for t in texts)
        try:
            return wait_until(found, timeout, f"the text {text!r}")
        except ScenarioError:
            if self.state_of(window):
                self.log(f"texts shown: {self.shown_texts(window)}")
            for box in self.windows(cls="#32770", exe="KVUpdate.exe", visible=True):
                self.log(f"box open: {box['text']!r} {[c['text'] for c in self.controls(box)]}")
            raise

    def button(self, window, caption):
        """The button of that caption (access key ignored) as the driver sees it."""
        for c in self.controls(window):
            if c["class"].lower() == "button" and c["text"].replace("&", "") == caption.replace("&", ""):
                return c
        raise ScenarioError(f"no button {caption!r} in {window}: {self.shown_texts(window)}")

    def answer_restart(self, program_name, lang="de", start=False):
        """The question whether to start the product again, answered No (or Yes)."""
        box = self.wait_window(cls="#32770", title=("Programm starten..." if lang == "de" else "Program start..."))
        statics = self._box_texts(box)
        if not any(t.startswith(program_name) for t in statics):
            raise ScenarioError(f"restart question {statics!r} does not name {program_name!r}")
        self.press_box_button(box, ("Ja", "Yes") if start else ("Nein", "No"))

    def finish(self, run, timeout=30.0):
        """Waits for the program's end; it must end by itself, with exit code 0."""
        code = run.wait(timeout)
        if code != 0:
            raise ScenarioError(f"KVUpdate.exe ended with exit code {code}")

    def the_report(self, run, reason, timeout=30.0):
        """The one report of a run that has ended: exactly one request reached the report server,
        and its reason line is the one of that code. Returns the report's lines."""
        self.finish(run, timeout)
        reports = self.reports()
        if len(reports) != 1:
            raise ScenarioError(f"{len(reports)} reports instead of one: {[report_lines(r)[:2] for r in reports]}")
        lines = report_lines(reports[0])
        self.log(f"report: {lines[:2]}")
        if lines[1] != REASON_LINES[reason]:
            raise ScenarioError(f"report reason {lines[1]!r}, expected {REASON_LINES[reason]!r} (code {reason})")
        return lines

    def no_report(self, run, timeout=30.0):
        self.finish(run, timeout)
        if self.reports():
            raise ScenarioError(f"a report was sent: {[report_lines(r)[:2] for r in self.reports()]}")

    @contextlib.contextmanager
    def read_only(self, windows_path):
        """The file or folder refuses every change for the block, to Wine running as root as well
        (the immutable attribute: permissions do not stop root)."""
        path = self.host_path(windows_path)
        subprocess.run(["chattr", "+i", str(path)], check=True)
        try:
            yield path
        finally:
            subprocess.run(["chattr", "-i", str(path)], check=False)

    @contextlib.contextmanager
    def held_open(self, windows_path, seconds=180):
        """Another program keeps the file open for the block (reading and writing shared, deleting not)."""
        with tempfile.TemporaryFile() as out:
            holder = subprocess.Popen([self.wine_loader, str(self.driver_exe), "hold", windows_path, "--timeout",
                                       str(int(seconds * 1000))], env=self.env, stdout=out,
                                      stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)

            def held():
                if holder.poll() is not None:
                    raise ScenarioError(f"kvdriver could not hold {windows_path}")
                out.seek(0)
                return b'"held"' in out.read()
            try:
                wait_until(held, 30, f"{windows_path} held open")
                yield
            finally:
                holder.terminate()
                holder.wait(10)

    def tampered(self, windows_path):
        """What another program could do to the file: {"write": ..., "delete": ..., "rename": ...}, each true
        when it succeeded."""
        return self.driver("tamper", windows_path)[1][0]

    # --- peers replaced ---------------------------------------------------
    def _peer_stopped(self, name):
        pid_file = self.e2e / f"{name}.pid"
        if pid_file.exists():
            try:
                os.kill(int(pid_file.read_text().strip()), signal.SIGTERM)
            except (ProcessLookupError, ValueError):
                pass
        host, port = PEER_ADDRESSES[name]
        wait_until(lambda: not _answers(host, port), 15, f"{name} to stop")

    def _restart_peers(self):
        subprocess.run([str(self.source / "tests/e2e/peers.sh"), "start"], check=True,
                       stdout=subprocess.DEVNULL, env=dict(os.environ, KV_SOURCE_DIR=str(self.source)))

    @contextlib.contextmanager
    def peer_down(self, name):
        """The peer (nginx, php or tinyproxy) is not there for the block; it is back afterwards."""
        self._peer_stopped(name)
        try:
            yield
        finally:
            self._restart_peers()

    @contextlib.contextmanager
    def replaced_server(self, name, routes, prefix_routes=None):
        """A FaultServer answers in place of the peer for the block."""
        host, port = PEER_ADDRESSES[name]
        self._peer_stopped(name)
        server = FaultServer(host, routes, port, prefix_routes)
        try:
            server.start()
            yield server
        finally:
            server.stop()
            self._restart_peers()

    @contextlib.contextmanager
    def extra_proxy(self, host, config_lines):
        """A second tinyproxy on host:8888 with extra configuration lines (such as a deny rule)."""
        conf = self.e2e / f"tinyproxy-{host}.conf"
        conf.write_text(f"User root\nGroup root\nPort 8888\nListen {host}\nTimeout 20\n"
                        f'LogFile "{self.e2e}/tinyproxy-{host}.log"\nLogLevel Info\nMaxClients 10\n'
                        "DisableViaHeader Yes\n" + "".join(line + "\n" for line in config_lines))
        process = subprocess.Popen(["tinyproxy", "-d", "-c", str(conf)], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            wait_until(lambda: _answers(host, 8888) or process.poll() is not None, 15, f"the proxy on {host}")
            if process.poll() is not None:
                raise ScenarioError(f"tinyproxy on {host} ended at start")
            yield
        finally:
            process.terminate()
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()


def programs(build):
    """The Wine loader, the program under test and the driver of the run's bitness, for a build folder."""
    if BITS == 64:
        loader, program, driver = "/usr/lib/wine/wine64", build / "KVUpdate.exe", build / "tests" / "kvdriver.exe"
    else:
        loader, program, driver = build / "wine32/root/usr/lib/wine/wine64", build / "KVUpdate_test.exe", \
            build.parent / "win64/tests/kvdriver.exe"
    found = [Path(os.environ.get(name, default)) for name, default in
             (("KV_WINE", loader), ("KV_PROGRAM", program), ("KV_DRIVER", driver))]
    for path in found:
        if not path.exists():
            raise ScenarioError(f"{path} is missing (KV_BITS={BITS})")
    return found


def report_lines(report):
    """The lines of a report as the report server received it (the page of "botschaft")."""
    page = report.get("botschaft", "")
    if not (page.startswith(PAGE_HEAD + "<p>") and page.endswith("</p>" + PAGE_TAIL)):
        raise ScenarioError(f"report page of unexpected form: {page[:200]!r}")
    return page[len(PAGE_HEAD) + 3:-len("</p>" + PAGE_TAIL)].split("<br>")


def _answers(host, port):
    import socket
    try:
        with socket.create_connection((host, port), timeout=1):
            return True
    except OSError:
        return False


def _hwnd(window):
    return window["hwnd"] if isinstance(window, dict) else int(window)

