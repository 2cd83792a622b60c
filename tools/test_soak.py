#!/usr/bin/python3
"""Checks of how tools/soak reads the window: what a press at a key's place may send, over every
state of the page, and where it finds a message box's OK on a screenshot.

    /usr/bin/python3 -m unittest discover -s tools -p 'test_soak.py'
"""

import importlib.machinery
import importlib.util
import os
import shutil
import struct
import subprocess
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))


def load_soak():
    path = os.path.join(HERE, "soak")
    loader = importlib.machinery.SourceFileLoader("soak", path)
    spec = importlib.util.spec_from_loader("soak", loader)
    module = importlib.util.module_from_spec(spec)
    loader.exec_module(module)
    return module


soak = load_soak()
TARGETS = soak.read_targets(os.path.join(HERE, "..", "base", "window-layout.json"))


def target(page, name):
    found = [t for t in TARGETS[page] if t.name == name]
    assert len(found) == 1, (page, name, len(found))
    return found[0]


class PressOutcomes(unittest.TestCase):
    def test_words_a_key_may_send(self):
        # The key, the key of the other set at its place, and the pop-up group that opens over
        # it: whichever shows, a press there sends one of these.
        rows = [
            ("Panel1", "k1", {"k1", "l1", "ft17"}),
            ("Panel1", "x12", {"x12", "ft5", "sa3"}),
            # The second set lies below the first: when the first is hidden, it takes the press.
            ("Panel1", "c1", {"c1", "e9"}),
            # a1, b7 of the second set at its place, en12 of the pop-up group Panelendikseis.
            ("Panel1", "a1", {"a1", "b7", "en12"}),
            ("Panel1", "move_client", {"move_client"}),
            # The check box's centre lies on the line between is3 and is2 of Panelentasi.
            ("Panel1", "CheckBox1", {"CheckBox1", "is2", "is3"}),
            ("Panelmartyries", "mh1", {"mh1"}),
            ("Panelmartyries", "ark1",
             {"ark1", "ark7", "ark12", "ark16", "ark24", "ark28", "ark36", "ark44"}),
            ("Panel4", "moveL", {"SpeedButton25"}),
            ("Panel4", "moveR", {"SpeedButton31"}),
            ("Panel4", "SpeedButton7", {"SpeedButton7"}),
            ("Panel4", "Button3", {"move_client"}),
        ]
        for page, name, words in rows:
            with self.subTest(page=page, name=name):
                t = target(page, name)
                self.assertTrue(t.sure)
                self.assertEqual(t.words, words)

    def test_places_that_may_send_nothing_are_not_held_to_a_word(self):
        # A set button, a pop-up toggle, a mode tab, a key that a pop-up group may cover with
        # a place without a button, the settings page's buttons.
        rows = [("Panel1", "enallagikatavasi"), ("Panel1", "di6"), ("Panel1", "k4"),
                ("Panel1", "martyriesshow"), ("Panelmartyries", "hx3"),
                ("Panel5", "ConnectDisconnect"), ("Panel5", "Button4")]
        for page, name in rows:
            with self.subTest(page=page, name=name):
                self.assertFalse(target(page, name).sure)

    def test_page_switches(self):
        for page, name, switches in [("Panel1", "martyriesshow", True),
                                     ("Panel1", "rythmiseisshow", True),
                                     ("Panel1", "move_client", True),
                                     ("Panel4", "Button3", True),
                                     ("Panelmartyries", "Button1", True),
                                     ("Panel5", "Button4", True),
                                     ("Panel1", "k1", False),
                                     ("Panelmartyries", "hx2", False)]:
            with self.subTest(page=page, name=name):
                self.assertEqual(target(page, name).switches, switches)

    def test_the_off_button_is_never_pressed(self):
        self.assertEqual([t for t in TARGETS["Panel1"] if t.name == "off"], [])

    def test_places_in_fractions_of_the_window(self):
        rows = [
            # k1: [1, 4, 36, 36] in PanelIson1 at [0, 530]: centre 19, 552.
            ("Panel1", "k1", 19 / 415, 552 / 710),
            # The settings page, 362 high, centred: its top at (710 - 362) / 2 = 174.
            ("Panel5", "Button4", 212.5 / 415, (174 + 308.5) / 710),
        ]
        for page, name, fx, fy in rows:
            with self.subTest(page=page, name=name):
                t = target(page, name)
                self.assertAlmostEqual(t.fx, fx, places=4)
                self.assertAlmostEqual(t.fy, fy, places=4)

    def test_stretched_group(self):
        # The time signs are stretched to 1.1 times their width from the group's left edge at
        # 50: xr24, [36, 2, 38, 37] in the group, has its centre at 50 + 55 * 1.1 = 110.5.
        t = target("Panel1", "xr24")
        self.assertAlmostEqual(t.fx * 415, 110.5, places=3)
        self.assertAlmostEqual(t.fy * 710, 1 + 2 + 18.5, places=3)


