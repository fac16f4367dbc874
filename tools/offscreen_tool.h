#pragma once
// What the build-time tools that run the application's windows without a display share: the offscreen
// platform, and Qt's messages without the platform's notes about what it cannot do.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace grovex::tools {

// The offscreen platform's notes (no runtime folder, no window manager hints) say nothing about the result;
// every other message of Qt is passed on.
inline void quietOffscreenNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")) ||
                                 message.contains(QLatin1String("does not support propagateSizeHints")))) {
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Before the application object: nothing is shown, so the offscreen platform needs no display.
inline void runOffscreen() {
    qInstallMessageHandler(quietOffscreenNotes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

} // namespace grovex::tools
