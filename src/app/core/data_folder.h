#pragma once
#include <QString>

namespace lexicrawl {

// Decides the folder for settings.ini and the working files: the program's
// own folder when a probe file "chk.tmp" can be created there, else
// roamingFolder + "NORVANE/Lexicrawl/", created if missing (a failure to
// create it is not reported). Both folders are given with or without a
// trailing slash; the answer has one.
QString DecideDataFolder(const QString& programFolder, const QString& roamingFolder);
// roamingFolder + "NORVANE/Lexicrawl/", created if missing: the data folder
// of an installed program, which never writes beside its shared files.
QString PerUserDataFolder(const QString& roamingFolder);

}  // namespace lexicrawl
