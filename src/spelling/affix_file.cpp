#include "spelling/affix_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "spelling/dictionary_codec.h"

namespace lexicrawl {

namespace {

QList<QByteArray> Fields(const QByteArray& line)
{
    QList<QByteArray> out;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const qsizetype start = i;
        while (i < n && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            out.append(line.mid(start, i - start));
    }
    return out;
}

QString Unescaped(QString s)
{
    return s.replace(QLatin1Char('_'), QLatin1Char(' '));
}

// A number as the library reads one: leading digits, anything after them
// ignored, 0 when there are none.
int LeadingNumber(const QByteArray& text)
{
    return std::atoi(text.constData());
}

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

// A line that starts with the keyword and a blank, as the library matches
// the FLAG line.
bool StartsWithKeyword(const QByteArray& line, const char* keyword)
{
    const qsizetype n = qsizetype(std::strlen(keyword));
    return line.size() > n && line.startsWith(keyword) && Blank(line[n]);
}

}  // namespace

Flags FlagCodec::Decode(const QByteArray& field) const
{
    Flags out;
    switch (mode) {
    case Mode::Char:
        for (char c : field)
            out.push_back(uint16_t(uchar(c)));
        break;
    case Mode::Long:
        for (qsizetype i = 0; i + 1 < field.size(); i += 2)
            out.push_back(uint16_t((uchar(field[i]) << 8) | uchar(field[i + 1])));
        break;
    case Mode::Num:
        for (const QByteArray& part : field.split(',')) {
            if (const int n = LeadingNumber(part); n > 0 && n < 65536)
                out.push_back(uint16_t(n));
        }
        break;
    case Mode::Utf8:
        for (QChar c : QString::fromUtf8(field))
            out.push_back(c.unicode());
        break;
    }
    return out;
}

Flags FlagCodec::DecodeField(const QByteArray& field) const
{
    if (aliases.isEmpty())
        return Decode(field);
    const int index = LeadingNumber(field);
    return index >= 1 && index <= aliases.size() ? aliases[index - 1] : Flags{};
}

uint16_t FlagCodec::DecodeOne(const QByteArray& field) const
{
    if (field.isEmpty())
        return 0;
    switch (mode) {
    case Mode::Char:
        return uint16_t(uchar(field[0]));
    case Mode::Long:
        return uint16_t((uchar(field[0]) << 8) | (field.size() > 1 ? uchar(field[1]) : 0));
    case Mode::Num:
        return uint16_t(LeadingNumber(field));
    case Mode::Utf8: {
        const QString text = QString::fromUtf8(field);
        return text.isEmpty() ? 0 : text[0].unicode();
    }
    }
    return 0;
}

QList<QByteArray> AffixFile::Lines(const QByteArray& affix)
{
    QList<QByteArray> lines = affix.split('\n');
    for (QByteArray& l : lines) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    if (!lines.isEmpty() && lines[0].startsWith("\xEF\xBB\xBF"))
        lines[0].remove(0, 3);
    return lines;
}

QByteArray AffixFile::Keyword(const QByteArray& line)
{
    const QList<QByteArray> f = Fields(line);
    return f.isEmpty() ? QByteArray() : f[0];
}

QString AffixFile::Text(const QByteArray& bytes) const
{
    return codec_ ? codec_->Decode(bytes) : QString::fromUtf8(bytes);
}

AffixFile::~AffixFile() = default;

AffixFile::AffixFile(const QByteArray& affix)
{
    const QList<QByteArray> lines = Lines(affix);
    // SET decides how every other line is read.
    for (const QByteArray& line : lines) {
        const QList<QByteArray> f = Fields(line);
        if (f.size() > 1 && f[0] == "SET")
            encoding = f[1];
    }
    const QString charset = encoding.isEmpty() ? QStringLiteral("ISO8859-1") : QString::fromLatin1(encoding);
    utf8_ = IconvCharsetName(charset) == "UTF-8";
    if (!utf8_)
        codec_ = std::make_unique<DictionaryCodec>(charset);
    ReadFlagSettings(lines);
    for (const QByteArray& line : lines) {
        const QList<QByteArray> f = Fields(line);
        if (!f.isEmpty() && !f[0].startsWith('#'))
            ReadLine(f);
    }
    if (key.isEmpty())
        key = kDefaultKeyRows;
    if (!breakTable)
        breaks = {QStringLiteral("-"), QStringLiteral("^-"), QStringLiteral("-$")};
}

// FLAG and AF are read as the library reads them: in order, so that an
// alias list is decoded with the flag type given above it (the rules and
// options, read after, with the last one); FLAG at the start of its line,
// its type found anywhere on the line ("long", "num", "UTF-8", case
// counting; the last of those three wins).
void AffixFile::ReadFlagSettings(const QList<QByteArray>& lines)
{
    int aliasesLeft = 0;
    for (const QByteArray& line : lines) {
        if (StartsWithKeyword(line, "FLAG")) {
            if (line.contains("long"))
                flags.mode = FlagCodec::Mode::Long;
            if (line.contains("num"))
                flags.mode = FlagCodec::Mode::Num;
            if (line.contains("UTF-8"))
                flags.mode = FlagCodec::Mode::Utf8;
        }
        const QList<QByteArray> f = Fields(line);
        if (f.size() < 2 || f[0] != "AF")
            continue;
        if (aliasesLeft <= 0)
            aliasesLeft = f[1].toInt();  // "AF n" heads the list
        else if (aliasesLeft--)
            flags.aliases.append(flags.Decode(f[1]));
    }
}

void AffixFile::ReadLine(const QList<QByteArray>& f)
{
    const QByteArray& k = f[0];
    const QByteArray value = f.size() > 1 ? f[1] : QByteArray();
    struct FlagOption { const char* name; uint16_t AffixFile::*field; };
    static const FlagOption kFlagOptions[] = {
        {"FORBIDDENWORD", &AffixFile::forbidden}, {"NOSUGGEST", &AffixFile::noSuggest},
        {"NEEDAFFIX", &AffixFile::needAffix}, {"PSEUDOROOT", &AffixFile::needAffix},
        {"ONLYINCOMPOUND", &AffixFile::onlyInCompound}, {"KEEPCASE", &AffixFile::keepCase},
        {"SUBSTANDARD", &AffixFile::substandard}, {"CIRCUMFIX", &AffixFile::circumfix},
        {"FORCEUCASE", &AffixFile::forceUpper}, {"WARN", &AffixFile::warn},
        {"NONGRAMSUGGEST", &AffixFile::noNgram},
    };
    for (const FlagOption& o : kFlagOptions) {
        if (k == o.name && !value.isEmpty())
            this->*o.field = flags.DecodeOne(value);
    }
    if ((k == "COMPOUNDFLAG" || k == "COMPOUNDBEGIN" || k == "COMPOUNDMIDDLE" || k == "COMPOUNDEND"
         || k == "COMPOUNDLAST") && !value.isEmpty()) {
        compoundFlags.push_back(flags.DecodeOne(value));
        compounding = compounding || k == "COMPOUNDFLAG" || k == "COMPOUNDBEGIN";
    } else if (k == "COMPOUNDRULE" && !value.isEmpty() && value.toInt() == 0) {
        compounding = true;
        for (uint16_t flag : RuleFlags(value))
            compoundFlags.push_back(flag);
    } else if (k == "COMPOUNDMIN" && !value.isEmpty()) {
        compoundMin = std::max(1, value.toInt());
    } else if (k == "SIMPLIFIEDTRIPLE" || (k == "CHECKCOMPOUNDPATTERN" && f.size() > 3)) {
        compoundPartsRewritten = true;
    } else if (k == "COMPLEXPREFIXES") {
        complexPrefixes = true;
    } else if (k == "CHECKSHARPS") {
        checkSharps = true;
    } else if (k == "FORBIDWARN") {
        forbidWarn = true;
    } else if (k == "NOSPLITSUGS") {
        noSplitSuggestions = true;
    } else if (k == "MAXNGRAMSUGS" && !value.isEmpty()) {
        maxNgramSuggestions = value.toInt();
    } else if (k == "MAXCPDSUGS" && !value.isEmpty()) {
        maxCompoundSuggestions = value.toInt();
    } else if (k == "MAXDIFF" && !value.isEmpty()) {
        maxDiff = value.toInt();
    } else if (k == "ONLYMAXDIFF") {
        onlyMaxDiff = true;
    } else if (k == "FULLSTRIP") {
        fullStrip = true;
    } else if (k == "LANG") {
        lang = value;
    } else if (k == "PFX" || k == "SFX") {
        ReadRule(f);
    } else {
        ReadTables(f);
    }
}

void AffixFile::ReadTables(const QList<QByteArray>& f)
{
    const QByteArray& k = f[0];
    const QString a = f.size() > 1 ? Text(f[1]) : QString();
    const QString b = f.size() > 2 ? Text(f[2]) : QString();
    // "REP 28", "MAP 5", "BREAK 0": the first line of a table gives its size.
    static const QSet<QByteArray> kTables = {"REP", "MAP", "BREAK", "ICONV", "OCONV"};
    bool header = false;
    if (kTables.contains(k)) {
        int& left = tableLeft_[k];
        header = left <= 0;
        if (header)
            left = f.size() > 1 ? f[1].toInt() : 0;
        else
            --left;
    }
    if (k == "KEY") {
        key = a;
    } else if (k == "TRY") {
        tryChars = a;
    } else if (k == "IGNORE") {
        ignore = a;
    } else if (k == "PHONE") {
        phoneTable = true;
    } else if (header) {
        breakTable = breakTable || k == "BREAK";
    } else if (k == "BREAK" && f.size() > 1) {
        breaks.append(a);
    } else if (k == "REP" && f.size() > 2) {
        RepEntry e{Unescaped(a), Unescaped(b), a.startsWith(QLatin1Char('^')), false};
        if (e.atStart)
            e.pattern.remove(0, 1);
        e.atEnd = e.pattern.endsWith(QLatin1Char('$'));
        if (e.atEnd)
            e.pattern.chop(1);
        rep.push_back(e);
    } else if (k == "MAP" && f.size() > 1) {
        QStringList members;
        for (qsizetype i = 0; i < a.size(); ++i) {
            const qsizetype close = a[i] == QLatin1Char('(') ? a.indexOf(QLatin1Char(')'), i) : -1;
            const qsizetype len = close > i ? close - i - 1 : (a[i].isHighSurrogate() ? 2 : 1);
            members << a.mid(close > i ? i + 1 : i, len);
            i = close > i ? close : i + len - 1;
        }
        map.append(members);
    } else if ((k == "ICONV" || k == "OCONV") && f.size() > 2) {
        (k == "ICONV" ? iconv : oconv).append({a, b});
    }
}

// Flags of a compound rule: single characters, or in parentheses where a
// flag takes more than one byte ("(aa)(bb)*").
Flags AffixFile::RuleFlags(const QByteArray& rule) const
{
    if (flags.mode == FlagCodec::Mode::Char || flags.mode == FlagCodec::Mode::Utf8) {
        QByteArray plain = rule;
        for (char c : {'(', ')', '*', '?'})
            plain.replace(c, "");
        return flags.Decode(plain);
    }
    Flags out;
    for (qsizetype open = rule.indexOf('('); open >= 0; open = rule.indexOf('(', open + 1)) {
        const qsizetype close = rule.indexOf(')', open);
        if (close > open)
            out.push_back(flags.DecodeOne(rule.mid(open + 1, close - open - 1)));
    }
    return out;
}

void AffixFile::ReadRule(const QList<QByteArray>& f)
{
    if (f.size() < 4)
        return;
    const QByteArray flagKey = f[0] + ' ' + f[1];
    // "SFX f Y 12" opens a block of 12 rules and gives its cross-product mark.
    int& left = blockLeft_[flagKey];
    if (left <= 0) {
        left = f[3].toInt();
        if (f[2] == "Y")
            crossable_.insert(flagKey);
        return;
    }
    --left;
    AffixRule r;
    r.prefix = f[0] == "PFX";
    r.flag = flags.DecodeOne(f[1]);
    r.cross = crossable_.contains(flagKey);
    r.strip = f[2] == "0" ? QString() : Text(f[2]);
    QByteArray add = f[3];
    const qsizetype slash = add.indexOf('/');
    if (slash >= 0) {
        r.continuation = flags.DecodeField(add.mid(slash + 1));
        add.truncate(slash);
    }
    r.add = add == "0" ? QString() : Text(add);
    r.condition = f.size() > 4 ? Text(f[4]) : QStringLiteral(".");
    rules.push_back(r);
}

}  // namespace lexicrawl
