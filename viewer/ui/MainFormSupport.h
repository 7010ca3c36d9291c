// What the main window's source files share: field numbers as the boxes
// bind them, and UTF-8 texts of the cores as the windows show them.
#pragma once

#include "FieldNames.h"

#include <QString>

#include <string>
#include <string_view>

namespace kovra {

constexpr int F(Field f) { return static_cast<int>(f); }

inline QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline QString q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string u8(const QString& s) { return s.toUtf8().toStdString(); }

} // namespace kovra
