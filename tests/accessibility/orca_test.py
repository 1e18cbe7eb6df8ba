"""What the Orca screen reader speaks while a user fills in Tervanel's example with the keyboard
and presses "Calcular": the real program and the real Orca on a private X display and buses.

Orca runs without a speech server; its debug log records every utterance as a line
"SPEECH OUTPUT: '...'", which is what these tests read. Usage: orca_test.py PATH_TO_TERVANEL
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import time
import unittest

from desktop import Desktop, DesktopError, wait_for

TERVANEL = None
WAIT = 60.0  # seconds; generous for a loaded machine, the waits poll
QUIET = 1.0  # seconds without a new utterance after which a step has been spoken in full

HERE = os.path.dirname(os.path.abspath(__file__))
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)' ?\{'established'")

EXAMPLE_SENTENCE = ("La rigidez total del resorte es 34257.6 Nw/m; y la frecuencia natural es "
                    "de 2.08297280969584 Hz")


def said(text):
    return re.escape(text)


def mentions(word):
    return ".*" + re.escape(word) + ".*"


class Orca:
    """Orca started with a throw-away profile, its log read as it grows."""

    def __init__(self, desktop):
        self.desktop = desktop
        prefs = os.path.join(desktop.home, "orca")
        os.makedirs(prefs)
        shutil.copy(os.path.join(HERE, "orca-customizations.py"), prefs)
        self.log = os.path.join(desktop.home, "orca-debug.log")
        self.process = desktop.start(
            [shutil.which("orca") or "orca", "-u", prefs, "--debug-file=" + self.log],
            {"SPEECHD_CMD": "/nonexistent"}, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        self.read = 0
        wait_for(lambda: "Screen reader on." in self.utterances(), WAIT, "Orca to start")
        self.read = len(self.utterances())

    def stop(self):
        # Orca ignores SIGTERM while it is idle.
        self.desktop.stop(self.process, signal.SIGKILL)

    def utterances(self):
        if self.process.poll() is not None:
            raise DesktopError("Orca ended with status %s" % self.process.returncode)
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8", errors="replace") as log:
            return [match.group(1) for match in map(SPEECH.search, log) if match]

    def spoken_since_read(self, count):
        """Waits until `count` new utterances have come and then none for a while; returns all
        the new ones and marks them read. Keys Orca echoes end in a blank and are left out."""
        def settled():
            new = [u for u in self.utterances()[self.read:] if not u.endswith(" ")]
            return len(new) >= count
        try:
            wait_for(settled, WAIT, "Orca to speak %d utterances" % count)
        except DesktopError as error:
            raise AssertionError("%s; it said %s" % (error, self.utterances()[self.read:]))
        seen = len(self.utterances())
        quiet_since = time.monotonic()
        while time.monotonic() - quiet_since < QUIET:
            time.sleep(0.1)
            if len(self.utterances()) != seen:
                seen = len(self.utterances())
                quiet_since = time.monotonic()
        new = self.utterances()[self.read:]
        self.read += len(new)
        return [u for u in new if not u.endswith(" ")]


# A user with the keyboard, step by step: what is pressed or typed, and the utterances Orca then
# speaks (patterns, in order; the keys it echoes left out).
def end_type(name, chosen):
    return [said(name + "."), said(("selected" if chosen else "not selected") + " radio button"),
            said("Tipo de resorte.")]


def material(text):
    return [said(text + " editable combo box."), said(text + "."), mentions("Material del resorte")]


def box(caption, unit, selected=None):
    # Entered by Tab, a box that holds a number selects it, so typing replaces it. (Orca then
    # reads the box's value short of its last character before "selected".)
    if selected is None:
        return [said(caption + " text."), mentions(unit)]
    return [said(selected), said("selected"), said(caption + " text."),
            said((selected[:-1] + " selected.").lstrip()), mentions(unit)]


WINDOW_OPENS = [said("Tervanel V1.2 - Cálculo de la frecuencia natural.")] + end_type(
    "Extremos simples", False)
PROMPT = "Elija el material del resorte"
CALCULAR = [said("Calcular push button.")]
CANCELAR = [said("Cancelar push button.")]
RESULT = [said("Resultados panel."), said(EXAMPLE_SENTENCE + " label.")]

# Once round the window from the first end type, nothing chosen or typed yet. Leaving the
# material box says nothing about its selection.
TAB_ROUND = [
    ("Tab", [said(PROMPT), said("selected")] + material(PROMPT)),
    ("Tab", CALCULAR),
    ("Tab", CANCELAR),
    ("Tab", box("Número de Espiras:", "sin unidad")),
    ("Tab", box("Diámetro Medio:", "metros")),
    ("Tab", box("Diámetro del Redondo:", "metros")),
    ("Tab", box("Masa sobre eje delantero:", "kilogramos")),
    ("Tab", end_type("Extremos simples", False)),
]

# The example typed in, "Calcular" pressed: the result is spoken with no further key, and it is
# the stop after "Calcular". Then a mass of 0: the fault's message is spoken.
THE_EXAMPLE = [
    ("space", [said("selected")]),
    ("Down", end_type("Extremos a Escuadra", True)),
    ("Down", end_type("Extremos a Escuadra y Aplanados", True)),
    ("Tab", [said(PROMPT), said("selected")] + material(PROMPT)),
    ("type:Aceros aleados", [said("Selection deleted.")]),
    ("Tab", CALCULAR),
    ("Tab", CANCELAR),
    ("Tab", box("Número de Espiras:", "sin unidad")),
    ("type:8", []),
    ("Tab", box("Diámetro Medio:", "metros")),
    ("type:0.1", []),
    ("Tab", box("Diámetro del Redondo:", "metros")),
    ("type:0.012", []),
    ("Tab", box("Masa sobre eje delantero:", "kilogramos")),
    ("type:400", []),
    ("Tab", end_type("Extremos a Escuadra y Aplanados", True)),
    ("Tab", [said("Aceros aleados"), said("selected")] + material("Aceros aleados")),
    ("Tab", CALCULAR),
    ("space", RESULT),
    ("Tab", CANCELAR),
    ("shift+Tab", RESULT),
    ("Tab", CANCELAR),
    ("Tab", box("Número de Espiras:", "sin unidad", selected="8")),
    ("Tab", box("Diámetro Medio:", "metros", selected="0.1")),
    ("Tab", box("Diámetro del Redondo:", "metros", selected="0.012")),
    ("Tab", box("Masa sobre eje delantero:", "kilogramos", selected="400")),
    ("type:0", [said("Selection deleted.")]),
    ("Tab", end_type("Extremos a Escuadra y Aplanados", True)),
    ("Tab", material("Aceros aleados")),
    ("Tab", CALCULAR),
    ("space", [said("alert Tervanel V1.2 - Cálculo de la frecuencia natural."),
               said("División por cero: la masa es 0."), said("Aceptar push button.")]),
]

RECORD = []


class OrcaSpeaks(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop().__enter__()
        self.addCleanup(self.desktop.close)
        self.orca = Orca(self.desktop)
        self.addCleanup(self.orca.stop)
        # Started after Orca, as on a desktop where the screen reader is already running: the
        # program learns from the accessibility bus that an assistive tool listens.
        program = self.desktop.start([TERVANEL], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.addCleanup(self.desktop.stop, program)
        window = wait_for(self._visible_window, WAIT, "tervanel's window")
        # There is no window manager to give the new window the keyboard.
        self.xdotool("windowfocus", "--sync", window)

    def xdotool(self, *args):
        done = subprocess.run(["xdotool", *args], env=self.desktop.env, capture_output=True,
                              text=True, timeout=WAIT)
        return done.stdout.split()

    def _visible_window(self):
        found = self.xdotool("search", "--onlyvisible", "--name", "^Tervanel V1.2")
        return found[0] if found else None

    def press(self, keys):
        if keys.startswith("type:"):
            self.xdotool("type", "--delay", "60", keys[len("type:"):])
        else:
            self.xdotool("key", "--delay", "60", *keys.split())

    def expect_spoken(self, expected, step):
        spoken = self.orca.spoken_since_read(len(expected))
        RECORD.append((step, spoken))
        self.assertEqual(len(spoken), len(expected), "%s: Orca said %s" % (step, spoken))
        for pattern, utterance in zip(expected, spoken):
            self.assertRegex(utterance, "^" + pattern + "$", "%s: Orca said %s" % (step, spoken))

    def walk(self, steps):
        for keys, expected in steps:
            self.press(keys)
            self.expect_spoken(expected, keys)

    def test_the_window_opening_and_a_tab_round(self):
        self.expect_spoken(WINDOW_OPENS, "window opens")
        self.walk(TAB_ROUND)

    def test_the_example_its_result_and_a_fault(self):
        self.expect_spoken(WINDOW_OPENS, "window opens")
        self.walk(THE_EXAMPLE)


def main():
    global TERVANEL
    if len(sys.argv) < 2:
        sys.exit("usage: orca_test.py PATH_TO_TERVANEL [unittest options]")
    TERVANEL = os.path.abspath(sys.argv.pop(1))
    try:
        unittest.main(verbosity=2)
    finally:
        for step, spoken in RECORD:
            print("%-20s %s" % (step, spoken))


if __name__ == "__main__":
    main()
