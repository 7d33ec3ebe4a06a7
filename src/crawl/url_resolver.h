#pragma once
// Resolution of a link as found against the page it was found on: string
// rules on the text (leading "/", ".", "..", "./", absolute http and https,
// everything else relative to the source's directory), not a URL parser.
//
// Thread-safety: pure functions; any thread.
#include <QString>

namespace lexicrawl {

// A protocol-relative link ("//host/...", longer than 2) gets "https://" when
// source begins with "https:" (case-sensitive), else "http://". Any other
// link is returned unchanged.
QString ApplyProtocolRelative(const QString& link, const QString& source);

// Resolves the leading ".." segments of link against base, never climbing
// above SiteRoot(base).
QString ResolveParentPath(const QString& link, const QString& base);

// Makes link absolute against source by the first rule that applies: "/",
// ".", "..", "../../", "../", "./", "http://", "https://", then relative to
// the directory of an http or https source; otherwise unchanged.
QString ResolveAgainstSource(const QString& link, const QString& source);

// Resolves a reference as HTTP resolves a redirect's Location against the URL
// that answered (RFC 3986, section 5.2): an absolute reference stays as it
// is; "//host/..." takes base's scheme; "/path" base's scheme and authority;
// "?query" and "#fragment" base's path; anything else is merged with base's
// directory, and "." and ".." segments of the path are removed. Only the
// path is touched: no character is decoded or encoded.
QString ResolveReference(const QString& base, const QString& reference);

}  // namespace lexicrawl
