"""Tervanel as assistive technology and GUI robots meet it: the real program on a private X
display, read and driven only through the accessibility bus (AT-SPI), every control found by
its role and its name, never by an object name.

Usage: bus_test.py PATH_TO_TERVANEL
"""

import os
import sys
import threading
import unittest
import warnings

from desktop import Desktop, DesktopError, wait_for

TERVANEL = None
WAIT = 60.0  # seconds; generous for a loaded machine, the waits poll

EXAMPLE_SENTENCE = ("La rigidez total del resorte es 34257.6 Nw/m; y la frecuencia natural es "
                    "de 2.08297280969584 Hz")
PLAIN_ENDS_SENTENCE = ("La rigidez total del resorte es 25693.2 Nw/m; y la frecuencia natural es "
                       "de 1.80390736858885 Hz")
PROMPT = "Elija el material del resorte"
END_TYPES = ["Extremos simples", "Extremos a Escuadra", "Extremos a Escuadra y Aplanados",
             "Extremos Simples y Aplanados"]

# The example, box by box: the box's name (its caption) and what is typed in it.
EXAMPLE_INPUTS = [
    ("Número de Espiras:", "8"),
    ("Diámetro del Redondo:", "0.012"),
    ("Diámetro Medio:", "0.1"),
    ("Masa sobre eje delantero:", "400"),
]


