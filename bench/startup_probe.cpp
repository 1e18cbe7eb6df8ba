// Started by the start-up benchmarks: shows Tervanel's window ("form"), the same twenty-one
// controls from a window definition and nothing else ("floor", the toolkit's floor for this
// window), a bare window of the same size ("bare"), or that bare window with one line of text
// ("text", which pays for loading a font as every window with words does), all built and linked
// the same way. Once the window is painted and flushed it prints the monotonic clock in
// nanoseconds and its resident memory in KiB, and ends at once, so that an instruction count of
// the whole process stops at the first paint.

#include "Form1.h"
#include "caption_fit.h"
#include "ui_floor_window.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLong();
    }
    return -1;
}

// Reports once the first paint has been delivered and flushed.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("%lld %ld\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                            residentKiB());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool reported_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray("form");
    std::unique_ptr<QWidget> window;
    if (mode == "bare" || mode == "text") {
        window = std::make_unique<QWidget>();
        window->setFixedSize(511, 399);
        if (mode == "text")
            new QLabel(QStringLiteral("Tervanel V1.2"), window.get());
    } else if (mode == "floor") {
        Q_INIT_RESOURCE(tervanel);
        window = std::make_unique<QWidget>();
        Ui::FloorWindow floor;
        floor.setupUi(window.get());
    } else {
        window = buildInFittingFont([] { return std::make_unique<Form1>(); });
    }
    FirstPaint probe;
    window->installEventFilter(&probe);
    window->show();
    return QApplication::exec();
}
