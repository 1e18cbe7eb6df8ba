#include "window_fixture.h"

namespace {

using Form1InputSafety = WindowTest;

QString everyUnicodeNumber() {
    QString text;
    for (char32_t code = 0x80; code <= 0x10FFFF; ++code) {
        if (QChar::isDigit(code) || QChar::category(code) == QChar::Number_Letter ||
            QChar::category(code) == QChar::Number_Other)
            text += QString::fromUcs4(&code, 1);
    }
    return text;
}

// Whatever reaches the boxes, from the keyboard or the clipboard, ends in a sentence or a
// message box, never in a crash or a hang; and no character but ASCII's counts as a digit.
TEST_F(Form1InputSafety, AnyTextReachesTheCalculationSafely) {
    const QString tenMegabytes = QString(10 << 20, u'9');
    const QString loneSurrogates =
        QStringLiteral("8") + QChar(0xD800) + QChar(0xDFFF) + QChar(0xDC00);
    QString controls;
    for (char16_t c = 0; c < 0x20; ++c)
        controls += QChar(c);
    const struct {
        const char* name;
        QString coils;
        bool faults;
    } rows[] = {
        {"ten megabytes of nines", tenMegabytes, true},
        {"an eight and ten megabytes of letters", QStringLiteral("8") + QString(10 << 20, u'x'),
         false},
        {"control characters", QStringLiteral("8") + controls, false},
        {"lone surrogates", loneSurrogates, false},
        {"every Unicode digit and number", QStringLiteral("8") + everyUnicodeNumber(), false},
        {"only Unicode digits", everyUnicodeNumber(), true},
    };
    click("Option4");
    enter({});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto* coils = control<QLineEdit>("text2");
        coils->setText(row.coils);
        ASSERT_EQ(coils->text(), row.coils) << "the box cut the text";
        EXPECT_EQ(calculate().shown, row.faults);
        if (!row.faults) {
            EXPECT_EQ(result(), QString::fromUtf8(kExampleSentence));
        }
    }
}

} // namespace
