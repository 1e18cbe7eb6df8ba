#include "Form1.h"
#include "caption_fit.h"

#include <QApplication>

#include <cstdio>
#include <memory>

namespace {

// Without a display Qt would stop with a toolkit error; say plainly what is missing instead.
bool displayMissing() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return false;
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    if (displayMissing()) {
        std::fprintf(stderr,
                     "tervanel: no display found (DISPLAY is not set); to run it without one: "
                     "xvfb-run -a %s (xvfb-run comes with Debian's xvfb)\n",
                     argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    const auto form = buildInFittingFont([] { return std::make_unique<Form1>(); });
    form->show();
    return QApplication::exec();
}
