#include "qt/platform/qt_settings.h"

#include "qt/platform/qt_text.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace grovex {

QtSettings::QtSettings()
    : settings_(std::make_unique<QSettings>(QString::fromLatin1(kOrganization), QString::fromLatin1(kApplication))) {}

QtSettings::QtSettings(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

namespace {

// QSettings says only that its file could not be written; the system says why. A directory in the file's
// place, a folder that cannot hold it, or a file that may not be replaced.
int settingsWriteError(const QString& fileName) {
    const QFileInfo file(fileName);
    if (file.isDir()) {
        return EISDIR;
    }
    const std::string folder = QFile::encodeName(file.absolutePath()).toStdString();
    std::string probe = folder + "/.grovex-settings-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        return errno;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    if (file.exists() && !file.isWritable()) {
        return EACCES;
    }
    return EIO;
}

} // namespace

IoStatus QtSettings::flush() {
    settings_->sync();
    switch (settings_->status()) {
    case QSettings::NoError:
        return IoStatus::success();
    case QSettings::AccessError: {
        const QString fileName = settings_->fileName();
        const int error = settingsWriteError(fileName);
        return IoStatus::failure("Unable to save the settings to " + toStdString(QDir::toNativeSeparators(fileName)) +
                                 ": " + std::generic_category().message(error) + ".");
    }
    case QSettings::FormatError:
        break; // the store holds something else, and QSettings leaves it alone
    }
    return IoStatus::failure("Unable to save the settings to " +
                             toStdString(QDir::toNativeSeparators(settings_->fileName())) +
                             ": Unexpected file format.");
}

QString QtSettings::settingsKey(std::string_view section, std::string_view key) {
    return toQString(section) + QLatin1Char('/') + toQString(key);
}

std::optional<std::string> QtSettings::readString(std::string_view section, std::string_view key) const {
    const QVariant value = settings_->value(settingsKey(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    return toStdString(value.toString());
}

void QtSettings::writeString(std::string_view section, std::string_view key, std::string_view value) {
    settings_->setValue(settingsKey(section, key), toQString(value));
}

std::optional<int> QtSettings::readInt(std::string_view section, std::string_view key) const {
    const QVariant value = settings_->value(settingsKey(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    // INI files and some native stores hand numbers back as text.
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return number;
}

void QtSettings::writeInt(std::string_view section, std::string_view key, int value) {
    settings_->setValue(settingsKey(section, key), value);
}

std::optional<std::vector<uint8_t>> QtSettings::readBytes(std::string_view section, std::string_view key) const {
    const QVariant value = settings_->value(settingsKey(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    const QByteArray bytes = value.toByteArray();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void QtSettings::writeBytes(std::string_view section, std::string_view key, const std::vector<uint8_t>& value) {
    settings_->setValue(settingsKey(section, key),
                        QByteArray(reinterpret_cast<const char*>(value.data()), static_cast<qsizetype>(value.size())));
}

} // namespace grovex
