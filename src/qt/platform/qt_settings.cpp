#include "qt/platform/qt_settings.h"

#include "qt/platform/qt_text.h"

#include <QByteArray>

namespace grovex {

QtSettings::QtSettings()
    : settings_(std::make_unique<QSettings>(QString::fromLatin1(kOrganization), QString::fromLatin1(kApplication))) {}

QtSettings::QtSettings(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

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
