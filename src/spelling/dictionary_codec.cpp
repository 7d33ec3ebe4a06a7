#include "spelling/dictionary_codec.h"

#include <cerrno>

namespace lexicrawl {

QByteArray IconvCharsetName(const QString& declared)
{
    QByteArray name = declared.trimmed().toLatin1().toUpper();
    if (name.startsWith("MICROSOFT-"))
        name = name.mid(10);
    if (name == "TIS620-2533")
        name = "TIS-620";
    if (name.isEmpty())
        name = "ISO8859-1";
    return name;
}

DictionaryCodec::DictionaryCodec(const QString& encoding)
{
    const QByteArray name = IconvCharsetName(encoding);
    utf8_ = name == "UTF-8" || name == "UTF8";
    if (utf8_)
        return;
    toDict_ = iconv_open(name.constData(), "UTF-8");
    fromDict_ = iconv_open("UTF-8", name.constData());
    if (toDict_ == iconv_t(-1) || fromDict_ == iconv_t(-1)) {
        // An unknown character set: fall back to Latin-1, which maps every
        // byte, so the dictionary still works for plain letters.
        if (toDict_ != iconv_t(-1))
            iconv_close(toDict_);
        if (fromDict_ != iconv_t(-1))
            iconv_close(fromDict_);
        toDict_ = iconv_open("ISO8859-1", "UTF-8");
        fromDict_ = iconv_open("UTF-8", "ISO8859-1");
    }
}

DictionaryCodec::~DictionaryCodec()
{
    if (toDict_ != iconv_t(-1))
        iconv_close(toDict_);
    if (fromDict_ != iconv_t(-1))
        iconv_close(fromDict_);
}

QByteArray DictionaryCodec::Convert(iconv_t cd, const QByteArray& in, bool* ok)
{
    *ok = false;
    if (cd == iconv_t(-1))
        return {};
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    QByteArray out(in.size() * 4 + 16, Qt::Uninitialized);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = size_t(in.size());
    char* dst = out.data();
    size_t dstLeft = size_t(out.size());
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1))
        return {};
    if (iconv(cd, nullptr, nullptr, &dst, &dstLeft) == size_t(-1))
        return {};
    out.resize(qsizetype(out.size() - qsizetype(dstLeft)));
    *ok = true;
    return out;
}

bool DictionaryCodec::Encode(const QString& text, QByteArray& out)
{
    if (utf8_) {
        out = text.toUtf8();
        return true;
    }
    bool ok = false;
    out = Convert(toDict_, text.toUtf8(), &ok);
    return ok;
}

QString DictionaryCodec::Decode(const QByteArray& bytes)
{
    if (utf8_)
        return QString::fromUtf8(bytes);
    bool ok = false;
    const QByteArray utf8 = Convert(fromDict_, bytes, &ok);
    return ok ? QString::fromUtf8(utf8) : QString::fromLatin1(bytes);
}

}  // namespace lexicrawl
