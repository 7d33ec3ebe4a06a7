#include "spelling_test_support.h"

#include <QFile>

#include <zlib.h>

#include <stdexcept>

namespace lexicrawl::test {

RecordingPlatform::RecordingPlatform() { Platform::SetCurrent(this); }
RecordingPlatform::~RecordingPlatform() { Platform::SetCurrent(nullptr); }

void RecordingPlatform::MessageBox(const QString& title, const QString& text, MessageIcon)
{
    messages.append({title, text});
}

void RecordingPlatform::ShowMessage(const QString& text)
{
    messages.append({QString(), text});
}

QStringList RecordingPlatform::Texts() const
{
    QStringList out;
    for (const Message& m : messages)
        out << m.text;
    return out;
}

namespace {

void Put16(QByteArray& b, uint32_t v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

}  // namespace

QByteArray RawDeflate(const QByteArray& data)
{
    z_stream zs {};
    if (deflateInit2(&zs, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    QByteArray out(qsizetype(deflateBound(&zs, uLong(data.size()))), Qt::Uninitialized);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(out.size());
    if (deflate(&zs, Z_FINISH) != Z_STREAM_END)
        throw std::runtime_error("deflate");
    out.resize(qsizetype(zs.total_out));
    deflateEnd(&zs);
    return out;
}

ZipBuilder& ZipBuilder::Add(const QByteArray& name, const QByteArray& content, uint16_t method)
{
    return Add(ZipMember{name, content, method, false});
}

ZipBuilder& ZipBuilder::Add(const ZipMember& member)
{
    members_.append(member);
    return *this;
}

ZipBuilder& ZipBuilder::Comment(const QByteArray& comment)
{
    comment_ = comment;
    return *this;
}

ZipBuilder& ZipBuilder::Prefix(const QByteArray& bytes)
{
    prefix_ = bytes;
    return *this;
}

QByteArray ZipBuilder::Build() const
{
    QByteArray zip;
    QByteArray central;
    for (const ZipMember& m : members_) {
        const QByteArray stored = m.method == 8 ? RawDeflate(m.content) : m.content;
        const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(m.content.constData()),
                                            uInt(m.content.size())));
        const uint32_t offset = uint32_t(zip.size());
        const bool dd = m.dataDescriptor;
        Put32(zip, 0x04034B50);
        Put16(zip, 20);
        Put16(zip, dd ? 8 : 0);
        Put16(zip, m.method);
        Put16(zip, 0x6000);  // 12:00:00
        Put16(zip, (44 << 9) | (3 << 5) | 15);  // 2024-03-15
        Put32(zip, dd ? 0 : crc);
        Put32(zip, dd ? 0 : uint32_t(stored.size()));
        Put32(zip, dd ? 0 : uint32_t(m.content.size()));
        Put16(zip, uint32_t(m.name.size()));
        Put16(zip, 0);
        zip += m.name;
        zip += stored;
        Put32(central, 0x02014B50);
        Put16(central, 20);
        Put16(central, 20);
        Put16(central, dd ? 8 : 0);
        Put16(central, m.method);
        Put16(central, 0x6000);
        Put16(central, (44 << 9) | (3 << 5) | 15);
        Put32(central, crc);
        Put32(central, uint32_t(stored.size()));
        Put32(central, uint32_t(m.content.size()));
        Put16(central, uint32_t(m.name.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0);
        Put32(central, offset);
        central += m.name;
    }
    const uint32_t cdOffset = uint32_t(zip.size());
    zip += central;
    Put32(zip, 0x06054B50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, uint32_t(members_.size()));
    Put16(zip, uint32_t(members_.size()));
    Put32(zip, uint32_t(central.size()));
    Put32(zip, cdOffset);
    Put16(zip, uint32_t(comment_.size()));
    zip += comment_;
    return prefix_ + zip;
}

QString WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
    return path;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

}  // namespace lexicrawl::test

namespace lexicrawl::test {

QByteArray XcuEntry(const QByteArray& format, const QByteArray& locations, const QByteArray& locales)
{
    QByteArray e = "<node oor:name=\"Dic" + format + "\" oor:op=\"fuse\">\n";
    if (!locations.isNull())
        e += "<prop oor:name=\"Locations\" oor:type=\"oor:string-list\"><value>" + locations + "</value></prop>\n";
    if (!format.isNull())
        e += "<prop oor:name=\"Format\" oor:type=\"xs:string\"><value>" + format + "</value></prop>\n";
    if (!locales.isNull())
        e += "<prop oor:name=\"Locales\" oor:type=\"oor:string-list\"><value>" + locales + "</value></prop>\n";
    return e + "</node>\n";
}

QByteArray Xcu(const QList<QByteArray>& entries)
{
    QByteArray x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<oor:component-data xmlns:oor=\"http://openoffice.org/2001/registry\" oor:name=\"Linguistic\">\n"
                   "<node oor:name=\"ServiceManager\"><node oor:name=\"Dictionaries\">\n";
    for (const QByteArray& e : entries)
        x += e;
    return x + "</node></node></oor:component-data>\n";
}

QByteArray Manifest(const QByteArray& fullPath)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<manifest:manifest xmlns:manifest=\"http://openoffice.org/2001/manifest\">\n"
           "<manifest:file-entry manifest:media-type=\"application/vnd.sun.star.configuration-data\" "
           "manifest:full-path=\"" + fullPath + "\"/>\n</manifest:manifest>\n";
}

QByteArray Description(const QByteArray& names, const QByteArray& publisher)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<description>\n"
           "<identifier value=\"org.example.dict\"/>\n<version value=\"2.1\"/>\n"
           "<display-name>" + names + "</display-name>\n"
           "<publisher><name xlink:href=\"http://example.org\" lang=\"en\">" + publisher + "</name></publisher>\n"
           "</description>\n";
}

QByteArray TestDataFile(const char* relative)
{
    return ReadFile(QStringLiteral(LEXICRAWL_TEST_DATA "/") + QLatin1String(relative));
}

QString WriteTinyPackage(const QString& folder, const QString& fileName, const QByteArray& locale,
                         const QByteArray& dictName)
{
    const QByteArray xcu = Xcu({XcuEntry("DICT_SPELL", "%origin%/" + dictName + ".aff %origin%/" + dictName + ".dic", locale)});
    const QByteArray zip = ZipBuilder()
                               .Add("description.xml", Description("<name lang=\"en\">Tiny</name>"))
                               .Add("META-INF/manifest.xml", Manifest("dictionaries.xcu"))
                               .Add("dictionaries.xcu", xcu)
                               .Add(dictName + ".aff", TestDataFile("spelling/tiny.aff"))
                               .Add(dictName + ".dic", TestDataFile("spelling/tiny.dic"))
                               .Build();
    return WriteFile(folder + QLatin1Char('/') + fileName, zip);
}

}  // namespace lexicrawl::test
