#include "spelling/dic_entries.h"

namespace lexicrawl {

QList<DicEntry> DicEntries(const QByteArray& words)
{
    QList<DicEntry> entries;
    const QList<QByteArray> lines = words.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        const qsizetype tab = line.indexOf('\t');
        if (tab >= 0)
            line.truncate(tab);
        const qsizetype slash = line.indexOf('/');
        DicEntry e{(slash < 0 ? line : line.left(slash)).trimmed(),
                   slash < 0 ? QByteArray() : line.mid(slash + 1).trimmed()};
        if (!e.root.isEmpty())
            entries.append(std::move(e));
    }
    return entries;
}

}  // namespace lexicrawl
