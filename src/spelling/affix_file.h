#pragma once
// What the word check needs to know of a Hunspell affix file (.aff): how
// flags are written, the affix rules, the suggestion tables (REP, MAP, KEY,
// TRY) and the options that change which spellings are accepted or
// offered. Lines are read the way the library reads them: the first field
// names the option, fields are separated by blanks and tabs.
//
// Thread-safety: immutable after construction.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace lexicrawl {

using Flags = std::vector<uint16_t>;

// Flags as the FLAG option writes them: one byte each (default), two bytes
// ("long"), comma-separated numbers ("num") or one UTF-8 character each.
class FlagCodec {
public:
    enum class Mode { Char, Long, Num, Utf8 };
    Mode mode = Mode::Char;
    QList<Flags> aliases;  // AF lines; a flag field is then an alias number

    Flags Decode(const QByteArray& field) const;
    // Like Decode, but reads an alias number where AF lines exist.
    Flags DecodeField(const QByteArray& field) const;
    uint16_t DecodeOne(const QByteArray& field) const;
};

struct AffixRule {
    bool prefix = false;
    uint16_t flag = 0;
    bool cross = false;
    QString strip;
    QString add;
    Flags continuation;
    QString condition;
};

struct RepEntry {
    QString pattern;  // without ^ and $; underscores read as spaces
    QString with;
    bool atStart = false;
    bool atEnd = false;
};

class AffixFile {
public:
    explicit AffixFile(const QByteArray& affix);

    // The affix text in the dictionary's character set, split into lines.
    static QList<QByteArray> Lines(const QByteArray& affix);
    // Decodes text of the dictionary's character set.
    QString Text(const QByteArray& bytes) const;
    static QByteArray Keyword(const QByteArray& line);

    QByteArray encoding;  // SET, empty when absent
    FlagCodec flags;
    std::vector<AffixRule> rules;
    std::vector<RepEntry> rep;
    QList<QStringList> map;  // each class: its members in file order
    QString key;             // KEY, or the library's default rows
    QString tryChars;
    QList<QPair<QString, QString>> iconv;
    QList<QPair<QString, QString>> oconv;
    QString ignore;
    QStringList breaks;       // BREAK entries; the library's default when absent
    bool breakTable = false;
    QByteArray lang;
    uint16_t forbidden = 0, noSuggest = 0, needAffix = 0, onlyInCompound = 0, keepCase = 0;
    uint16_t substandard = 0, circumfix = 0, forceUpper = 0, warn = 0, noNgram = 0;
    Flags compoundFlags;      // COMPOUNDFLAG/BEGIN/MIDDLE/END/LAST and rule flags
    bool compounding = false;
    bool compoundPartsRewritten = false;  // SIMPLIFIEDTRIPLE, patterns with a replacement
    int compoundMin = 3;                   // COMPOUNDMIN: the shortest part
    bool complexPrefixes = false;
    bool checkSharps = false;
    bool forbidWarn = false;
    bool noSplitSuggestions = false;
    int maxNgramSuggestions = -1;
    int maxCompoundSuggestions = -1;
    bool phoneTable = false;
    bool readable = true;     // false when a line could not be read as the library would

private:
    void ReadLine(const QList<QByteArray>& f);
    void ReadRule(const QList<QByteArray>& f);
    void ReadTables(const QList<QByteArray>& f);
    Flags RuleFlags(const QByteArray& rule) const;
    QSet<QByteArray> crossable_;
    QHash<QByteArray, int> blockLeft_;
    QHash<QByteArray, int> tableLeft_;
};

// The library's default keyboard rows for KEY.
inline const QString kDefaultKeyRows = QStringLiteral("qwertyuiop|asdfghjkl|zxcvbnm");

}  // namespace lexicrawl
