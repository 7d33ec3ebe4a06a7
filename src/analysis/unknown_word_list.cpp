#include "analysis/unknown_word_list.h"

#include <QHash>
#include <QMutexLocker>
#include <QPair>

#include <algorithm>
#include <optional>

#include "analysis/text_mode_record.h"
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

// The key under which prose forms that differ only in case meet; a NULL
// word keeps a key of its own.
QString CaseKey(const QString& caption)
{
    return caption == NotCheckedYetCaption() ? QString() : caption.toCaseFolded();
}

QString CaptionOf(const Row& row)
{
    return row.At(0).isNull() ? NotCheckedYetCaption() : row.At(0);
}

// Prose words are stored as written, so one word may stand in several forms
// ("Javascript", "javascript"); the list shows them as one row.
class CaseMergedList {
public:
    explicit CaseMergedList(ProjectDatabase& database) : database_(database) {}

    void Load(std::vector<UnknownWord>& words, bool withPages)
    {
        // The queries read one state of a table that a running crawl writes to.
        QMutexLocker lock(&database_.Lock());
        ReadForms();
        CountPages();
        if (withPages)
            ListPages();
        Sort(words);
    }

private:
    struct Entry {
        UnknownWord word;
        qint64 firstId;
    };
    using PageKey = QPair<size_t, QString>;  // entry, URL

    // The form found in most rows (on a tie, the one found first) captions
    // the row; the others follow in the same order.
    void ReadForms()
    {
        struct Form {
            QString word;
            qint64 rows, firstId;
        };
        std::vector<Form> forms;
        database_.Query(QStringLiteral("SELECT WORD, COUNT(*), MIN(ID) FROM MISSPELLED group by WORD;"),
                        [&forms](const Row& row) {
                            forms.push_back({CaptionOf(row), row.At(1).toLongLong(), row.At(2).toLongLong()});
                        });
        std::sort(forms.begin(), forms.end(), [](const Form& a, const Form& b) {
            return a.rows != b.rows ? a.rows > b.rows : a.firstId < b.firstId;
        });
        for (const Form& form : forms) {
            const QString key = CaseKey(form.word);
            if (const auto it = index_.constFind(key); it != index_.cend()) {
                entries_[*it].word.forms << form.word;
                entries_[*it].firstId = std::min(entries_[*it].firstId, form.firstId);
                continue;
            }
            index_.insert(key, entries_.size());
            entries_.push_back({UnknownWord{form.word, form.rows, {}, {form.word}}, form.firstId});
        }
        for (Entry& entry : entries_)
            if (entry.word.forms.size() == 1)
                entry.word.forms.clear();
    }

    // The entry of a row's word when it stands for several forms.
    std::optional<size_t> Merged(const Row& row) const
    {
        const auto it = index_.constFind(CaseKey(CaptionOf(row)));
        if (it == index_.cend() || entries_[*it].word.forms.isEmpty())
            return std::nullopt;
        return *it;
    }

    // A page that has two forms of the word counts once (once per recording
    // of the page), as a page does for a single form: per page, the most
    // rows any one form has there.
    void CountPages()
    {
        database_.Query(QStringLiteral("SELECT WORD, URL, COUNT(*) FROM MISSPELLED group by WORD, URL;"),
                        [this](const Row& row) {
                            if (const std::optional<size_t> at = Merged(row)) {
                                qint64& most = recordings_[PageKey(*at, row.At(1))];
                                most = std::max(most, row.At(2).toLongLong());
                            }
                        });
        for (Entry& entry : entries_)
            if (!entry.word.forms.isEmpty())
                entry.word.occurrence = 0;
        for (auto it = recordings_.cbegin(); it != recordings_.cend(); ++it)
            entries_[it.key().first].word.occurrence += it.value();
    }

    // Each page as often as it counts, in row order.
    void ListPages()
    {
        QHash<PageKey, qint64> listed;
        database_.Query(QStringLiteral("SELECT WORD, URL FROM MISSPELLED ORDER BY ID;"), [&](const Row& row) {
            const auto it = index_.constFind(CaseKey(CaptionOf(row)));
            if (it == index_.cend() || TrimCtl(row.At(1)).isEmpty())
                return;
            UnknownWord& word = entries_[*it].word;
            const PageKey key(*it, row.At(1));
            if (word.forms.isEmpty() || listed[key]++ < recordings_.value(key))
                word.pages << row.At(1);
        });
    }

    // Most frequent first, then in the order the words were first found.
    void Sort(std::vector<UnknownWord>& words)
    {
        std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return a.word.occurrence != b.word.occurrence ? a.word.occurrence > b.word.occurrence
                                                          : a.firstId < b.firstId;
        });
        words.clear();
        for (Entry& entry : entries_)
            words.push_back(std::move(entry.word));
    }

    ProjectDatabase& database_;
    std::vector<Entry> entries_;
    QHash<QString, size_t> index_;  // case key -> position in entries_
    QHash<PageKey, qint64> recordings_;  // merged entries only: recordings of the page that had the word
};

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
        if (ReadTextModeRecord(database).options.Prose()) {
            CaseMergedList(database).Load(words, withPages);
            return true;
        }
        database.Query(UnknownWordListQuery(), [&words](const Row& row) {
            const QString word = row.At(0);
            words.push_back({word.isNull() ? NotCheckedYetCaption() : word, row.At(1).toLongLong(), {}, {}});
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
