#include "gui/Caratteri.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>

namespace ondrix {

void caricaCaratteriFinestra()
{
    static bool fatto = false;
    if (fatto || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    fatto = true;
    if (QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")))
        return;
    const QDir dir(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    for (const QString& file : dir.entryList({QStringLiteral("*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(dir.filePath(file));
}

} // namespace ondrix
