#pragma once
// Converts words between the program's UTF-16 text and the character set a
// dictionary declares (its SET line), through iconv. UTF-8 dictionaries take
// a direct path.
//
// Thread-safety: none; an iconv descriptor keeps state, so each engine
// instance owns its codec.
#include <QByteArray>
#include <QString>

#include <iconv.h>

namespace lexicrawl {

class DictionaryCodec {
public:
    explicit DictionaryCodec(const QString& encoding);
    ~DictionaryCodec();
    DictionaryCodec(const DictionaryCodec&) = delete;
    DictionaryCodec& operator=(const DictionaryCodec&) = delete;

    // False when the word cannot be written in the dictionary's character
    // set (such a word cannot be in the dictionary).
    bool Encode(const QString& text, QByteArray& out);
    QString Decode(const QByteArray& bytes);

private:
    static QByteArray Convert(iconv_t cd, const QByteArray& in, bool* ok);

    bool utf8_ = true;
    iconv_t toDict_ = iconv_t(-1);
    iconv_t fromDict_ = iconv_t(-1);
};

// The iconv name of a character set as dictionaries write it
// ("microsoft-cp1251" -> "CP1251", "ISCII-DEVANAGARI" -> "ISCII-DEV").
QByteArray IconvCharsetName(const QString& declared);

}  // namespace lexicrawl
