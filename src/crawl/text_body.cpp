#include "crawl/text_body.h"

namespace lexicrawl {

namespace {

constexpr qsizetype SniffedBytes = 1024;

enum class Declared { Text, Binary, Unknown };

Declared DeclaredKind(const QByteArray& contentType)
{
    const qsizetype semicolon = contentType.indexOf(';');
    const QByteArray type = (semicolon < 0 ? contentType : contentType.first(semicolon)).trimmed().toLower();
    if (type.startsWith("text/") || type.endsWith("+xml") || type.endsWith("/xml") || type.endsWith("+json") ||
        type == "application/json" || type == "application/javascript" || type == "application/ecmascript" ||
        type == "application/x-javascript")
        return Declared::Text;
    for (const char* binary : {"image/", "audio/", "video/", "font/", "model/"}) {
        if (type.startsWith(binary))
            return Declared::Binary;
    }
    return Declared::Unknown;
}

bool HasBinarySignature(const QByteArray& head)
{
    static const QByteArray signatures[] = {
        QByteArrayLiteral("%PDF-"),         QByteArrayLiteral("\x89PNG\r\n\x1A\n"), QByteArrayLiteral("GIF87a"),
        QByteArrayLiteral("GIF89a"),        QByteArrayLiteral("\xFF\xD8\xFF"),      QByteArrayLiteral("PK\x03\x04"),
        QByteArrayLiteral("\x1F\x8B\x08"),  QByteArrayLiteral("Rar!\x1A\x07"),      QByteArrayLiteral("7z\xBC\xAF\x27\x1C"),
        QByteArrayLiteral("\x7F" "ELF"),    QByteArrayLiteral("wOFF"),              QByteArrayLiteral("wOF2"),
        QByteArrayLiteral("OggS"),          QByteArrayLiteral("ID3"),               QByteArrayLiteral("fLaC"),
    };
    for (const QByteArray& signature : signatures) {
        if (head.startsWith(signature))
            return true;
    }
    // RIFF containers: WebP images, WAVE sound, AVI video.
    return head.startsWith("RIFF") && head.size() >= 12;
}

bool IsBinaryDataByte(unsigned char c)
{
    return c <= 0x08 || c == 0x0B || (c >= 0x0E && c <= 0x1A) || (c >= 0x1C && c <= 0x1F);
}

}  // namespace

bool IsTextBody(const QByteArray& body, const QByteArray& contentType)
{
    const Declared declared = DeclaredKind(contentType);
    if (declared != Declared::Unknown)
        return declared == Declared::Text;
    const QByteArray head = body.left(SniffedBytes);
    if (head.startsWith("\xEF\xBB\xBF") || head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF"))
        return true;
    if (HasBinarySignature(head))
        return false;
    for (const char c : head) {
        if (IsBinaryDataByte(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

}  // namespace lexicrawl
