#include "Form1.h"
#include "caption_fit.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

// The window tests need no display: they run on Qt's offscreen platform unless told otherwise.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The same font choice as the program's.
    buildInFittingFont([] { return std::make_unique<Form1>(); });
    return RUN_ALL_TESTS();
}
