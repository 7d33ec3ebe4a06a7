#include "app/core/page_marks.h"

#include "analysis/export_files.h"
#include "crawl/crawl_notes.h"
#include "store/project_database.h"

namespace lexicrawl {

bool LoadPageMarks(ProjectDatabase& database, PageMarks& marks, QString* error)
{
    marks = PageMarks{};
    try {
        const CrawlNotes notes = LoadCrawlNotes(database);
        const std::vector<DocumentRow> documents = LoadDocuments(database);
        marks.notes = PageNotes(notes, documents);
        for (const DocumentRow& document : documents)
            marks.documents.insert(document.url, document);
        marks.sitemapOnly = QSet<QString>(notes.sitemapOnly.begin(), notes.sitemapOnly.end());
        marks.leftOutByRobots = notes.leftOutByRobots;
    } catch (const DatabaseError& e) {
        marks = PageMarks{};
        if (error)
            *error = e.Text();
        return false;
    }
    return true;
}

}  // namespace lexicrawl
