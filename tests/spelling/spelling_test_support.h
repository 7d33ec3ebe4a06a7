#pragma once
// Helpers for the spelling tests: a platform that records its messages, and
// a small ZIP writer so that every archive a test reads is built in the test.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <utility>

#include "platform/headless_platform.h"

namespace lexicrawl::test {

struct Message {
    QString title;
    QString text;
};

// Keeps every message box instead of printing it; installed for its lifetime.
class RecordingPlatform : public HeadlessPlatform {
public:
    RecordingPlatform();
    ~RecordingPlatform() override;
    void MessageBox(const QString& title, const QString& text, MessageIcon icon) override;
    void ShowMessage(const QString& text) override;
    QList<Message> messages;
    QStringList Texts() const;
};

struct ZipMember {
    QByteArray name;
    QByteArray content;
    uint16_t method = 8;  // 0 stored, 8 deflated, anything else is written stored
    bool dataDescriptor = false;  // sizes and CRC zero in the local header
};

// Writes a ZIP archive: local headers, central directory, end record.
class ZipBuilder {
public:
    ZipBuilder& Add(const QByteArray& name, const QByteArray& content, uint16_t method = 8);
    ZipBuilder& Add(const ZipMember& member);
    ZipBuilder& Comment(const QByteArray& comment);
    ZipBuilder& Prefix(const QByteArray& bytes);
    QByteArray Build() const;

private:
    QList<ZipMember> members_;
    QByteArray comment_;
    QByteArray prefix_;
};

QByteArray RawDeflate(const QByteArray& data);
// Writes bytes to path; returns path.
QString WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

}  // namespace lexicrawl::test

// Readable QString values in failure messages.
#include <ostream>
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace lexicrawl::test {

// Pieces of a dictionary package's documents.
QByteArray XcuEntry(const QByteArray& format, const QByteArray& locations, const QByteArray& locales);
QByteArray Xcu(const QList<QByteArray>& entries);
QByteArray Manifest(const QByteArray& fullPath);
QByteArray Description(const QByteArray& names, const QByteArray& publisher = "Pub");
// A package with the tiny fixture dictionary as en_US.aff/en_US.dic (or under
// another locale), built as an .oxt in folder; returns its path.
QString WriteTinyPackage(const QString& folder, const QString& fileName, const QByteArray& locale,
                         const QByteArray& dictName = "en_US");
QByteArray TestDataFile(const char* relative);

}  // namespace lexicrawl::test
