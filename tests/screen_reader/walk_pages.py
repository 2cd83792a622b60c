#!/usr/bin/env python3
"""The pages as a screen reader finds them, through the real accessibility stack.

The real client is started as it starts under a screen reader that runs before it: with the
accessibility bridge on from its start, on a session bus of the test's own with the
accessibility bus beside it, and on an X server of its own. The reader's side is libatspi,
through pyatspi, which keeps what it has seen of the tree and updates it from the events the
client sends, as screen readers do. The stand-in editor records what the presses send.

Everything runs inside a private network namespace with loopback alone: the client's discovery
broadcast, the editor's answer and the connection stay there. The session bus, the accessibility
bus and the X server are the test's own: the machine's session bus is never used.

Run by ctest as `walk_pages.py BUILD_DIR`; it needs root for the namespace and exits with 77
(skipped) without it.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

SKIPPED = 77
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def outside(build_dir):
    """Makes the namespace and runs this file again inside it."""
    if os.geteuid() != 0:
        print("skipped: private network namespaces need root")
        return SKIPPED
    for tool in ("ip", "dbus-daemon", "Xvfb"):
        if not shutil.which(tool):
            print(f"{tool} is missing (tools/install-deps installs it)")
            return 1
    namespace = f"qs-reader-{os.getpid()}"
    made = subprocess.run(["ip", "netns", "add", namespace], capture_output=True, text=True)
    if made.returncode != 0:
        print(f"skipped: network namespaces cannot be made here: {made.stderr.strip()}")
        return SKIPPED
    try:
        subprocess.run(["ip", "-n", namespace, "link", "set", "lo", "up"], check=True)
        # The limited broadcast finds its way out by a route: the only one is loopback.
        subprocess.run(["ip", "-n", namespace, "route", "add", "default", "dev", "lo"], check=True)
        inside = subprocess.run(["ip", "netns", "exec", namespace, sys.executable,
                                 os.path.abspath(__file__), "--inside", build_dir])
        return inside.returncode
    finally:
        # Whatever the run left behind (it was stopped, or failed half way) ends with the
        # namespace; only the test's own processes live in it.
        pids = subprocess.run(["ip", "netns", "pids", namespace], capture_output=True, text=True)
        for pid in pids.stdout.split():
            try:
                os.kill(int(pid), signal.SIGKILL)
            except ProcessLookupError:
                pass
        subprocess.run(["ip", "netns", "del", namespace])


class Stack:
    """The X server, the session bus, the accessibility bus, the editor and the client."""

    def __init__(self, build_dir):
        self.build_dir = build_dir
        self.work = tempfile.mkdtemp(prefix="qs-reader-")
        self.processes = []
        self.editor_output = ""

    def start_process(self, args, env=None, **kwargs):
        process = subprocess.Popen(args, env=env, start_new_session=True, **kwargs)
        self.processes.append(process)
        return process

    def start(self):
        # The X server picks a free display and tells it on a pipe.
        read_end, write_end = os.pipe()
        self.start_process(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x900x24",
                            "-nolisten", "tcp"], pass_fds=(write_end,),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            display = pipe.readline().strip()
        if not display:
            raise RuntimeError("Xvfb did not start")

        bus_path = os.path.join(self.work, "session-bus")
        bus = self.start_process(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                  f"--address=unix:path={bus_path}", "--print-address=1"],
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        address = bus.stdout.readline().strip()
        if not address:
            raise RuntimeError("the session bus did not start")

        runtime = os.path.join(self.work, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": os.path.join(self.work, "home"),
            "XDG_CONFIG_HOME": os.path.join(self.work, "home", ".config"),
            "XDG_RUNTIME_DIR": runtime,
            "DISPLAY": f":{display}",
            "DBUS_SESSION_BUS_ADDRESS": address,
            "LANG": "C.UTF-8",
        }
        # A client built with the sanitizers reports as the test run asks.
        for name in ("ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"):
            if name in os.environ:
                self.env[name] = os.environ[name]
        os.makedirs(self.env["XDG_CONFIG_HOME"])
        # The accessibility bus, and its registry, as a desktop session starts them.
        self.start_process([BUS_LAUNCHER, "--launch-immediately"], env=self.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        editor = self.start_process(
            [os.path.join(self.build_dir, "tools", "qs-editor", "qs-editor"),
             "--announce", "127.0.0.1"],
            env=self.env, stdout=subprocess.PIPE, text=True, bufsize=1)
        os.set_blocking(editor.stdout.fileno(), False)
        self.editor = editor
        self.wait_for(lambda: "listening on TCP port 6000" in self.read_editor(), 20,
                      "the editor did not start")

        client_env = dict(self.env,
                          QT_QPA_PLATFORM="xcb",
                          # As when a screen reader already runs as the program starts.
                          QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        if "ASAN_OPTIONS" in client_env:
            # On a real display the client loads system libraries the other tests never load:
            # the X keyboard library copies names of a given length that have no terminating
            # zero, which the strict string check takes for a read past their end, and a library
            # unloaded before the leak report leaves blocks of its own that no suppression can
            # name, its module being gone. The client's own strings and memory are checked strictly
            # in every other test; here every other error still ends it.
            client_env["ASAN_OPTIONS"] += ":strict_string_checks=0:detect_leaks=0"
        self.client = self.start_process([os.path.join(self.build_dir, "qs-client")],
                                         env=client_env)
        self.wait_for(lambda: "connection from 127.0.0.1:" in self.read_editor(), 30,
                      "the client did not find the editor")

    def read_editor(self):
        try:
            chunk = self.editor.stdout.read()
        except (BlockingIOError, TypeError):
            chunk = None
        if chunk:
            self.editor_output += chunk
        return self.editor_output

    def lines_received(self):
        return re.findall(r" line \d+: (\S*)", self.read_editor())

    @staticmethod
    def wait_for(condition, seconds, failure):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if condition():
                return
            time.sleep(0.1)
        raise AssertionError(failure)

    def stop(self):
        """Ends everything; the client first, while its display and buses are still there, as
        a desktop session ends it. Returns the client's exit status (None if it never ran)."""
        client = getattr(self, "client", None)
        status = None
        if client is not None:
            if client.poll() is None:
                os.killpg(client.pid, signal.SIGTERM)
            try:
                status = client.wait(30)
            except subprocess.TimeoutExpired:
                status = "still running after 30 s"
        for process in reversed(self.processes):
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGTERM)
        for process in reversed(self.processes):
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait(10)
        shutil.rmtree(self.work, ignore_errors=True)
        return status


