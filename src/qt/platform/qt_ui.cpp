#include "qt/platform/qt_ui.h"

#include "qt/platform/qt_text.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace grovex {

QStringList toQtNameFilters(std::string_view filter) {
    const QStringList parts = toQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            patterns << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
        }
        if (description.isEmpty() && patterns.isEmpty()) {
            break; // the closing "||"
        }
        if (patterns.isEmpty()) {
            patterns << QStringLiteral("*");
        }
        // Qt takes the patterns from the last parentheses of an entry, so any shown there are replaced.
        if (description.endsWith(QLatin1Char(')'))) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            if (open >= 0) {
                description = description.left(open).trimmed();
            }
        }
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

QString withDefaultExtension(const QString& path, std::string_view extension) {
    QString suffix = toQString(extension);
    if (suffix.startsWith(QLatin1Char('.'))) {
        suffix.remove(0, 1);
    }
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    // A name ending in a dot gets the extension after that dot.
    return path.endsWith(QLatin1Char('.')) ? path + suffix : path + QLatin1Char('.') + suffix;
}

QWidget* QtUi::dialogParent() const {
    return parent_ != nullptr ? parent_ : QApplication::activeWindow();
}

Answer QtUi::message(std::string_view text, Buttons buttons, Icon icon, std::string_view caption) {
    QMessageBox box(dialogParent());
    box.setWindowTitle(caption.empty() ? QString::fromLatin1(kApplicationTitle) : toQString(caption));
    box.setText(toQString(text));
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    // The first button is the default one; Escape answers Cancel where there is one (No in a Yes/No box).
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<std::string> QtUi::openFileName(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<std::string> QtUi::saveFileName(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<std::string> QtUi::runFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(dialogParent());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = toQtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }
    QString suffix = toQString(request.defaultExtension);
    if (suffix.startsWith(QLatin1Char('.'))) {
        suffix.remove(0, 1);
    }
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    dialog.setDirectory(request.startDirectory.empty() ? QDir::currentPath() : toQString(request.startDirectory));
    if (!request.fileName.empty()) {
        dialog.selectFile(toQString(request.fileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    QString chosen = dialog.selectedFiles().constFirst();
    if (save) {
        chosen = withDefaultExtension(chosen, request.defaultExtension);
    } else if (!QFileInfo::exists(chosen)) {
        // A name typed without its extension opens the file that has it.
        const QString withExtension = withDefaultExtension(chosen, request.defaultExtension);
        if (QFileInfo::exists(withExtension)) {
            chosen = withExtension;
        }
    }
    return toStdString(QDir::toNativeSeparators(chosen));
}

} // namespace grovex
