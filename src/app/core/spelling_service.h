#pragma once
// The spelling dictionaries of a running program and the one chosen for
// every word check: read from the dictionaries folder, listed by language
// name, loaded, and asked. All of it runs on the recording worker: a
// spelling engine instance must only ever be used from one thread, and a
// change of dictionary during a crawl must fall between two pages, never in
// the middle of one. A window posts its requests and gets the answers on the
// worker (it posts them on to its UI thread); the command line waits.
//
// Thread-safety: every public member may be called from any thread, except
// Verdicts, which runs on the worker (it is what the page recorder asks).
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <mutex>
#include <vector>

#include "crawl/text_options.h"
#include "spelling/spell_dictionary.h"

namespace lexicrawl {

class DictionaryChoice;
class DictionaryManager;
class LanguageDictionaries;
class DictionaryForms;
class SerialWorker;
class SuggestionEngine;

// The dictionary list as the window's drop-down shows it.
struct DictionaryList {
    QStringList items;  // language names, in the manager's order
    int selected = -1;  // -1 when the list is empty
    QString SelectedName() const { return selected < 0 ? QString() : items.value(selected); }
};

// The answer for one word: known or not, and what the dictionary suggests.
struct WordCheck {
    QString word;
    bool known = false;
    QStringList suggestions;
};

// What the dictionary of the chosen language's other region says of words.
struct OtherSpellingVerdicts {
    QString name;             // "British", "American", else the dictionary's language name
    std::vector<bool> known;  // as written, in the order asked
};

// One spell dictionary found in a folder.
struct DictionaryInfo {
    QString languageName;
    QString fileId;  // package file name and member names
};

class SpellingService {
public:
    explicit SpellingService(SerialWorker& worker);
    ~SpellingService();
    SpellingService(const SpellingService&) = delete;
    SpellingService& operator=(const SpellingService&) = delete;

    // Reads the dictionaries folder, lists the spell dictionaries and
    // selects the first whose name begins with savedLanguage (case counts;
    // empty matches the first), else the first, and loads it. The front end
    // remembers the selected name ("DictionaryLanguage") itself.
    // Several folders are read in order (DictionaryChoice::LoadAtStartup).
    void LoadAtStartup(const QStringList& folders, const QString& savedLanguage,
                       std::function<void(const DictionaryList&)> done);
    void LoadAtStartup(const QString& folder, const QString& savedLanguage,
                       std::function<void(const DictionaryList&)> done)
    {
        LoadAtStartup(QStringList{folder}, savedLanguage, std::move(done));
    }
    // The user picked another item: it is loaded, the others unloaded.
    void Select(int index, std::function<void(const DictionaryList&)> done);
    // The verdict of the word against the chosen dictionary, and its
    // suggestions; a word of a prose project is checked as written.
    void Check(const QString& word, std::function<void(const WordCheck&)> done,
               TextMode mode = TextMode::Standard);

    // The same, waiting for the answer. The prose check takes the word as
    // written (no suggestion makes it known).
    DictionaryList LoadAtStartupNow(const QStringList& folders, const QString& savedLanguage);
    DictionaryList LoadAtStartupNow(const QString& folder, const QString& savedLanguage)
    {
        return LoadAtStartupNow(QStringList{folder}, savedLanguage);
    }
    bool CheckNow(const QString& word, TextMode mode = TextMode::Standard);

    // On the worker: the verdicts of a page's words, in order.
    std::vector<bool> Verdicts(const QStringList& words);
    // On the worker: the prose verdicts of a page's words in one declared
    // language (empty: none declared), in order; nothing when no dictionary
    // of the folder reads the language. The dictionary is loaded the first
    // time its language is met.
    std::optional<std::vector<bool>> ProseVerdicts(const QString& language, const QStringList& words);

