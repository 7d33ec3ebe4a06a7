#pragma once
// Text functions over URLs as the crawl treats them: fixed string rules on the
// text, not a general URL parser, so that scope and resolution decisions are
// predictable character by character.
//
// Thread-safety: all are pure functions and may run on any thread.
#include <QString>

namespace lexicrawl {

// The host: after the first "://" up to the next "/", "?" or "#", without user
// information (up to the last "@") and without ":" and port; a bracketed IPv6
// address loses its brackets. Empty without "://". Case unchanged.
QString HostOf(const QString& url);

// The authority of url as written: after the first "://" up to the next "/",
// "?" or "#", user information and port included. Empty without "://".
QStringView AuthorityOf(const QString& url);

// "http://" or "https://" (matched case-sensitively) + the authority of url,
// so that a site served on a port, or with user information, keeps them in
// every link resolved against its root; otherwise empty.
QString SiteRoot(const QString& url);

// The host that the same-host scope compares: HostOf(url) for an "http://"
// or "https://" URL (matched case-sensitively), otherwise empty. The port
// plays no part.
QString ScopeHost(const QString& url);

// url begins with "http://" or "https://" (in any letter case): an address
// of a web page, the only kind the crawl fetches or the program opens.
bool IsWebAddress(const QString& url);

// url begins with a scheme other than http and https ("mailto:", "file:",
// "smb:", "javascript:"): a letter, then letters, digits, "+", "-" or ".",
// then ":". A name followed by ":" and a port ("localhost:8080/") and a text
// without any scheme ("httpbin.test") have none.
bool HasNonWebScheme(const QString& url);

// url without a leading "http://" or "https://" (either in any letter case).
QString StripScheme(const QString& url);

// The registrable domain of HostOf(url), by the pattern
// ([a-z0-9][a-z0-9\-]{1,63}\.[a-z\.]{2,6})$ matched without regard to case;
// empty when it does not match.
QString DomainOf(const QString& url);

// UTF-16 length of url after removing a leading "http://" or, failing that,
// "https://" (both case-sensitive).
qsizetype UrlLength(const QString& url);

// A link as found, made fit to be requested and stored: tabs and line breaks
// are dropped (as browsers drop them from an address), other control
// characters and bytes the page's character set could not decode (escaped
// bytes) are percent-encoded, so that the link names the address the page
// wrote, byte for byte, and never breaks a line of a list or an export.
QString LinkAddressText(const QString& link);

// text without every run from "<" up to and including the next ">"; an
// unclosed "<" removes the rest.
QString StripTags(const QString& text);

// The extension of a document type the crawl can read that url's path ends
// in (".pdf", ".odt" or ".docx", in that spelling whatever the letter case
// of the URL), before any query or fragment; empty for every other URL.
QString DocumentExtensionOf(const QString& url);

// A value as an HTML form encodes it: ASCII letters, digits and ! $ ' ( ) *
// - . @ _ stay, a space becomes "+", every other character is written as
// the %XX form (upper-case hexadecimal) of each of its UTF-8 bytes.
QString FormEncode(const QString& value);

}  // namespace lexicrawl
