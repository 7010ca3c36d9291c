// The small icons of the menus, the toolbar and the about box.
#pragma once

#include <QIcon>

namespace kovra {

enum class IconKind { Program, Open, SaveStripped, Html, Preview, Print, List };

QIcon KovraIcon(IconKind kind);

} // namespace kovra
