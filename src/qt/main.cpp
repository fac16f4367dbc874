// grovex: the desktop application.

#include "qt/application.h"
#include "qt/main_window.h"

#include <QApplication>
#include <QTimer>

#include <clocale>
#include <cstdio>

namespace {

// For the start-up benchmark: with GROVEX_STARTUP_PROBE set, the program prints "shown" once the main
// window has painted for the first time, and ends.
class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            std::puts("shown");
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool reported_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    // QApplication has set the C library to the user's locale. The program's numbers never depend on it
    // (they go through cformat/cAtof), but keep the decimal point for any library function that does, and
    // the system's reasons for a failed save or open in the language of the program's own messages.
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_MESSAGES, "C");
    // QApplication has taken its own options out of argv.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }

    if (arguments.contains(QStringLiteral("--version"))) {
        std::printf("grovex %s\n", GROVEX_VERSION);
        return 0;
    }

    grovex::Application app;
    if (!app.start(arguments)) {
        return 1;
    }
    if (qEnvironmentVariableIsSet("GROVEX_STARTUP_PROBE")) {
        app.mainWindow().installEventFilter(new FirstPaintProbe(&app));
    }
    return qtApp.exec();
}
