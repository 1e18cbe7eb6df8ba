#pragma once

#include "Form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// The sentence of the example spring: 8 coils of alloy steel with squared and ground ends,
// d = 0.012, D = 0.1, m = 400.
inline constexpr const char* kExampleSentence =
    "La rigidez total del resorte es 34257.6 Nw/m; y la frecuencia natural es de "
    "2.08297280969584 Hz";

// What is typed into the material box and the four boxes; the example spring unless told.
struct Inputs {
    const char* material = "Aceros aleados";
    const char* coils = "8";
    const char* wireDiameter = "0.012";
    const char* meanDiameter = "0.1";
    const char* mass = "400";
};

struct MessageBoxSeen {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// A fresh, shown and active Form1 for every test, with a guard that closes any message box
// nobody expected and fails the test, instead of letting it hang.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        openForm();
        QObject::connect(&guard, &QTimer::timeout, &guard, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "unexpected modal window: " << modal->windowTitle().toStdString();
                modal->close();
            }
        });
        guard.start(200);
    }

    void TearDown() override { guard.stop(); }

    void openForm() {
        form = std::make_unique<Form1>();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    template <typename T = QWidget> T* control(const char* name) const {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QLineEdit* materialEdit() const { return control<QComboBox>("Combo1")->lineEdit(); }

    // Replaces the text of a box (the material box's edit field included) by typing it.
    void type(QLineEdit* box, const QString& text) const {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }

    void enter(const Inputs& inputs) const {
        type(materialEdit(), QString::fromUtf8(inputs.material));
        type(control<QLineEdit>("text2"), QString::fromUtf8(inputs.coils));
        type(control<QLineEdit>("text3"), QString::fromUtf8(inputs.wireDiameter));
        type(control<QLineEdit>("text4"), QString::fromUtf8(inputs.meanDiameter));
        type(control<QLineEdit>("Text1"), QString::fromUtf8(inputs.mass));
    }

    void click(const char* name) const { QTest::mouseClick(control(name), Qt::LeftButton); }

    // Presses "Calcular"; a message box it opens is read and closed with its button.
    MessageBoxSeen calculate() const {
        auto seen = std::make_shared<MessageBoxSeen>();
        QTimer::singleShot(0, form.get(), [seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            *seen = {true, box->windowTitle(), box->text(), box->icon(), {}};
            for (QAbstractButton* button : box->buttons())
                seen->buttons << button->text();
            QTest::mouseClick(box->buttons().constFirst(), Qt::LeftButton);
        });
        click("Command1");
        QCoreApplication::processEvents();
        return *seen;
    }

    QString result() const { return control<QLabel>("Label6")->text(); }

    std::unique_ptr<Form1> form;
    QTimer guard;
};
