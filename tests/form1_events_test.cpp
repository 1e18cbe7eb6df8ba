#include "window_fixture.h"

#include <QLabel>
#include <QLocale>
#include <QRadioButton>

#include <functional>
#include <vector>

namespace {

class Form1Events : public WindowTest {
protected:
    QStringList texts() const {
        return {materialEdit()->text(), control<QLineEdit>("text2")->text(),
                control<QLineEdit>("text3")->text(), control<QLineEdit>("text4")->text(),
                control<QLineEdit>("Text1")->text()};
    }
};

// Options clicked in order, the inputs typed, and what "Calcular" then shows: the sentence, or
// the message of the fault's box.
struct Scenario {
    const char* name;
    std::vector<const char*> optionsClicked;
    Inputs inputs;
    const char* expected;
};

const Scenario kScenarios[] = {
    {"TheExample", {"Option4"}, {}, kExampleSentence},
    {"NoOptionYetCountsAsPlainEnds",
     {},
     {},
     "La rigidez total del resorte es 25693.2 Nw/m; y la frecuencia natural es de "
     "1.80390736858885 Hz"},
    {"TheLastOptionClickedCounts",
     {"Option3", "Option5"},
     {},
     "La rigidez total del resorte es 29363.6571428571 Nw/m; y la frecuencia natural es de "
     "1.92845809449612 Hz"},
    {"SquaredThenSquaredAndGroundKeepsTwo", {"Option3", "Option4"}, {}, kExampleSentence},
    {"BackToPlainEnds",
     {"Option4", "Option2"},
     {},
     "La rigidez total del resorte es 25693.2 Nw/m; y la frecuencia natural es de "
     "1.80390736858885 Hz"},
    {"ACommaReadsAsTheDecimalPoint",
     {"Option4"},
     {.wireDiameter = "0,012", .meanDiameter = "0,1"},
     kExampleSentence},
    {"TheExampleTypedWithUnits",
     {"Option4"},
     {.wireDiameter = "12 mm", .meanDiameter = "100 mm", .mass = "400 kg"},
     kExampleSentence},
    {"OtherUnitsInAnyCase",
     {"Option4"},
     {.coils = "8 espiras", .wireDiameter = "1,2 CM", .meanDiameter = "0,1 M", .mass = "0,4 t"},
     kExampleSentence},
};

TEST_F(Form1Events, CalcularShowsTheSentence) {
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.name);
        openForm();
        for (const char* option : scenario.optionsClicked)
            click(option);
        enter(scenario.inputs);
        EXPECT_FALSE(calculate().shown);
        EXPECT_EQ(result(), QString::fromUtf8(scenario.expected));
    }
}

// The result can be selected with the mouse, to copy it, without taking the focus.
TEST_F(Form1Events, TheResultCanBeSelected) {
    click("Option4");
    enter({});
    calculate();
    auto* label = control<QLabel>("Label6");
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(1, 5));
    QTest::mouseMove(label, QPoint(120, 5));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(120, 5));
    EXPECT_TRUE(label->selectedText().startsWith(QStringLiteral("La rigidez")))
        << label->selectedText().toStdString();
    EXPECT_NE(QApplication::focusWidget(), label);
}

TEST_F(Form1Events, CalcularTwiceShowsTheSameSentence) {
    click("Option4");
    enter({});
    calculate();
    calculate();
    EXPECT_EQ(result(), QString::fromUtf8(kExampleSentence));
}

// Space chooses the focused option; the arrow keys then move the choice along the group.
TEST_F(Form1Events, TheKeyboardChoosesTheEndType) {
    const struct {
        const char* chosen;
        Qt::Key key;
        std::int16_t N2;
    } presses[] = {
        {"Option2", Qt::Key_Space, 0}, {"Option3", Qt::Key_Down, 2}, {"Option4", Qt::Key_Down, 2},
        {"Option5", Qt::Key_Down, 1},  {"Option4", Qt::Key_Up, 2},
    };
    ASSERT_EQ(QApplication::focusWidget(), control("Option2"));
    for (const auto& press : presses) {
        QTest::keyClick(QApplication::focusWidget(), press.key);
        EXPECT_TRUE(control<QRadioButton>(press.chosen)->isChecked()) << press.chosen;
        EXPECT_EQ(form->state().N2, press.N2) << press.chosen;
    }
}

