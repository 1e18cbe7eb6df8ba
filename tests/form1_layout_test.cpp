#include "caption_fit.h"
#include "window_fixture.h"

#include "calc/spring.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <limits>
#include <string>
#include <vector>

namespace {

struct ControlRow {
    const char* name;
    const char* kind;
    const char* parent;
    QRect geometry;
    const char* text;
};

// In stacking order, top first; places in pixels at 15 twips to the pixel.
const ControlRow kControls[] = {
    // name     kind            parent    geometry                  text
    {"Text1", "QLineEdit", "Form1", {408, 24, 81, 19}, ""},
    {"Frame2", "QGroupBox", "Form1", {288, 168, 193, 121}, "Resultados"},
    {"Label6", "QLabel", "Frame2", {8, 16, 177, 97}, ""},
    {"text3", "QLineEdit", "Form1", {408, 72, 81, 19}, ""},
    {"text4", "QLineEdit", "Form1", {408, 96, 81, 19}, ""},
    {"text2", "QLineEdit", "Form1", {408, 48, 81, 19}, ""},
    {"Command2", "QPushButton", "Form1", {368, 352, 97, 25}, "Cancelar"},
    {"Command1", "QPushButton", "Form1", {368, 312, 97, 25}, "Calcular"},
    {"Combo1", "QComboBox", "Form1", {296, 128, 201, 21}, "Elija el material del resorte"},
    {"Option5", "QRadioButton", "Form1", {40, 272, 201, 17}, "Extremos Simples y Aplanados"},
    {"Option4", "QRadioButton", "Form1", {40, 248, 193, 17}, "Extremos a Escuadra y Aplanados"},
    {"Option3", "QRadioButton", "Form1", {40, 224, 145, 17}, "Extremos a Escuadra"},
    {"Option2", "QRadioButton", "Form1", {40, 200, 185, 17}, "Extremos simples"},
    {"Frame1", "QGroupBox", "Form1", {16, 144, 241, 193}, " Tipo de Resorte "},
    {"Label7", "QLabel", "Form1", {280, 24, 129, 17}, "Masa sobre eje delantero:"},
    {"Label5", "QLabel", "Form1", {280, 96, 89, 17}, "Diámetro Medio:"},
    {"Label4", "QLabel", "Form1", {280, 72, 121, 17}, "Diámetro del Redondo:"},
    {"Label3", "QLabel", "Form1", {280, 48, 113, 17}, "Número de Espiras:"},
    {"Label2", "QLabel", "Form1", {144, 80, 153, 25}, "Orvalis - Quendra"},
    {"Label1", "QLabel", "Form1", {144, 56, 145, 17}, "Tervanel V1.2"},
    {"Image1", "QLabel", "Form1", {40, 16, 84, 93}, ""},
};

// The order focus takes by the Tab key, round to the start again. The options are one stop,
// entered at the chosen option, or at the first while none is chosen.
const std::vector<std::string> kTabOrderAfterOptions{"Combo1", "Command1", "Command2", "text2",
                                                     "text4",  "text3",    "Text1"};

QString textOf(const QWidget& control) {
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(&control))
        return frame->title();
    if (const auto* combo = qobject_cast<const QComboBox*>(&control))
        return combo->currentText();
    return qobject_cast<const QLineEdit*>(&control)->text();
}

using Form1Layout = WindowTest;

TEST_F(Form1Layout, EveryControlHasItsKindParentPlaceAndText) {
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        const QWidget* widget = control(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), row.kind);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(row.parent));
        EXPECT_EQ(widget->geometry(), row.geometry);
        EXPECT_EQ(textOf(*widget), QString::fromUtf8(row.text));
        EXPECT_TRUE(widget->isVisible());
        if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QGroupBox*>(widget)) {
            EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
        }
    }
}

TEST_F(Form1Layout, ControlsStackInTableOrder) {
    const QObjectList& children = form->children();
    qsizetype above = std::numeric_limits<qsizetype>::max();
    for (const ControlRow& row : kControls) {
        if (std::string(row.parent) != "Form1")
            continue;
        const qsizetype index = children.indexOf(control(row.name));
        EXPECT_LT(index, above) << row.name << " is not below the control listed before it";
        above = index;
    }
    // The options are the window's own, drawn over Frame1, and stay there whatever it does.
    for (const char* name : {"Option2", "Option3", "Option4", "Option5"}) {
        QWidget* option = control(name);
        EXPECT_EQ(form->childAt(option->geometry().center()), option) << name;
        control("Frame1")->move(0, 0);
        EXPECT_EQ(option->parentWidget(), form.get());
        EXPECT_EQ(option->geometry().topLeft().x(), 40);
    }
}

TEST_F(Form1Layout, TheWindowIsFixedCaptionedAndCentred) {
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Tervanel V1.2 - Cálculo de la frecuencia "
                                                     "natural."));
    EXPECT_EQ(form->size(), QSize(511, 399));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form->windowIcon().availableSizes().contains(QSize(32, 32)));
    const QRect screen = form->screen()->availableGeometry();
    EXPECT_LE((form->geometry().center() - screen.center()).manhattanLength(), 2)
        << "odd sizes round by a pixel";
}

