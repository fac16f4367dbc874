#pragma once
// Texts cross between the core (UTF-8 bytes in std::string) and Qt (QString) only through these two helpers.

#include <QString>

#include <string>
#include <string_view>

namespace grovex {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toStdString(const QString& text) {
    return text.toStdString();
}

} // namespace grovex
