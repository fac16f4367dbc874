#pragma once
// The user's settings on QSettings: section and key become the key "section/key".

#include "base/platform/settings.h"

#include <QSettings>

#include <memory>

namespace grovex {

class QtSettings : public Settings {
public:
    static constexpr const char* kOrganization = "Fernhill Lab";
    static constexpr const char* kApplication = "GROVEX";

    // The program's own settings in the platform's native store (the registry on Windows).
    QtSettings();
    // Settings kept in an INI file, for tests and portable installations.
    explicit QtSettings(const QString& iniFile);

    std::optional<std::string> readString(std::string_view section, std::string_view key) const override;
    void writeString(std::string_view section, std::string_view key, std::string_view value) override;
    std::optional<int> readInt(std::string_view section, std::string_view key) const override;
    void writeInt(std::string_view section, std::string_view key, int value) override;
    std::optional<std::vector<uint8_t>> readBytes(std::string_view section, std::string_view key) const override;
    void writeBytes(std::string_view section, std::string_view key, const std::vector<uint8_t>& value) override;

    // Writes pending changes to the store (QSettings replaces its file atomically) and reports a failure.
    IoStatus flush() override;
    void sync() { settings_->sync(); }
    QSettings& qsettings() { return *settings_; }

    // "section/key" as QSettings names it.
    static QString settingsKey(std::string_view section, std::string_view key);

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace grovex
