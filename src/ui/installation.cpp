#include "ui/installation.h"

#include <QCoreApplication>
#include <QDir>

namespace koravin {

QString InstallationDirectory(const QString& executableFolder) {
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/koravin"));
}

QString InstallationDirectory() { return InstallationDirectory(QCoreApplication::applicationDirPath()); }

QString HelpDirectory() { return InstallationDirectory() + QStringLiteral("/help"); }

QString TuneFile() { return InstallationDirectory() + QStringLiteral("/music/END.MID"); }

}  // namespace koravin
