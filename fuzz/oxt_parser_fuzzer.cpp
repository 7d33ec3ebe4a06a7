// Feeds arbitrary bytes to the XML reader and walks everything it builds.
#include <cstddef>
#include <cstdint>

#include "spelling/oxt_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray source(reinterpret_cast<const char*>(data), qsizetype(size));
    lexicrawl::OxtParser parser(source);
    int visited = 0;
    for (lexicrawl::OxtNode* n = parser.GetFirst(); n && visited < 100000; n = parser.GetNext(n), ++visited) {
        n->Attrib(QStringLiteral("oor:name"));
        n->Value();
        n->ParentName();
    }
    QList<lexicrawl::OxtNode*> values;
    parser.Root()->NodesByName(QStringLiteral("value"), values);
    parser.Root()->NodeByName(QStringLiteral("manifest:file-entry"));
    if (size < 4096)
        parser.AsText();
    return 0;
}
