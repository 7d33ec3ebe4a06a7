#include "analysis/unknown_word_list.h"

#include <QHash>

#include "platform/text.h"
#include "store/project_database.h"

namespace lexicrawl {

namespace {

// One pass over the rows instead of one query per word: MISSPELLED has no
// index on WORD, so per-word queries would cost a full scan each.
void LoadPages(ProjectDatabase& database, std::vector<UnknownWord>& words)
{
    QHash<QString, size_t> index;  // caption -> position
    for (size_t i = 0; i < words.size(); ++i)
        index.insert(words[i].word, i);
    database.Query(QStringLiteral("SELECT WORD, URL FROM MISSPELLED;"), [&](const Row& row) {
        const QString word = row.At(0).isNull() ? NotCheckedYetCaption() : row.At(0);
        const auto it = index.constFind(word);
        if (it != index.cend() && !TrimCtl(row.At(1)).isEmpty())
            words[*it].pages << row.At(1);
    });
}

}  // namespace

QString NotCheckedYetCaption()
{
    return QStringLiteral("<Not Checked Yet>");
}

QString UnknownWordListQuery()
{
    return QStringLiteral("SELECT WORD, COUNT(*) AS HOWMANY FROM MISSPELLED group by WORD order by HOWMANY DESC;");
}

bool LoadUnknownWords(ProjectDatabase& database, std::vector<UnknownWord>& words, QString* error, bool withPages)
{
    words.clear();
    try {
        database.Query(UnknownWordListQuery(), [&words](const Row& row) {
            const QString word = row.At(0);
            words.push_back({word.isNull() ? NotCheckedYetCaption() : word, row.At(1).toLongLong(), {}});
        });
        if (withPages)
            LoadPages(database, words);
        return true;
    } catch (const DatabaseError& e) {
        words.clear();
        if (error)
            *error = e.Text();
        return false;
    }
}

}  // namespace lexicrawl
