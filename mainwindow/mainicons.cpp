#include "mainicons.h"

QIcon themedIcon(const QString &name) {
    return QIcon::fromTheme(name, QIcon(QStringLiteral(":/icons/%1.svg").arg(name)));
}
