#include "window_fixture.h"

#include <QAccessible>
#include <QRadioButton>

namespace {

// What an assistive tool reads, through Qt's accessibility interfaces, and what changes while
// one runs. QAccessible::setActive stands in for a screen reader on the offscreen platform.
class Form1Accessibility : public WindowTest {
protected:
    void TearDown() override {
        QAccessible::setActive(false);
        WindowTest::TearDown();
    }

    static QString accessible(QWidget* widget, QAccessible::Text what) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        return face != nullptr ? face->text(what) : QStringLiteral("<none>");
    }

    void enterTheExample() const {
        click("Option4");
        enter({});
    }

    static void pressTab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
    static void pressBacktab() {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    }
};

TEST_F(Form1Accessibility, EachEndTypeIsNamedByItsCaptionAndDescribedByItsGroup) {
    for (const char* name : {"Option2", "Option3", "Option4", "Option5"}) {
        auto* option = control<QRadioButton>(name);
        EXPECT_EQ(accessible(option, QAccessible::Name), option->text()) << name;
        EXPECT_EQ(accessible(option, QAccessible::Description), QStringLiteral("Tipo de resorte"))
            << name;
    }
}

// The result is named by its sentence, never by a fixed word, and keeps the last good one
// through a fault.
TEST_F(Form1Accessibility, TheResultIsReadAsItsSentence) {
    auto* result = control<QLabel>("Label6");
    EXPECT_EQ(accessible(result, QAccessible::Description), QString::fromUtf8("Resultado del "
                                                                              "cálculo"));
    enterTheExample();
    calculate();
    EXPECT_EQ(accessible(result, QAccessible::Name), QString::fromUtf8(kExampleSentence));
    type(control<QLineEdit>("Text1"), QStringLiteral("0"));
    EXPECT_TRUE(calculate().shown);
    EXPECT_EQ(accessible(result, QAccessible::Name), QString::fromUtf8(kExampleSentence));
}

TEST_F(Form1Accessibility, WithoutAnAssistiveToolTheFocusStaysOnCalcular) {
    ASSERT_FALSE(QAccessible::isActive());
    enterTheExample();
    calculate();
    EXPECT_EQ(QApplication::focusWidget(), control("Command1"));
    EXPECT_EQ(control("Label6")->focusPolicy(), Qt::NoFocus);
}

// A screen reader speaks what takes the focus: the result takes it, and is then the stop
// between "Calcular" and "Cancelar".
TEST_F(Form1Accessibility, WithAnAssistiveToolTheResultTakesTheFocus) {
    QAccessible::setActive(true);
    enterTheExample();
    calculate();
    EXPECT_EQ(QApplication::focusWidget(), control("Label6"));
    pressTab();
    EXPECT_EQ(QApplication::focusWidget(), control("Command2"));
    pressBacktab();
    EXPECT_EQ(QApplication::focusWidget(), control("Label6"));
    pressBacktab();
    EXPECT_EQ(QApplication::focusWidget(), control("Command1"));
}

// Leaving a box clears the selection Tab made in it, which Orca reports as a bare "Text
// unselected."; while an assistive tool runs the selection stays, and typing still replaces it.
TEST_F(Form1Accessibility, ABoxKeepsItsSelectionWhenLeftOnlyWhileAnAssistiveToolRuns) {
    for (const bool active : {false, true}) {
        SCOPED_TRACE(active ? "assistive tool" : "none");
        openForm();
        QAccessible::setActive(active);
        auto* coils = control<QLineEdit>("text2");
        type(coils, QStringLiteral("8"));
        control("Command2")->setFocus();
        pressTab();
        ASSERT_EQ(QApplication::focusWidget(), coils);
        EXPECT_EQ(coils->selectedText(), QStringLiteral("8"));
        pressTab();
        EXPECT_EQ(coils->hasSelectedText(), active);
        pressBacktab();
        QTest::keyClicks(coils, QStringLiteral("9"));
        EXPECT_EQ(coils->text(), QStringLiteral("9"));
    }
}

} // namespace
