#include "qt/platform/qt_shell.h"

#include "qt/platform/qt_text.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace grovex {

QtShell::QtShell() : opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

int QtShell::open(const std::string& file, const std::string& directory) {
    const QString name = QDir::fromNativeSeparators(toQString(file));
    const QString path = directory.empty() || QDir::isAbsolutePath(name)
                             ? name
                             : QDir(QDir::fromNativeSeparators(toQString(directory))).filePath(name);
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        return kShellPathNotFound;
    }
    if (!info.exists()) {
        return kShellFileNotFound;
    }
    return opener_(QUrl::fromLocalFile(info.absoluteFilePath())) ? kShellSuccess : kShellNoAssociation;
}

} // namespace grovex
