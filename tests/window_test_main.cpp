#include "Form1.h"
#include "caption_fit.h"

#include <QApplication>
#include <gtest/gtest.h>

// The window tests need no display: they run on Qt's offscreen platform unless told otherwise.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    {
        const Form1 probe; // the same font choice as the program's
        QApplication::setFont(largestFittingFont(probe, QApplication::font()));
    }
    return RUN_ALL_TESTS();
}