def screen(width, height, box=None):
    """A screenshot as xwd writes it on Xvfb: 3-byte pixels, least significant byte first, a page
    of grey shaded by the box's modal shade, and the box white where given."""
    line = width * 3
    header = struct.pack(">25I", 100, 7, 2, 24, width, height, 0, 0, 32, 0, 8, 24, line,
                         *([0] * 12))
    rows = []
    for y in range(height):
        row = bytearray(b"\x60\x60\x60" * width)
        if box and box[1] <= y < box[1] + box[3]:
            row[box[0] * 3:(box[0] + box[2]) * 3] = b"\xff" * (box[2] * 3)
        rows.append(bytes(row))
    return soak.Shot(header + b"".join(rows))


class MessageBoxOnScreen(unittest.TestCase):
    def test_ok_of_a_box(self):
        # 520 wide, centred at 769: from 124; 120 high from 348: OK's centre 61 px in from the
        # right edge, 40 up from the bottom.
        shot = screen(769, 816, box=(124, 348, 520, 120))
        ok = shot.message_box()
        self.assertIsNotNone(ok)
        self.assertAlmostEqual(ok[0] * 769, 124 + 520 - 61, places=3)
        self.assertAlmostEqual(ok[1] * 816, 348 + 119 - 40, places=3)

    def test_no_box(self):
        self.assertIsNone(screen(769, 816).message_box())
        # White everywhere, as a white page would be: no shade around it, so no box.
        self.assertIsNone(screen(769, 816, box=(0, 0, 769, 816)).message_box())
        # Too low to be a box.
        self.assertIsNone(screen(769, 816, box=(124, 390, 520, 40)).message_box())

    def test_narrow_window(self):
        # 415 wide: the box is 32 pixels narrower than the window.
        shot = screen(415, 710, box=(16, 300, 383, 140))
        ok = shot.message_box()
        self.assertIsNotNone(ok)
        self.assertAlmostEqual(ok[0] * 415, 16 + 383 - 61, places=3)


class WrappedClient(unittest.TestCase):
    """Memory and signals go to the client, found below whatever wrapper started it."""

    def start(self, command):
        process = subprocess.Popen(command)
        self.addCleanup(process.wait)
        self.addCleanup(process.kill)
        return process

    def test_unwrapped_is_the_process_itself(self):
        sleep = os.path.realpath(shutil.which("sleep"))
        process = self.start([sleep, "30"])
        self.assertEqual(soak.rooms._descendant_running(process.pid, sleep), process.pid)

    def test_found_below_a_wrapper_that_waits_for_it(self):
        sleep = os.path.realpath(shutil.which("sleep"))
        # The shell stays, as a profiler's script does, with the program as its child.
        wrapper = self.start(["sh", "-c", f"{sleep} 30; true"])
        found = None
        for _ in range(100):
            found = soak.rooms._descendant_running(wrapper.pid, sleep)
            if found:
                break
            subprocess.run(["sleep", "0.02"])
        self.assertIsNotNone(found)
        self.assertNotEqual(found, wrapper.pid)
        with open(f"/proc/{found}/stat") as f:
            self.assertEqual(int(f.read().rsplit(")", 1)[1].split()[1]), wrapper.pid)

    def test_nothing_when_the_program_is_not_there(self):
        process = self.start(["sh", "-c", "sleep 30; true"])
        self.assertIsNone(soak.rooms._descendant_running(process.pid, "/nonexistent/qs-client"))


if __name__ == "__main__":
    unittest.main()
