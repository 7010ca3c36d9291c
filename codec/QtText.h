// The cores' UTF-8 texts as Qt strings and back: the one conversion of the
// windows, the print engine's windows and the settings store.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace kovra {

inline QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

inline std::string u8(const QString& s)
{
    const QByteArray bytes = s.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace kovra