class TervanelOnTheBus(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop().__enter__()
        # pyatspi reads its buses from the environment when it is first imported.
        os.environ["DISPLAY"] = cls.desktop.env["DISPLAY"]
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = cls.desktop.env["DBUS_SESSION_BUS_ADDRESS"]
        global pyatspi, GLib
        import pyatspi
        from gi.repository import GLib

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def setUp(self):
        # A fresh program for every test; what an assistive tool would switch on through the
        # bus is switched on from the start.
        program = self.desktop.start([TERVANEL], {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
        self.addCleanup(self.desktop.stop, program)
        self.app = wait_for(lambda: self._application(program.pid), WAIT,
                            "tervanel on the accessibility bus")
        self.window = wait_for(self._window, WAIT, "its window")

    @staticmethod
    def _application(pid):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid and app.childCount > 0:
                return app
        return None

    @staticmethod
    def _role(node):
        # A window that is closing can still be counted while it already reads as None, or as
        # an object the program no longer has.
        try:
            return node.getRole() if node is not None else None
        except GLib.GError:
            return None

    def _window(self):
        return next((w for w in self.app
                     if self._role(w) is not None and w.name.startswith("Tervanel V1.2")), None)

    def _alert(self):
        return next((w for w in self.app if self._role(w) == pyatspi.ROLE_ALERT), None)

    # --- finding -----------------------------------------------------------------------------

    @staticmethod
    def _all(root, role, name=None):
        found = []
        pending = [root]
        while pending:
            node = pending.pop()
            if node is None:
                continue
            if node.getRole() == role and (name is None or node.name == name):
                found.append(node)
            pending.extend(node)
        return found

    @staticmethod
    def _one(find, what):
        """The one node find() returns, polled for: a tree can still be filling in."""
        try:
            return wait_for(lambda: (lambda found: found[0] if len(found) == 1 else None)(find()),
                            WAIT, what)
        except DesktopError as error:
            raise AssertionError("%s; found %d" % (error, len(find()))) from None

    def control(self, role, name, root=None):
        return self._one(lambda: self._all(root or self.window, role, name),
                         "one %s named %r" % (pyatspi.Role(role), name))

    def result_label(self):
        return self._one(lambda: [label for label in self._all(self.window, pyatspi.ROLE_LABEL)
                                  if label.description == "Resultado del cálculo"],
                         "one label described as the result")

    # --- driving -----------------------------------------------------------------------------

    @staticmethod
    def act(node, action_name):
        """Performs a named accessible action. A call that opens a modal box may not answer
        until the box closes, so it runs beside the test, which goes on reading the bus."""
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if action_name not in names:
            raise AssertionError("%s has no action %r, only %s" % (node.name, action_name, names))
        index = names.index(action_name)
        threading.Thread(target=action.doAction, args=(index,), daemon=True).start()

    def type_into(self, box, text):
        box.queryEditableText().setTextContents(text)
        wait_for(lambda: box.queryText().getText(0, -1) == text, WAIT, "%r in a box" % text)

    def material_box(self):
        # On Linux a combo box is named by its text; its edit field is its one text child.
        return self.control(pyatspi.ROLE_TEXT, "",
                            root=self.control(pyatspi.ROLE_COMBO_BOX, PROMPT))

    def enter_example(self):
        self.type_into(self.material_box(), "Aceros aleados")
        for caption, text in EXAMPLE_INPUTS:
            self.type_into(self.control(pyatspi.ROLE_TEXT, caption), text)
        self.choose(END_TYPES[2])

    def choose(self, end_type):
        option = self.control(pyatspi.ROLE_RADIO_BUTTON, end_type)
        self.act(option, "Toggle")
        wait_for(lambda: option.getState().contains(pyatspi.STATE_CHECKED), WAIT,
                 "%r to be chosen" % end_type)

    def calculate(self):
        self.act(self.control(pyatspi.ROLE_PUSH_BUTTON, "Calcular"), "Press")

    def wait_for_result(self, sentence):
        label = self.result_label()
        wait_for(lambda: label.name == sentence, WAIT, "the result %r" % sentence)

    # --- the tests ---------------------------------------------------------------------------

    def test_every_control_is_found_by_role_and_name(self):
        rows = [(pyatspi.ROLE_RADIO_BUTTON, name, "Tipo de resorte") for name in END_TYPES] + [
            (pyatspi.ROLE_COMBO_BOX, PROMPT, "Material del resorte"),
            (pyatspi.ROLE_TEXT, "Número de Espiras:", "sin unidad"),
            (pyatspi.ROLE_TEXT, "Diámetro del Redondo:", "metros"),
            (pyatspi.ROLE_TEXT, "Diámetro Medio:", "metros"),
            (pyatspi.ROLE_TEXT, "Masa sobre eje delantero:", "kilogramos"),
            (pyatspi.ROLE_PUSH_BUTTON, "Calcular", ""),
            (pyatspi.ROLE_PUSH_BUTTON, "Cancelar", ""),
            (pyatspi.ROLE_IMAGE, "Emblema de Tervanel", ""),
        ]
        for role, name, described in rows:
            with self.subTest(name=name):
                node = self.control(role, name)
                self.assertIn(described, node.description)
        materials = self.control(pyatspi.ROLE_COMBO_BOX, PROMPT)[0]
        self.assertEqual([item.name for item in materials],
                         ["Aceros de alto contenido en carbono", "Aceros aleados",
                          "Acero inoxidable ( Austenítico )", "Aleaciones de cobre al Bronce",
                          "Aleaciones de Niquel"])
        self.assertEqual(self.result_label().name, "Resultados", "before any result the "
                         "label is named by its frame")

    def test_calcular_pressed_by_its_action_shows_the_sentence(self):
        self.enter_example()
        self.calculate()
        self.wait_for_result(EXAMPLE_SENTENCE)

    def test_an_option_toggled_by_its_action_reaches_its_handler(self):
        self.enter_example()
        for end_type, sentence in [(END_TYPES[0], PLAIN_ENDS_SENTENCE),
                                   (END_TYPES[2], EXAMPLE_SENTENCE)]:
            with self.subTest(end_type=end_type):
                self.choose(end_type)
                self.calculate()
                self.wait_for_result(sentence)

    def test_a_fault_is_read_and_the_last_result_stays(self):
        self.enter_example()
        self.calculate()
        self.wait_for_result(EXAMPLE_SENTENCE)
        self.type_into(self.control(pyatspi.ROLE_TEXT, "Masa sobre eje delantero:"), "0")
        self.calculate()
        box = wait_for(self._alert, WAIT, "the fault's message box")
        texts = [label.name for label in self._all(box, pyatspi.ROLE_LABEL)]
        self.assertIn("División por cero: la masa es 0.", texts)
        self.act(self.control(pyatspi.ROLE_PUSH_BUTTON, "Aceptar", root=box), "Press")
        wait_for(lambda: self._alert() is None, WAIT, "the message box to close")
        self.assertEqual(self.result_label().name, EXAMPLE_SENTENCE)


def main():
    global TERVANEL
    if len(sys.argv) < 2:
        sys.exit("usage: bus_test.py PATH_TO_TERVANEL [unittest options]")
    TERVANEL = os.path.abspath(sys.argv.pop(1))
    # pyatspi's wrappers call deprecated libatspi names; that is no concern of these tests.
    warnings.filterwarnings("ignore", category=DeprecationWarning)
    warnings.filterwarnings("ignore", category=ImportWarning)
    unittest.main(verbosity=2)


if __name__ == "__main__":
    main()