    // Waits for the worker: the verdicts, as written, of the dictionary of
    // the chosen one's language for another region (British beside
    // American), loaded when first asked; nothing when the folder has none.
    std::optional<OtherSpellingVerdicts> OtherSpellingNow(const QStringList& words);
    // Waits for the worker: for each word, the language name of the first
    // dictionary of another language than the chosen one's that knows it as
    // written (each loaded when first asked), else empty.
    QStringList OtherLanguagesNow(const QStringList& words);

    // The user's own words: given to every dictionary loaded from now on
    // (and to the loaded one), on the worker.
    void SetPersonalWords(const QStringList& words);
    void AddPersonalWord(const QString& word);

    // The suggestion engine of the chosen dictionary (null without one),
    // built on the calling thread the first time it is asked for; it may
    // then be used from any thread.
    std::shared_ptr<const SuggestionEngine> Suggestions();
    // The set of the chosen dictionary's forms (null without one), for
    // callers that only ask whether spellings are words: built the same way,
    // far cheaper than the whole engine.
    std::shared_ptr<const DictionaryForms> Forms();
    // Starts making, on threads of their own, what the word groups ask after
    // a crawl: the chosen dictionary's forms, the engine of its language's
    // other region (British beside American) and those of the other
    // languages' dictionaries. Called as a crawl
    // whose words will be grouped starts, so that both are ready when it
    // ends rather than made after it. Returns at once.
    void PrepareWordGroups();
    // Lets go of the engines PrepareWordGroups made that no grouping took.
    void DropPreparedEngines();

    // Why a loaded dictionary's suggestion replay was switched off at load
    // (SpellDictionary::ReplayNotice), each notice given once: a later call
    // answers only what no call answered before. Waits, on the worker, for
    // the load-time checks of the loaded dictionaries.
    void ReplayNotices(std::function<void(const QStringList&)> done);
    QStringList ReplayNoticesNow();

    // The spell dictionaries the folders hold, without loading any (the same
    // ones, in the same order, as LoadAtStartup would list).
    static std::vector<DictionaryInfo> ListDictionaries(const QStringList& folders);
    static std::vector<DictionaryInfo> ListDictionaries(const QString& folder)
    {
        return ListDictionaries(QStringList{folder});
    }

private:
    struct DictionarySource {
        QString id;
        QByteArray affix, words;
    };
    // The chosen dictionary's file id and bytes, read on the worker.
    DictionarySource ChosenSource();
    std::shared_ptr<const DictionaryForms> FormsOf(const DictionarySource& source);
    // On the worker: the dictionaries the groups ask beside the chosen one
    // (the first of its language for another region; the first of each
    // other language), in the manager's order.
    std::vector<SpellDictionary*> DictionariesBesideChosen(SpellDictionary* chosen, bool otherRegion,
                                                           bool otherLanguages) const;
    // On the worker: starts making the engines of those not loaded and not
    // being made; takes one made for d (waiting for it), if any.
    void PrepareEngines(const std::vector<SpellDictionary*>& dictionaries);
    std::optional<SpellDictionary::PreparedEngine> TakePreparedEngine(const SpellDictionary* d);
    struct PreparedWork;
    DictionaryList List() const;
    WordCheck CheckOnWorker(const QString& word, TextMode mode);
    bool KnownOnWorker(const QString& word, TextMode mode);
    void GivePersonalWords();
    QStringList NewReplayNotices();

    SerialWorker& worker_;
    std::unique_ptr<DictionaryManager> manager_;  // used on the worker only
    std::unique_ptr<DictionaryChoice> choice_;
    std::unique_ptr<LanguageDictionaries> languages_;
    QStringList personalWords_;  // worker only
    QSet<QString> givenNotices_;  // worker only
    std::mutex suggestionsMutex_;
    QString suggestionsFor_;  // the dictionary the engine below was built from
    std::shared_ptr<const SuggestionEngine> suggestions_;
    std::mutex formsMutex_;
    QString formsFor_;
    std::shared_ptr<const DictionaryForms> forms_;
    std::mutex preparedMutex_;
    std::unique_ptr<PreparedWork> prepared_;  // last: its threads end before the rest goes
};

}  // namespace lexicrawl