class ScreenReaderTest(unittest.TestCase):
    build_dir = None

    @classmethod
    def setUpClass(cls):
        cls.stack = Stack(cls.build_dir)
        try:
            cls.start_reader()
        except BaseException:
            cls.stack.stop()
            raise

    @classmethod
    def start_reader(cls):
        cls.stack.start()
        # The reader's side talks to the accessibility bus of the test's own session.
        os.environ.update(cls.stack.env)
        import pyatspi  # noqa: E402  (the bus is chosen as the library starts)
        from gi.repository import GLib
        cls.pyatspi = pyatspi
        cls.GLib = GLib
        cls.events = []
        # Listening makes the client send these events, and makes the library keep what it has
        # seen and follow it through them, as screen readers do.
        for kind in ("object:state-changed:showing", "object:children-changed"):
            pyatspi.Registry.registerEventListener(cls.events.append, kind)
        cls.app = None
        deadline = time.monotonic() + 30
        while cls.app is None and time.monotonic() < deadline:
            cls.run_events(0.2)
            desktop = pyatspi.Registry.getDesktop(0)
            for app in desktop:
                if app is not None and app.name == "QSclient":
                    cls.app = app
        if cls.app is None:
            raise AssertionError("the client is not on the accessibility bus")

    @classmethod
    def tearDownClass(cls):
        # Ended as a session ends it, the client closes cleanly (a sanitizer's report would
        # show here as a failed exit).
        status = cls.stack.stop()
        if status != 0:
            raise AssertionError(f"the client ended with {status}")

    @classmethod
    def run_events(cls, seconds):
        """Lets the library take the events that have come, for a while."""
        context = cls.GLib.MainContext.default()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            while context.pending():
                context.iteration(False)
            time.sleep(0.02)

    def showing(self, accessible):
        return accessible.getState().contains(self.pyatspi.STATE_SHOWING)

    def shown_buttons(self, under, roles=None):
        """Every button (or object of one of `roles`) showing under `under`, walked as a reader
        walks: what does not show is passed over with all within it."""
        roles = roles or (self.pyatspi.ROLE_PUSH_BUTTON,)
        found = []

        def walk(node):
            if node is None or not self.showing(node):
                return
            if node.getRole() in roles:
                found.append(node)
            for child in node:
                walk(child)

        walk(under)
        return found

    def find(self, name, role):
        return self.pyatspi.findDescendant(
            self.app, lambda a: a is not None and a.name == name and a.getRole() == role)

    def shown_names(self, under):
        return [b.name for b in self.shown_buttons(under)]

    def press_shown(self, name):
        """Presses the one button of that name that is showing anywhere in the window."""
        found = [b for b in self.shown_buttons(self.app) if b.name == name]
        self.assertEqual(len(found), 1, name)
        self.press(found[0])
        self.run_events(0.5)

    def told(self, shown):
        """The names of the objects the client said came to show (or went), since the events
        were last cleared."""
        return {e.source.name for e in self.events
                if e.type == "object:state-changed:showing" and e.detail1 == int(shown)}

    def press(self, accessible):
        action = accessible.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        self.assertIn("Press", names, accessible.name)
        action.doAction(names.index("Press"))

    # The tests run in the order of their names, each from where the one before left the window.
    def test_1_keyboard_page_as_a_reader_finds_it(self):
        keyboard = self.find("Sign keyboard", self.pyatspi.ROLE_PANEL)
        self.assertIsNotNone(keyboard)
        self.assertTrue(self.showing(keyboard))
        buttons = self.shown_buttons(keyboard)
        names = [b.name for b in buttons]
        self.assertNotIn("", names)
        self.assertGreaterEqual(len(buttons), 140, names)
        for name in ("Backspace", "oligon", "Other set of ascending signs"):
            self.assertIn(name, names)
        # The second sets wait hidden, and are not shown to the reader.
        second_set = self.find("Ascending signs, second set", self.pyatspi.ROLE_PANEL)
        self.assertIsNotNone(second_set)
        self.assertFalse(self.showing(second_set))
        self.assertEqual(self.shown_buttons(second_set), [])

        # The sign k1, found by its name and pressed by the reader's action, sends its word once.
        self.assertEqual(names.count("(Ν)"), 1)
        before = len(self.stack.lines_received())
        self.press(buttons[names.index("(Ν)")])
        self.stack.wait_for(lambda: len(self.stack.lines_received()) > before, 10,
                            "the press action sent nothing")
        self.run_events(0.5)
        self.assertEqual(self.stack.lines_received()[before:], ["k1"])

        # The set button's action shows the second set; the reader hears of it and finds the
        # second set's signs where the first set's were.
        first_set = self.find("Ascending signs", self.pyatspi.ROLE_PANEL)
        first_names = {b.name for b in self.shown_buttons(first_set)}
        self.assertTrue(first_names)
        del self.events[:]
        self.press(buttons[names.index("Other set of ascending signs")])
        self.stack.wait_for(lambda: (self.run_events(0.1) or True) and self.showing(second_set),
                            10, "the second set did not show")
        self.run_events(0.5)
        second = self.shown_buttons(second_set)
        self.assertGreater(len(second), 10)
        self.assertEqual(self.shown_buttons(first_set), [])
        # Told as it happened: each of the second set's buttons came to show, each of the first
        # set's went.
        shown_now = {e.source.name for e in self.events
                     if e.type == "object:state-changed:showing" and e.detail1 == 1}
        gone_now = {e.source.name for e in self.events
                    if e.type == "object:state-changed:showing" and e.detail1 == 0}
        self.assertTrue({b.name for b in second} <= shown_now, shown_now)
        self.assertTrue(first_names <= gone_now, gone_now)
        # The set button sends nothing.
        self.assertEqual(self.stack.lines_received()[before:], ["k1"])

    def test_2_pop_up_group_as_a_reader_finds_it(self):
        group = self.find("Modulation signs", self.pyatspi.ROLE_PANEL)
        self.assertFalse(self.showing(group))
        keyboard = self.find("Sign keyboard", self.pyatspi.ROLE_PANEL)
        before = len(self.shown_buttons(keyboard))

        del self.events[:]
        self.press_shown("Open or close modulation signs")
        self.assertTrue(self.showing(group))
        opened = self.shown_names(group)
        self.assertGreaterEqual(len(opened), 15, opened)
        self.assertTrue(set(opened) <= self.told(True))
        self.assertEqual(len(self.shown_buttons(keyboard)), before + len(opened))

        del self.events[:]
        self.press_shown("Open or close modulation signs")
        self.assertFalse(self.showing(group))
        self.assertEqual(self.shown_names(group), [])
        self.assertTrue(set(opened) <= self.told(False))
        self.assertEqual(len(self.shown_buttons(keyboard)), before)

    def test_3_other_pages_as_a_reader_finds_them(self):
        keyboard = self.find("Sign keyboard", self.pyatspi.ROLE_PANEL)
        sent_before = len(self.stack.lines_received())
        keyboard_names = sorted(self.shown_names(keyboard))

        # The cursor keys (the editor is told that they are open): the page's keys and nothing
        # of the keyboard page.
        del self.events[:]
        self.press_shown("Open the cursor keys")
        self.assertFalse(self.showing(keyboard))
        self.assertEqual(self.shown_buttons(keyboard), [])
        self.assertIn("Backspace", self.told(False))
        self.assertEqual(sorted(self.shown_names(self.app)),
                         sorted(["Επιστροφή", "Cursor left", "Large left arrow",
                                 "Large right arrow", "Cursor up", "Cursor right",
                                 "Cursor down"]))
        # A cursor key's action is one press, though the key repeats while held.
        self.press_shown("Cursor up")
        self.press_shown("Large right arrow")
        self.stack.wait_for(lambda: len(self.stack.lines_received()) >= sent_before + 3, 10,
                            "the cursor keys' actions sent nothing")
        self.run_events(0.5)
        self.assertEqual(self.stack.lines_received()[sent_before:],
                         ["move_client", "SpeedButton7", "SpeedButton31"])

        # Back to the keyboard page (the editor is told that the cursor keys have closed), which
        # the reader is told of, as it was left.
        del self.events[:]
        self.press_shown("Επιστροφή")
        self.assertTrue(self.showing(keyboard))
        self.assertIn("Backspace", self.told(True))
        self.assertEqual(sorted(self.shown_names(keyboard)), keyboard_names)

        # The modal signatures, their first mode's row open; another mode's tab opens its row
        # in its place.
        self.press_shown("Open the modal signatures")
        self.assertFalse(self.showing(keyboard))
        names = self.shown_names(self.app)
        for name in ("Ἠχος", "Επιστροφή", "Mode α'", "Mode β'", "Mode πλ δ'"):
            self.assertIn(name, names)
        first_mode = self.find("Mode α'", self.pyatspi.ROLE_PANEL)
        second_mode = self.find("Mode β'", self.pyatspi.ROLE_PANEL)
        self.assertTrue(self.showing(first_mode))
        self.assertFalse(self.showing(second_mode))
        first_row = self.shown_names(first_mode)
        self.assertGreaterEqual(len(first_row), 5, first_row)
        del self.events[:]
        self.press_shown("Mode β'")
        self.assertFalse(self.showing(first_mode))
        self.assertEqual(self.shown_names(first_mode), [])
        self.assertTrue(self.showing(second_mode))
        second_row = self.shown_names(second_mode)
        self.assertGreaterEqual(len(second_row), 3, second_row)
        self.assertTrue(set(second_row) <= self.told(True))

        # The settings, opened from the keyboard page: the connection button, the check box, the
        # way back, and the text boxes: the editor's address and port and the connection log.
        self.press_shown("Επιστροφή")
        self.press_shown("Open the settings")
        names = self.shown_names(self.app)
        for name in ("Connect Disconnect", "Οθόνη πάντα ανοιχτή", "Επιστροφή"):
            self.assertIn(name, names)
        # The text boxes have no caption of their own: a reader names them all the same.
        text_roles = (self.pyatspi.ROLE_ENTRY, self.pyatspi.ROLE_TEXT)
        boxes = [b.name for b in self.shown_buttons(self.app, text_roles)]
        self.assertEqual(sorted(boxes), ["Connection log", "Editor's address", "Editor's port"])
        self.assertNotIn("Mode β'", names)
        self.assertEqual(self.shown_buttons(keyboard), [])
        self.assertEqual(self.stack.lines_received()[sent_before:],
                         ["move_client", "SpeedButton7", "SpeedButton31", "move_client"])


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "--inside":
        ScreenReaderTest.build_dir = os.path.abspath(sys.argv[2])
        program = unittest.main(argv=[sys.argv[0]], exit=False, verbosity=2)
        return 0 if program.result.wasSuccessful() else 1
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    return outside(os.path.abspath(sys.argv[1]))


if __name__ == "__main__":
    sys.exit(main())
