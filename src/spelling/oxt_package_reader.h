#pragma once
// Reads a dictionary extension package: its description, its manifest, and
// the configuration file the manifest names, whose spelling and hyphenation
// entries become dictionaries registered with a DictionaryManager. Only these
// small documents are decompressed; the dictionary files are read at load.
//
// Thread-safety: none; runs on the main thread.
#include <QByteArray>
#include <QString>

namespace lexicrawl {

class DictionaryManager;
class OxtParser;

class OxtPackageReader {
public:
    // True when at least one spelling or hyphenation entry with locations
    // was found, whether or not its dictionary was new.
    // A package one of whose documents holds more than the parser reads is
    // left out, with a message that names it.
    static bool Read(DictionaryManager& manager, const QString& fileName);

    // Version, identifier, display name and publisher of a description
    // document. flag true prefers the last name whose lang is not "en".
    static void ReadDescription(const QByteArray& source, QString& version, QString& identifier,
                                QString& displayName, QString& publisher, bool flag);
    static void ReadDescription(const OxtParser& doc, QString& version, QString& identifier, QString& displayName,
                                QString& publisher, bool flag);
};

}  // namespace lexicrawl
