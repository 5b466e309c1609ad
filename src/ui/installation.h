#pragma once

// Where the installed program keeps its help and its tune: share/koravin beside the bin folder
// that holds the executable (in the build tree too, where the build copies them).

#include <QString>

namespace koravin {

// The data folder of a program whose executable lies in `executableFolder`.
QString InstallationDirectory(const QString& executableFolder);
// The data folder of this program.
QString InstallationDirectory();

QString HelpDirectory();
QString TuneFile();

}  // namespace koravin
