#pragma once
#include <QString>

namespace lexicrawl {

// The application identity: names used for the per-user folder, captions and
// the version text.
QString CompanyName();       // "NORVANE"
QString ProductName();       // "Lexicrawl"
QString ApplicationTitle();  // company + " - " + product
QString VersionText();       // "major.minor"

}  // namespace lexicrawl
