#pragma once
// The outcome of every visited page (status code, failure text, load time),
// kept in the project in a table of its own (made when first needed) so
// that a saved project still tells which pages failed: the differences
// between two crawls and the reports read it.
//
// Thread-safety: stateless; the database serialises the statements.
#include <vector>

#include "crawl/internal_urls.h"

namespace lexicrawl {

class ProjectDatabase;

// Replaces the stored outcomes with those of the visited entries; a table
// with no visited entry (an opened project) leaves them as they are.
// Throws DatabaseError.
void StoreFetchStatuses(ProjectDatabase& database, const std::vector<InternalUrl>& table);
// The stored outcomes, as visited entries; none when the project has no
// such table. Throws DatabaseError.
std::vector<InternalUrl> LoadFetchStatuses(ProjectDatabase& database);

}  // namespace lexicrawl
