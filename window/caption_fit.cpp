#include "caption_fit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int kSmallestPointSize = 6;

// A semi-condensed face is narrower than its normal face by more than this: DejaVu Sans
// Condensed is 90 % as wide, a face the toolkit condenses itself 87 %. So a caption that needs
// more than this fraction of its room in the condensed face cannot fit in the normal one.
constexpr double kCondensedWidthAtMost = 0.95;

// What a caption needs against what its control gives: the part that grows with the font, and
// the part that does not (an option button's indicator, a push button's margins).
struct Need {
    const QWidget* control;
    int scaled;
    int fixed;
    int available;

    [[nodiscard]] int needed() const { return scaled + fixed; }
    [[nodiscard]] bool clips() const { return needed() > available; }
};

int textWidth(const QFontMetrics& metrics, const QString& text) {
    return metrics.horizontalAdvance(text);
}

std::optional<Need> labelNeed(const QLabel& label, const QFontMetrics& metrics) {
    if (label.text().isEmpty() || label.wordWrap())
        return std::nullopt;
    return Need{&label, textWidth(metrics, label.text()), 0, label.contentsRect().width()};
}

std::optional<Need> buttonNeed(const QAbstractButton& button, const QFontMetrics& metrics) {
    const QStyle& style = *button.style();
    if (qobject_cast<const QRadioButton*>(&button)) {
        const int indicator =
            style.pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &button) +
            style.pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &button);
        return Need{&button, textWidth(metrics, button.text()), indicator, button.width()};
    }
    const int margins = 2 * style.pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    return Need{&button, textWidth(metrics, button.text()), margins, button.width()};
}

std::optional<Need> frameNeed(const QGroupBox& frame, const QFontMetrics& metrics) {
    // The style draws the title inset from the frame's left edge, about one character in.
    const int inset = metrics.averageCharWidth();
    return Need{&frame, inset + textWidth(metrics, frame.title()), 0, frame.width()};
}

std::optional<Need> comboNeed(const QComboBox& combo, const QFontMetrics& metrics) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &combo);
    return Need{&combo, textWidth(metrics, combo.currentText()), 0, field.width()};
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

QList<const QWidget*> controlsOf(const QWidget& window) {
    const QList<QWidget*> children = window.findChildren<QWidget*>();
    return {children.cbegin(), children.cend()};
}

QList<Need> needsOf(const QList<const QWidget*>& controls, const QFont& font) {
    const QFontMetrics metrics(font);
    QList<Need> needs;
    for (const QWidget* control : controls) {
        if (const std::optional<Need> need = needOf(*control, metrics))
            needs.append(*need);
    }
    return needs;
}

QList<Need> clipping(const QList<Need>& needs) {
    QList<Need> clipped;
    std::copy_if(needs.cbegin(), needs.cend(), std::back_inserter(clipped),
                 [](const Need& need) { return need.clips(); });
    return clipped;
}

bool fits(const QList<const QWidget*>& controls, const QFont& font) {
    return clipping(needsOf(controls, font)).isEmpty();
}

// The candidates in the order the search tries them: at each size the normal face of `base`,
// then its condensed one.
QFont candidate(const QFont& base, int size, bool condensed) {
    QFont font = base;
    font.setPointSize(size);
    if (condensed)
        font.setStretch(QFont::SemiCondensed);
    return font;
}

// Widths grow in proportion to the point size, so the clipped captions at `size` tell the
// largest smaller size at which they would fit.
int predictedSize(const QList<Need>& clipped, int size) {
    int predicted = size - 1;
    for (const Need& need : clipped) {
        if (need.scaled <= 0)
            return kSmallestPointSize;
        const double room = need.available - need.fixed;
        const auto fitting = static_cast<int>(std::floor(room * size / need.scaled));
        predicted = std::min(predicted, fitting);
    }
    return std::max(predicted, kSmallestPointSize);
}

bool clipsInNormalFace(const QList<Need>& condensed) {
    return std::any_of(condensed.cbegin(), condensed.cend(), [](const Need& need) {
        return need.scaled / kCondensedWidthAtMost + need.fixed > need.available;
    });
}

} // namespace

QList<ClippedCaption> clippedCaptions(const QWidget& window, const QFont& font) {
    QList<ClippedCaption> clipped;
    for (const Need& need : clipping(needsOf(controlsOf(window), font)))
        clipped.append({need.control->objectName(), need.needed(), need.available});
    return clipped;
}

QFont largestFittingFont(const QWidget& window, const QFont& base) {
    for (int size = base.pointSize(); size >= kSmallestPointSize; --size) {
        for (const bool condensed : {false, true}) {
            const QFont font = candidate(base, size, condensed);
            if (clippedCaptions(window, font).isEmpty())
                return font;
        }
    }
    return base;
}

// Within one face a caption that clips at one size clips at every larger one, and a caption
// clips in the normal face wherever it clips in the condensed one. So the captions that show
// whole in the condensed face at the base size can be left out below it, and once the largest
// fitting condensed size is found, only the normal face at that same size remains to rule out.
QFont fittingFont(const QWidget& window, const QFont& base) {
    const int top = base.pointSize();
    if (top < kSmallestPointSize)
        return base;
    const QList<const QWidget*> controls = controlsOf(window);
    const QList<Need> clippedAtTop = clipping(needsOf(controls, candidate(base, top, true)));
    if (clippedAtTop.isEmpty()) {
        const QFont normal = candidate(base, top, false);
        return fits(controls, normal) ? normal : candidate(base, top, true);
    }
    QList<const QWidget*> tight;
    for (const Need& need : clippedAtTop)
        tight.append(need.control);

    int size = predictedSize(clippedAtTop, top);
    QList<Need> condensed = needsOf(tight, candidate(base, size, true));
    if (!clipping(condensed).isEmpty()) {
        do {
            if (--size < kSmallestPointSize)
                return base;
            condensed = needsOf(tight, candidate(base, size, true));
        } while (!clipping(condensed).isEmpty());
    } else {
        for (; size + 1 < top; ++size) {
            QList<Need> larger = needsOf(tight, candidate(base, size + 1, true));
            if (!clipping(larger).isEmpty())
                break;
            condensed = std::move(larger);
        }
    }
    if (!clipsInNormalFace(condensed) && fits(controls, candidate(base, size, false)))
        return candidate(base, size, false);
    return candidate(base, size, true);
}

QFont measuringFont(const QFont& base) {
    if (base.pointSize() < kSmallestPointSize)
        return base;
    return candidate(base, base.pointSize(), true);
}
