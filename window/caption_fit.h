#pragma once

#include <QApplication>
#include <QFont>
#include <QList>
#include <QString>

class QWidget;

// The window's layout is in fixed pixels, so a font whose captions are wider than their
// controls would clip them. These measure every caption against its control.
struct ClippedCaption {
    QString control; // object name
    int needed;      // pixels the caption takes, with an option button's indicator
    int available;   // pixels its control gives it
};

// The captions of `window`'s labels, buttons, option buttons, frames and the material box's
// prompt that would not show whole in `font`.
QList<ClippedCaption> clippedCaptions(const QWidget& window, const QFont& font);

// The largest size of `base`'s family, in its normal face or else its condensed one, at which
// every caption of `window` shows whole; `base` itself when it already fits. Tries every size
// and face in turn, from `base`'s size down.
QFont largestFittingFont(const QWidget& window, const QFont& base);

// The same font as largestFittingFont, found with few measurements: one of every caption in
// the condensed face at `base`'s size predicts the size, and real measurements of the captions
// that can clip confirm it.
QFont fittingFont(const QWidget& window, const QFont& base);

// The font to build the window in before fittingFont has chosen: the condensed face at `base`'s
// size, which fittingFont measures first anyway. Building in it, and switching to the chosen
// size before the window is shown, loads no face the window does not need.
QFont measuringFont(const QFont& base);

// Builds a window with `build` and gives the application the font that fits it, before the
// window is shown: built in measuringFont, it is measured, and switched once.
template <typename Build> auto buildInFittingFont(Build build) {
    const QFont base = QApplication::font();
    QApplication::setFont(measuringFont(base));
    auto window = build();
    QApplication::setFont(fittingFont(*window, base));
    return window;
}
