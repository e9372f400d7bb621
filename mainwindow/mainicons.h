#pragma once

#include <QIcon>
#include <QString>

// The desktop theme's icon of this name, or our own drawing of it where the
// theme has none.
QIcon themedIcon(const QString &name);
