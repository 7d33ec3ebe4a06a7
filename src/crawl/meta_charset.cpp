#include "crawl/meta_charset.h"

#include <QList>

#include <vector>

namespace lexicrawl {

namespace {

struct Attribute {
    QByteArray Name;  // lower case
    QByteArray Value;
};

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

qsizetype SkipSpaces(const QByteArray& s, qsizetype pos)
{
    while (pos < s.size() && IsSpace(s[pos]))
        ++pos;
    return pos;
}

// Reads one attribute value at pos, quoted or bare; pos moves past it.
QByteArray ReadValue(const QByteArray& s, qsizetype& pos)
{
    const qsizetype n = s.size();
    if (pos < n && (s[pos] == '"' || s[pos] == '\'')) {
        const char quote = s[pos];
        qsizetype end = s.indexOf(quote, pos + 1);
        if (end < 0)
            end = n;
        QByteArray value = s.mid(pos + 1, end - pos - 1);
        pos = end < n ? end + 1 : n;
        return value;
    }
    const qsizetype start = pos;
    while (pos < n && !IsSpace(s[pos]) && s[pos] != '>')
        ++pos;
    return s.mid(start, pos - start);
}

// Reads the attributes of a tag from pos (just after its name) up to its
// closing '>', quotes respected; returns the position after the tag.
qsizetype ReadAttributes(const QByteArray& s, qsizetype pos, std::vector<Attribute>* out)
{
    const qsizetype n = s.size();
    for (;;) {
        while (pos < n && (IsSpace(s[pos]) || s[pos] == '/'))
            ++pos;
        if (pos >= n)
            return n;
        if (s[pos] == '>')
            return pos + 1;
        const qsizetype start = pos;
        while (pos < n && !IsSpace(s[pos]) && s[pos] != '=' && s[pos] != '>' && s[pos] != '/')
            ++pos;
        Attribute attribute{s.mid(start, pos - start).toLower(), {}};
        pos = SkipSpaces(s, pos);
        if (pos < n && s[pos] == '=') {
            pos = SkipSpaces(s, pos + 1);
            attribute.Value = ReadValue(s, pos);
        }
        if (out)
            out->push_back(std::move(attribute));
    }
}

// The charset named in the content attribute of an http-equiv META.
QByteArray CharsetInContent(const QByteArray& content)
{
    const QByteArray lower = content.toLower();
    qsizetype pos = 0;
    for (;;) {
        const qsizetype at = lower.indexOf("charset", pos);
        if (at < 0)
            return {};
        pos = SkipSpaces(content, at + 7);
        if (pos >= content.size() || content[pos] != '=')
            continue;
        pos = SkipSpaces(content, pos + 1);
        if (pos < content.size() && (content[pos] == '"' || content[pos] == '\''))
            return ReadValue(content, pos);
        const qsizetype start = pos;
        while (pos < content.size() && !IsSpace(content[pos]) && content[pos] != ';')
            ++pos;
        return content.mid(start, pos - start);
    }
}

QByteArray CharsetOfMeta(const std::vector<Attribute>& attributes)
{
    const Attribute* charset = nullptr;
    const Attribute* httpEquiv = nullptr;
    const Attribute* content = nullptr;
    for (const Attribute& a : attributes) {
        if (a.Name == "charset" && !charset)
            charset = &a;
        else if (a.Name == "http-equiv" && !httpEquiv)
            httpEquiv = &a;
        else if (a.Name == "content" && !content)
            content = &a;
    }
    if (charset && !charset->Value.trimmed().isEmpty())
        return charset->Value.trimmed();
    if (httpEquiv && content && httpEquiv->Value.trimmed().toLower() == "content-type")
        return CharsetInContent(content->Value).trimmed();
    return {};
}

bool IsMetaTag(const QByteArray& s, qsizetype lt)
{
    return lt + 5 < s.size() && s.mid(lt + 1, 4).toLower() == "meta" && (IsSpace(s[lt + 5]) || s[lt + 5] == '/');
}

bool IsOtherTag(const QByteArray& s, qsizetype lt)
{
    const qsizetype n = s.size();
    return lt + 1 < n && (IsAsciiLetter(s[lt + 1]) || (s[lt + 1] == '/' && lt + 2 < n && IsAsciiLetter(s[lt + 2])));
}

}  // namespace

QByteArray MetaCharset(const QByteArray& head)
{
    const qsizetype n = head.size();
    qsizetype pos = 0;
    while (pos < n) {
        const qsizetype lt = head.indexOf('<', pos);
        if (lt < 0)
            break;
        if (head.mid(lt, 4) == "<!--") {
            const qsizetype end = head.indexOf("-->", lt + 2);
            pos = end < 0 ? n : end + 3;
        } else if (IsMetaTag(head, lt)) {
            std::vector<Attribute> attributes;
            pos = ReadAttributes(head, lt + 5, &attributes);
            const QByteArray charset = CharsetOfMeta(attributes);
            if (!charset.isEmpty())
                return charset;
        } else if (IsOtherTag(head, lt)) {
            qsizetype p = lt + 2;
            while (p < n && !IsSpace(head[p]) && head[p] != '>')
                ++p;
            pos = ReadAttributes(head, p, nullptr);
        } else if (lt + 1 < n && (head[lt + 1] == '!' || head[lt + 1] == '/' || head[lt + 1] == '?')) {
            const qsizetype gt = head.indexOf('>', lt + 1);
            pos = gt < 0 ? n : gt + 1;
        } else {
            pos = lt + 1;
        }
    }
    return {};
}

QByteArray XmlDeclaredEncoding(const QByteArray& head)
{
    if (!head.startsWith("<?xml") || head.size() < 6 || !IsSpace(head[5]))
        return {};
    const qsizetype end = head.indexOf("?>");
    if (end < 0)
        return {};
    std::vector<Attribute> attributes;
    ReadAttributes(head.left(end), 5, &attributes);
    for (const Attribute& a : attributes) {
        if (a.Name == "encoding")
            return a.Value.trimmed();
    }
    return {};
}

QByteArray CharsetParameter(const QByteArray& contentType)
{
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype eq = parts[i].indexOf('=');
        if (eq < 0 || parts[i].left(eq).trimmed().toLower() != "charset")
            continue;
        QByteArray value = parts[i].mid(eq + 1).trimmed();
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.mid(1, value.size() - 2).trimmed();
        return value;
    }
    return {};
}

}  // namespace lexicrawl
