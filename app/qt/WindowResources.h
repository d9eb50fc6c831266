#pragma once
// The program's embedded resources as the Qt windows use them: numbered strings and icons, and
// the conversions between the core's UTF-16 texts and Qt's strings.
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <string>
#include <string_view>

// Registers the embedded icons; safe to call any number of times.
void EnsureWindowResources();

// A numbered string of the string table (empty when unknown).
QString LoadText(int id);
// A fixed UTF-8 text of the string table.
QString Text(std::string_view utf8);
// A numbered icon (a null icon when unknown).
QIcon LoadIcon(int id);
QPixmap LoadIconPixmap(int id, int size);

inline QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline QString ToQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::u16string FromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}
