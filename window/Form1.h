#pragma once

// Tervanel's one window. It gathers the texts of its inputs, hands them to the calculation and
// shows what comes back: the result sentence under "Resultados", or the fault in a message box.
// The controls and their layout live in Form1.ui; the calculation and its state in calc/.

#include "calc/spring.h"

#include <QAccessible>
#include <QWidget>

#include <memory>

namespace Ui {
class Form1;
}

class QAbstractButton;

class Form1 : public QWidget, private QAccessible::ActivationObserver {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    [[nodiscard]] const tervanel::SpringState& state() const { return state_; }

    void Command1_Click();
    void Command2_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectSelection(QAbstractButton* option, void (Form1::*handler)());
    void keepMaterialAsTyped();
    void showEmblemSharp();
    void accessibilityActiveChanged(bool active) override;
    void showResult(const QString& sentence);
    void showFault(const tervanel::Fault& fault);
    void centreOnScreen();

    std::unique_ptr<Ui::Form1> ui;
    tervanel::SpringState state_;
    bool assistiveToolRuns_ = QAccessible::isActive();
};
