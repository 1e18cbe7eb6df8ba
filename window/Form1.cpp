#include "Form1.h"

#include "ui_Form1.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QIcon>
#include <QListView>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStringView>
#include <QStyle>

#include <initializer_list>
#include <limits>
#include <string_view>

// The pictures are linked into a static library, so their registration must be asked for,
// once for the whole program.
static void registerPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(tervanel);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

std::u16string_view viewOf(const QString& text) {
    return {QStringView(text).utf16(), static_cast<std::size_t>(text.size())};
}

QString toQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// Every material is one line in the box's font, so the list can size all its entries from the
// first: a change of font then measures one entry, not every one.
void sizeMaterialsAlike(QComboBox& materials) {
    if (auto* list = qobject_cast<QListView*>(materials.view()))
        list->setUniformItemSizes(true);
}

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::Form1>()) {
    registerPictures();
    ui->setupUi(this);
    // The layout is absolute: the window neither grows nor maximises.
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    keepMaterialAsTyped();
    sizeMaterialsAlike(*ui->Combo1);
    showEmblemSharp();

    connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connectSelection(ui->Option2, &Form1::Option2_Click);
    connectSelection(ui->Option3, &Form1::Option3_Click);
    connectSelection(ui->Option4, &Form1::Option4_Click);
    connectSelection(ui->Option5, &Form1::Option5_Click);
    for (QWidget* box :
         std::initializer_list<QWidget*>{ui->Combo1, ui->text2, ui->text3, ui->text4, ui->Text1})
        box->installEventFilter(this);
    QAccessible::installActivationObserver(this);

    ui->Option2->setFocus();
    centreOnScreen();
}

Form1::~Form1() {
    QAccessible::removeActivationObserver(this);
}

// An option's handler runs whenever it becomes the selected one: by mouse, by the arrow keys
// or by an assistive tool's toggle, all of which change its checked state.
void Form1::connectSelection(QAbstractButton* option, void (Form1::*handler)()) {
    connect(option, &QAbstractButton::toggled, this, [this, handler](bool checked) {
        if (checked)
            (this->*handler)();
    });
}

// The calculation compares the material text code unit for code unit, so the edit field must
// keep exactly what was typed: no inline completion, no case correction on leaving it, and no
// limit to its length. The prompt is no entry of the list: nothing is picked at start, so the
// first arrow key picks the first material.
void Form1::keepMaterialAsTyped() {
    QComboBox& materials = *ui->Combo1;
    materials.setCompleter(nullptr);
    materials.lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    const QString prompt = materials.currentText();
    materials.setCurrentIndex(-1);
    materials.setEditText(prompt);
}

// The pixmap of the window definition is the 1x picture; an icon picks the @2x one where the
// screen needs it, and the box keeps its size.
void Form1::showEmblemSharp() {
    if (devicePixelRatioF() <= 1)
        return;
    const QIcon emblem(QStringLiteral(":/images/emblem.png"));
    ui->Image1->setPixmap(emblem.pixmap(ui->Image1->size(), devicePixelRatioF()));
}

void Form1::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
}

void Form1::Command1_Click() {
    const QString material = ui->Combo1->currentText();
    const QString coils = ui->text2->text();
    const QString wireDiameter = ui->text3->text();
    const QString meanDiameter = ui->text4->text();
    const QString mass = ui->Text1->text();
    const QString decimalPoint = QLocale().decimalPoint();

    const auto result = tervanel::calculate(
        {viewOf(material), viewOf(coils), viewOf(wireDiameter), viewOf(meanDiameter), viewOf(mass)},
        state_, viewOf(decimalPoint));
    if (result.ok())
        showResult(toQString(result.value()));
    else
        showFault(result.error());
}

void Form1::Command2_Click() {
    QCoreApplication::exit(0);
}

void Form1::Option2_Click() {
    state_.N2 = tervanel::inactiveCoils(tervanel::EndType::Plain);
}

void Form1::Option3_Click() {
    state_.N2 = tervanel::inactiveCoils(tervanel::EndType::Squared);
}

void Form1::Option4_Click() {
    state_.N2 = tervanel::inactiveCoils(tervanel::EndType::SquaredAndGround);
}

void Form1::Option5_Click() {
    state_.N2 = tervanel::inactiveCoils(tervanel::EndType::PlainAndGround);
}

// An assistive tool can start or stop while the window is open.
void Form1::accessibilityActiveChanged(bool active) {
    assistiveToolRuns_ = active;
    if (!active)
        ui->Label6->setFocusPolicy(Qt::NoFocus);
}

// A screen reader speaks what takes the focus, not a label that changes elsewhere; so while an
// assistive tool runs, the result becomes a stop of the Tab order right after "Calcular" and
// takes the focus, which speaks it. Without one, the focus stays where it was.
void Form1::showResult(const QString& sentence) {
    ui->Label6->setText(sentence);
    if (!assistiveToolRuns_)
        return;
    if (ui->Label6->focusPolicy() == Qt::NoFocus) {
        ui->Label6->setFocusPolicy(Qt::TabFocus);
        setTabOrder(ui->Command1, ui->Label6);
    }
    ui->Label6->setFocus(Qt::OtherFocusReason);
}

// Tabbing into a box selects its text and leaving it clears the selection, which a screen
// reader reports as a bare "Text unselected." between two controls. While an assistive tool
// runs, a box keeps its selection when the focus leaves it: Qt keeps it for a focus that goes
// to a popup, so the leaving is passed on as one.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut || !assistiveToolRuns_)
        return QWidget::eventFilter(watched, event);
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return QWidget::eventFilter(watched, event);
    QFocusEvent keepingSelection(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(watched, &keepingSelection);
    return true;
}

// Reported, and the program goes on: every input stays as typed for the user to correct.
void Form1::showFault(const tervanel::Fault& fault) {
    QMessageBox box(QMessageBox::Critical, windowTitle(), toQString(fault.message),
                    QMessageBox::NoButton, this);
    box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
    box.exec();
}
