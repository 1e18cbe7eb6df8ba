#include "caption_fit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <optional>

namespace {

constexpr int kSmallestPointSize = 6;

// What a caption needs against what its control gives, before the control's name is known.
using Need = ClippedCaption;

int textWidth(const QFontMetrics& metrics, const QString& text) {
    return metrics.horizontalAdvance(text);
}

std::optional<Need> labelNeed(const QLabel& label, const QFontMetrics& metrics) {
    if (label.text().isEmpty() || label.wordWrap())
        return std::nullopt;
    return Need{{}, textWidth(metrics, label.text()), label.contentsRect().width()};
}

std::optional<Need> buttonNeed(const QAbstractButton& button, const QFontMetrics& metrics) {
    const QStyle& style = *button.style();
    if (qobject_cast<const QRadioButton*>(&button)) {
        const int indicator =
            style.pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &button) +
            style.pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &button);
        return Need{{}, indicator + textWidth(metrics, button.text()), button.width()};
    }
    const int margins = 2 * style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    return Need{{}, textWidth(metrics, button.text()) + margins, button.width()};
}

std::optional<Need> frameNeed(const QGroupBox& frame, const QFontMetrics& metrics) {
    // The style draws the title inset from the frame's left edge, about one character in.
    const int inset = metrics.averageCharWidth();
    return Need{{}, inset + textWidth(metrics, frame.title()), frame.width()};
}

std::optional<Need> comboNeed(const QComboBox& combo, const QFontMetrics& metrics) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &combo);
    return Need{{}, textWidth(metrics, combo.currentText()), field.width()};
}

std::optional<Need> needOf(const QWidget& control, const QFontMetrics& metrics) {
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return labelNeed(*label, metrics);
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return buttonNeed(*button, metrics);
    if (const auto* frame = qobject_cast<const QGroupBox*>(&control))
        return frameNeed(*frame, metrics);
    if (const auto* combo = qobject_cast<const QComboBox*>(&control))
        return comboNeed(*combo, metrics);
    return std::nullopt;
}

} // namespace

QList<ClippedCaption> clippedCaptions(const QWidget& window, const QFont& font) {
    const QFontMetrics metrics(font);
    QList<ClippedCaption> clipped;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        std::optional<Need> need = needOf(*control, metrics);
        if (need && need->needed > need->available) {
            need->control = control->objectName();
            clipped.append(*need);
        }
    }
    return clipped;
}

QFont largestFittingFont(const QWidget& window, const QFont& base) {
    for (int size = base.pointSize(); size >= kSmallestPointSize; --size) {
        QFont candidate = base;
        candidate.setPointSize(size);
        if (clippedCaptions(window, candidate).isEmpty())
            return candidate;
        candidate.setStretch(QFont::SemiCondensed);
        if (clippedCaptions(window, candidate).isEmpty())
            return candidate;
    }
    return base;
}