TEST_F(Form1Events, TheUsersLocaleWritesTheResult) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    click("Option4");
    enter({.wireDiameter = "0,012", .meanDiameter = "0,1"});
    calculate();
    QLocale::setDefault(previous);
    EXPECT_EQ(result(), QString::fromUtf8("La rigidez total del resorte es 34257,6 Nw/m; y la "
                                          "frecuencia natural es de 2,08297280969584 Hz"));
}

// Typing, picking a material and moving the focus calculate nothing.
TEST_F(Form1Events, OnlyCalcularCalculates) {
    enter({});
    auto* combo = control<QComboBox>("Combo1");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(result(), QString());
    EXPECT_EQ(form->state().K, 0.0);
    EXPECT_EQ(form->state().G, 0.0);
}

const Scenario kFaults[] = {
    {"EmptyBoxes",
     {"Option2"},
     {.coils = "", .wireDiameter = "", .meanDiameter = "", .mass = ""},
     "Operación no válida: el diámetro del redondo es 0, el diámetro medio es 0 y el número de "
     "espiras activas (espiras menos las inactivas del tipo de extremo) es 0."},
    {"ThePrompt",
     {"Option4"},
     {.material = "Elija el material del resorte"},
     "Material no reconocido: elija uno de los materiales de la lista; el nombre debe coincidir "
     "exactamente, con sus mayúsculas, acentos y espacios."},
    {"EmptyMass", {"Option4"}, {.mass = ""}, "División por cero: la masa es 0."},
    {"OneCoilWithSquaredEnds",
     {"Option3"},
     {.coils = "1"},
     "Argumento no válido: la rigidez es negativa; revise el número de espiras, el tipo de extremo "
     "y los diámetros."},
    {"ANegativeMass", {"Option4"}, {.mass = "-400"}, "Argumento no válido: la masa es negativa."},
    {"AMassInTheWireDiameterBox",
     {"Option4"},
     {.wireDiameter = "12 kg"},
     "Unidad no válida: el diámetro del redondo se escribe en m, cm o mm."},
    {"ALengthInTheMassBox",
     {"Option4"},
     {.mass = "400 mm"},
     "Unidad no válida: la masa se escribe en kg, g o t."},
    {"AHugeMass", {"Option4"}, {.mass = "1e400"}, "Desbordamiento: la masa es demasiado grande."},
};

// A fault is reported, and then everything is as it was: the inputs as typed, the last
// sentence on show, and the program running for the user to correct and try again.
TEST_F(Form1Events, AFaultIsReportedAndLosesNothing) {
    for (const Scenario& scenario : kFaults) {
        SCOPED_TRACE(scenario.name);
        openForm();
        click("Option4");
        enter({});
        calculate();
        const QString lastSentence = result();

        for (const char* option : scenario.optionsClicked)
            click(option);
        enter(scenario.inputs);
        const QStringList typed = texts();
        const MessageBoxSeen box = calculate();
        ASSERT_TRUE(box.shown);
        EXPECT_EQ(box.title, form->windowTitle());
        EXPECT_EQ(box.text, QString::fromUtf8(scenario.expected));
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        EXPECT_EQ(box.buttons, QStringList{QStringLiteral("Aceptar")});

        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(texts(), typed);
        EXPECT_EQ(result(), lastSentence);

        click("Option4");
        enter({});
        EXPECT_FALSE(calculate().shown);
        EXPECT_EQ(result(), QString::fromUtf8(kExampleSentence));
    }
}

// Runs the event loop until something ends it; a failsafe ends it with 1 after five seconds.
int runEventLoopWhile(Form1& form, const std::function<void()>& action) {
    QTimer::singleShot(0, &form, action);
    QTimer::singleShot(5000, &form, [] { QCoreApplication::exit(1); });
    return QApplication::exec();
}

TEST_F(Form1Events, CancelarEndsTheProgramAtOnce) {
    click("Option4");
    enter({});
    calculate();
    EXPECT_EQ(runEventLoopWhile(*form, [this] { click("Command2"); }), 0);
}

TEST_F(Form1Events, TheCloseBoxEndsTheProgram) {
    EXPECT_EQ(runEventLoopWhile(*form, [this] { form->close(); }), 0);
}

} // namespace
