#pragma once
// What the word check needs to know of a Hunspell affix file (.aff): how
// flags are written, the affix rules, the suggestion tables (REP, MAP, KEY,
// TRY) and the options that change which spellings are accepted or
// offered. Lines are read the way the library reads them: the first field
// names the option, fields are separated by blanks and tabs.
//
// Thread-safety: immutable after construction; Text of a dictionary that
// is not UTF-8 from one thread at a time.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace lexicrawl {

class DictionaryCodec;

using Flags = std::vector<uint16_t>;

// Flags as the FLAG option writes them: one byte each (default), two bytes
// ("long"), comma-separated numbers ("num") or one UTF-8 character each,
// decoded the way the library decodes them.
class FlagCodec {
public:
    enum class Mode { Char, Long, Num, Utf8 };
    Mode mode = Mode::Char;
    QList<Flags> aliases;  // AF lines; a flag field is then an alias number

    // A list of flags, in the order written. A long field of odd length
    // loses its last byte; a number that is not one, or 0, is no flag.
    Flags Decode(const QByteArray& field) const;
    // Like Decode, but reads an alias number where AF lines exist (a field
    // that does not start with a number in range has no flags).
    Flags DecodeField(const QByteArray& field) const;
    // The one flag of an option or rule header: its first character, two
    // bytes (a lone byte being the high one), or number; 0 for none.
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

// The one model of an affix file: the word check's proof reads it as it is,
// the suggestion engine through its index by flag (affix_rules.h).
class AffixFile {
public:
    explicit AffixFile(const QByteArray& affix);
    ~AffixFile();
    AffixFile(const AffixFile&) = delete;
    AffixFile& operator=(const AffixFile&) = delete;

    // The affix text in the dictionary's character set, split into lines.
    static QList<QByteArray> Lines(const QByteArray& affix);
    // Decodes text of the dictionary's character set (ISO8859-1 without a
    // SET line, as the library reads it). Not for two threads at once.
    QString Text(const QByteArray& bytes) const;
    bool Utf8() const { return utf8_; }
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
    int maxDiff = -1;
    bool onlyMaxDiff = false;
    bool fullStrip = false;
    bool phoneTable = false;
    bool readable = true;     // false when a line could not be read as the library would

private:
    void ReadFlagSettings(const QList<QByteArray>& lines);
    void ReadLine(const QList<QByteArray>& f);
    void ReadRule(const QList<QByteArray>& f);
    void ReadTables(const QList<QByteArray>& f);
    Flags RuleFlags(const QByteArray& rule) const;
    QSet<QByteArray> crossable_;
    QHash<QByteArray, int> blockLeft_;
    QHash<QByteArray, int> tableLeft_;
    bool utf8_ = false;
    std::unique_ptr<DictionaryCodec> codec_;  // null for UTF-8
};

// The library's default keyboard rows for KEY.
inline const QString kDefaultKeyRows = QStringLiteral("qwertyuiop|asdfghjkl|zxcvbnm");

}  // namespace lexicrawl
