#include "qt/platform/qt_clipboard.h"

#include "qt/platform/qt_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace grovex {
namespace {

QClipboard* applicationClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr ? QGuiApplication::clipboard()
                                                                                   : nullptr;
}

} // namespace

ClipboardStatus QtClipboard::setText(const std::string& text) {
    QClipboard* clipboard = applicationClipboard();
    if (clipboard == nullptr) {
        return ClipboardStatus::CannotOpen;
    }
    const QString value = toQString(text);
    clipboard->setText(value, QClipboard::Clipboard);
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    if (data == nullptr || data->text() != value) {
        return ClipboardStatus::CannotSet;
    }
    return ClipboardStatus::Ok;
}

std::optional<std::string> QtClipboard::text() {
    QClipboard* clipboard = applicationClipboard();
    if (clipboard == nullptr) {
        return std::nullopt;
    }
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    return toStdString(data->text());
}

ClipboardRead QtClipboard::readText() {
    if (applicationClipboard() == nullptr) {
        return {ClipboardReadStatus::CannotOpen, {}};
    }
    std::optional<std::string> value = text();
    if (!value) {
        return {ClipboardReadStatus::NoText, {}};
    }
    return {ClipboardReadStatus::Ok, std::move(*value)};
}

} // namespace grovex
