#pragma once
// What the About window tells: the program's version, the libraries it is
// built on with their versions and licences, and where its files are.
#include <QString>

#include <vector>

namespace lexicrawl {

struct LibraryInfo {
    QString name;
    QString version;
    QString licence;
};

std::vector<LibraryInfo> LibrariesInUse();

}  // namespace lexicrawl
