#include "analysis/unknown_word_list.h"

#include "store/project_database.h"

namespace lexicrawl {

QString NotCheckedYetCaption()
{
    return QStringLiteral("<Not Checked Yet>");
}

QString UnknownWordListQuery()
{
    return QStringLiteral("SELECT WORD, COUNT(*) AS HOWMANY FROM MISSPELLED group by WORD order by HOWMANY DESC;");
}

bool LoadUnknownWords(ProjectDatabase& database, std::vector<UnknownWordRow>& rows, QString* error)
{
    rows.clear();
    try {
        database.Query(UnknownWordListQuery(), [&rows](const Row& row) {
            const QString word = row.At(0);
            rows.push_back({word.isNull() ? NotCheckedYetCaption() : word, row.At(1)});
        });
        return true;
    } catch (const DatabaseError& e) {
        rows.clear();
        if (error)
            *error = e.Text();
        return false;
    }
}

}  // namespace lexicrawl