TEST_F(Form1Layout, StartsWithNothingChosenAndFocusOnTheFirstOption) {
    EXPECT_EQ(QApplication::focusWidget(), control("Option2"));
    for (const char* name : {"Option2", "Option3", "Option4", "Option5"}) {
        const auto* option = control<QRadioButton>(name);
        EXPECT_FALSE(option->isChecked()) << name;
        EXPECT_TRUE(option->autoExclusive()) << name;
    }
    for (const char* name : {"Text1", "text2", "text3", "text4"}) {
        const auto* box = control<QLineEdit>(name);
        EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight) << name;
        EXPECT_EQ(box->maxLength(), std::numeric_limits<int>::max()) << name;
    }
    for (const char* name : {"Command1", "Command2"}) {
        const auto* button = control<QPushButton>(name);
        EXPECT_FALSE(button->isDefault() || button->autoDefault()) << name;
    }
    const auto* result = control<QLabel>("Label6");
    EXPECT_TRUE(result->wordWrap());
    EXPECT_EQ(result->alignment(), Qt::AlignLeft | Qt::AlignTop);
    EXPECT_TRUE(result->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
}

std::vector<std::string> tabRound() {
    std::vector<std::string> visited{QApplication::focusWidget()->objectName().toStdString()};
    for (std::size_t i = 0; i <= kTabOrderAfterOptions.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget()->objectName().toStdString());
    }
    return visited;
}

std::vector<std::string> expectedRound(const std::string& option) {
    std::vector<std::string> round{option};
    round.insert(round.end(), kTabOrderAfterOptions.begin(), kTabOrderAfterOptions.end());
    round.push_back(option);
    return round;
}

TEST_F(Form1Layout, TabFollowsTheSetOrder) {
    EXPECT_EQ(tabRound(), expectedRound("Option2"));
    click("Option4");
    EXPECT_EQ(tabRound(), expectedRound("Option4"));
}

TEST_F(Form1Layout, TheMaterialListHoldsTheFiveMaterialsInOrder) {
    const auto* combo = control<QComboBox>("Combo1");
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->currentIndex(), -1);
    ASSERT_EQ(combo->count(), static_cast<int>(tervanel::kMaterials.size()));
    for (int i = 0; i < combo->count(); ++i) {
        const std::u16string_view name = tervanel::kMaterials[static_cast<std::size_t>(i)].name;
        EXPECT_EQ(combo->itemText(i).toStdU16String(), name);
    }
}

TEST_F(Form1Layout, TheMaterialBoxKeepsExactlyWhatWasTyped) {
    auto* combo = control<QComboBox>("Combo1");
    for (const char* typed : {"aceros aleados", "Aceros", "Aceros aleados ", "ACEROS ALEADOS"}) {
        type(materialEdit(), QString::fromUtf8(typed));
        QTest::keyClick(materialEdit(), Qt::Key_Return);
        control("Text1")->setFocus(); // leaving the box must not correct it
        EXPECT_EQ(combo->currentText(), QString::fromUtf8(typed));
        EXPECT_EQ(combo->count(), 5) << "typing added an entry";
    }
}

TEST_F(Form1Layout, PickingAMaterialPutsItsNameInTheEditField) {
    auto* combo = control<QComboBox>("Combo1");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentText(), QString::fromUtf8("Aceros de alto contenido en carbono"));
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentText(), QString::fromUtf8("Aceros aleados"));
}

TEST_F(Form1Layout, NoCaptionIsClipped) {
    for (const ClippedCaption& clipped : clippedCaptions(*form, form->font()))
        ADD_FAILURE() << clipped.control.toStdString() << " needs " << clipped.needed
                      << " px and has " << clipped.available;
    // The font is the largest that fits: one point more clips something in either face.
    QFont larger = form->font();
    larger.setPointSize(larger.pointSize() + 1);
    if (larger.pointSize() <= QFont().pointSize()) {
        EXPECT_FALSE(clippedCaptions(*form, larger).isEmpty());
        larger.setStretch(QFont::SemiCondensed);
        EXPECT_FALSE(clippedCaptions(*form, larger).isEmpty());
    }
}

// The quick choice measures a few captions at a few sizes and predicts the rest; whatever the
// base font, it must land on the very font the size-by-size search finds.
TEST_F(Form1Layout, TheQuickFontChoiceIsTheSearchsChoice) {
    for (const char* family : {"DejaVu Sans", "DejaVu Serif", "DejaVu Sans Mono"}) {
        for (int size = 5; size <= 16; ++size) {
            const QFont base(QString::fromLatin1(family), size);
            SCOPED_TRACE(base.toString().toStdString());
            const QFont quick = fittingFont(*form, base);
            EXPECT_EQ(quick, largestFittingFont(*form, base)) << quick.toString().toStdString();
        }
    }
    QFont pixels(QStringLiteral("DejaVu Sans"));
    pixels.setPixelSize(14);
    EXPECT_EQ(fittingFont(*form, pixels), largestFittingFont(*form, pixels));
}

TEST_F(Form1Layout, EachBoxSaysItsUnitAndIsNamedByItsLabel) {
    const struct {
        const char* box;
        const char* label;
        const char* unit;
    } rows[] = {
        {"Text1", "Label7", "kilogramos"},
        {"text2", "Label3", "sin unidad"},
        {"text3", "Label4", "metros"},
        {"text4", "Label5", "metros"},
    };
    for (const auto& row : rows) {
        const QWidget* box = control(row.box);
        EXPECT_EQ(control<QLabel>(row.label)->buddy(), box) << row.box;
        EXPECT_TRUE(box->toolTip().contains(QString::fromUtf8(row.unit))) << row.box;
        EXPECT_EQ(box->accessibleDescription(), box->toolTip()) << row.box;
    }
}

TEST_F(Form1Layout, TheEmblemShowsAtItsNaturalSize) {
    const QPixmap emblem = control<QLabel>("Image1")->pixmap();
    EXPECT_EQ(emblem.deviceIndependentSize().toSize(), QSize(84, 93));
    EXPECT_EQ(emblem.devicePixelRatio(), form->devicePixelRatio());
    EXPECT_EQ(QPixmap(QStringLiteral(":/images/emblem@2x.png")).size(), QSize(168, 186));
}

} // namespace
