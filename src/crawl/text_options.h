#pragma once
// How a crawl reads the words of its pages. The standard reading checks
// every run of letters and digits of the rendered text, lower-cased; the
// prose reading checks what a reader reads as prose, as written, and leaves
// out code, numbers, addresses and identifiers. A front end chooses one per
// crawl; the project keeps the choice, so an opened project says how its
// words were found.
#include <QString>

namespace lexicrawl {

enum class TextMode { Standard, Prose };

struct TextOptions {
    TextMode mode = TextMode::Standard;
    // Prose only: the alt and title texts of images and links are checked,
    // each as a text of its own.
    bool checkAltAndTitle = false;
    // Whether the recording also keeps what the word groups and findings
    // weigh: the pages that use each word and the words written twice in a
    // row. A run whose output shows neither may leave it out; the project
    // then has no counts and groups by the words' shape alone.
    bool wordEvidence = true;

    bool Prose() const { return mode == TextMode::Prose; }
};

// "Standard" or "Prose", as the settings file and the project store it.
inline QString TextModeName(TextMode mode)
{
    return mode == TextMode::Prose ? QStringLiteral("Prose") : QStringLiteral("Standard");
}

// Exactly "Prose" gives the prose reading; anything else the standard one.
inline TextMode TextModeFromName(const QString& name)
{
    return name == QLatin1String("Prose") ? TextMode::Prose : TextMode::Standard;
}

}  // namespace lexicrawl
