#pragma once

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
// every caption of `window` shows whole; `base` itself when it already fits.
QFont largestFittingFont(const QWidget& window, const QFont& base);
