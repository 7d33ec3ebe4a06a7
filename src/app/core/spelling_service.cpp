#include "app/core/spelling_service.h"

#include <QSet>

#include <future>
#include <map>

#include "platform/serial_worker.h"
#include "spelling/dictionary_choice.h"
#include "spelling/dictionary_forms.h"
#include "spelling/dictionary_manager.h"
#include "spelling/language_dictionaries.h"
#include "spelling/locale_lang_ids.h"
#include "spelling/spell_dictionary.h"
#include "spelling/suggestion_engine.h"
#include "spelling/word_verdict.h"

namespace lexicrawl {

// What PrepareWordGroups started: the forms of one chosen dictionary, and
// engines by the file id of their dictionary, each taken when its
// dictionary is first asked.
struct SpellingService::PreparedWork {
    QString formsFor;
    std::future<void> forms;
    std::map<QString, std::future<SpellDictionary::PreparedEngine>> engines;
};

SpellingService::SpellingService(SerialWorker& worker)
    : worker_(worker),
      manager_(std::make_unique<DictionaryManager>()),
      // The front end writes the remembered choice itself, on its own thread.
      choice_(std::make_unique<DictionaryChoice>(*manager_, DictionaryChoice::SaveLanguage())),
      languages_(std::make_unique<LanguageDictionaries>(*manager_))
{
}

// The engines are unloaded on the worker that used them.
SpellingService::~SpellingService()
{
    worker_.Call([this] {
        languages_.reset();
        choice_.reset();
        manager_.reset();
    });
}

void SpellingService::LoadAtStartup(const QStringList& folders, const QString& savedLanguage,
                                    std::function<void(const DictionaryList&)> done)
{
    worker_.Post([this, folders, savedLanguage, done = std::move(done)] {
        choice_->LoadAtStartup(folders, savedLanguage);
        GivePersonalWords();
        if (done)
            done(List());
    });
}

void SpellingService::Select(int index, std::function<void(const DictionaryList&)> done)
{
    worker_.Post([this, index, done = std::move(done)] {
        choice_->Select(index);
        GivePersonalWords();
        if (done)
            done(List());
    });
}

void SpellingService::Check(const QString& word, std::function<void(const WordCheck&)> done, TextMode mode)
{
    worker_.Post([this, word, done = std::move(done), mode] {
        const WordCheck check = CheckOnWorker(word, mode);
        if (done)
            done(check);
    });
}

DictionaryList SpellingService::LoadAtStartupNow(const QStringList& folders, const QString& savedLanguage)
{
    return worker_.Call([&] {
        choice_->LoadAtStartup(folders, savedLanguage);
        GivePersonalWords();
        return List();
    });
}

void SpellingService::ReplayNotices(std::function<void(const QStringList&)> done)
{
    worker_.Post([this, done = std::move(done)] {
        const QStringList notices = NewReplayNotices();
        if (done)
            done(notices);
    });
}

QStringList SpellingService::ReplayNoticesNow()
{
    return worker_.Call([this] { return NewReplayNotices(); });
}

QStringList SpellingService::NewReplayNotices()
{
    QStringList notices;
    for (int i = 0; i < manager_->SpellDictionaryCount(); ++i) {
        SpellDictionary* d = manager_->GetSpellDictionary(i);
        const QString notice = d->Loaded() ? d->ReplayNotice() : QString();
        if (!notice.isEmpty() && !givenNotices_.contains(notice)) {
            givenNotices_.insert(notice);
            notices << notice;
        }
    }
    return notices;
}

bool SpellingService::CheckNow(const QString& word, TextMode mode)
{
    return worker_.Call([&] { return KnownOnWorker(word, mode); });
}

bool SpellingService::KnownOnWorker(const QString& word, TextMode mode)
{
    if (mode == TextMode::Prose)
        return languages_->Spell(choice_->SelectedDictionary(), {word}).front();
    return choice_->SpellCheckWord(word);
}

std::vector<bool> SpellingService::Verdicts(const QStringList& words)
{
    return SpellCheckWords(choice_->SelectedDictionary(), words);
}

std::optional<std::vector<bool>> SpellingService::ProseVerdicts(const QString& language, const QStringList& words)
{
    SpellDictionary* chosen = choice_->SelectedDictionary();
    SpellDictionary* dictionary = languages_->For(language, chosen);
    if (!dictionary && !language.isEmpty())
        return std::nullopt;
    return languages_->Spell(dictionary, words);
}

namespace {

// Loads a dictionary asked beside the chosen one, marked active like a
// language's dictionary, so that the next change of the chosen one unloads
// it with the rest; false when it cannot be loaded. Only its engine: it is
// asked whether it knows words, nothing more. A prepared engine of the
// dictionary is taken instead of making one.
bool LoadBesideChosen(SpellDictionary* dictionary, std::optional<SpellDictionary::PreparedEngine> prepared = {})
{
    if (dictionary->Loaded())
        return true;
    dictionary->SetActive(true);
    if (prepared ? dictionary->LoadForSpelling(std::move(*prepared)) : dictionary->LoadForSpelling())
        return true;
    dictionary->SetActive(false);
    return false;
}

// Whether d is a dictionary of the chosen one's language for another region.
bool OtherRegionOf(const SpellDictionary* d, const SpellDictionary* chosen)
{
    return d != chosen && d->LangID() != chosen->LangID() &&
           LanguageCodeOf(d->LangID()) == LanguageCodeOf(chosen->LangID());
}

}  // namespace

std::vector<SpellDictionary*> SpellingService::DictionariesBesideChosen(SpellDictionary* chosen, bool otherRegion,
                                                                       bool otherLanguages) const
{
    std::vector<SpellDictionary*> found;
    const QString language = LanguageCodeOf(chosen->LangID());
    bool regionFound = false;
    QSet<QString> languages;
    for (int i = 0; i < manager_->SpellDictionaryCount(); ++i) {
        SpellDictionary* d = manager_->GetSpellDictionary(i);
        const QString other = LanguageCodeOf(d->LangID());
        if (other == language) {
            if (otherRegion && !regionFound && OtherRegionOf(d, chosen)) {
                found.push_back(d);
                regionFound = true;
            }
        } else if (otherLanguages && !languages.contains(other)) {
            found.push_back(d);
            languages.insert(other);
        }
    }
    return found;
}

void SpellingService::PrepareEngines(const std::vector<SpellDictionary*>& dictionaries)
{
    std::lock_guard<std::mutex> lock(preparedMutex_);
    if (!prepared_)
        prepared_ = std::make_unique<PreparedWork>();
    for (SpellDictionary* d : dictionaries) {
        const QString id = d->GetInternalFileID();
        if (d->Loaded() || prepared_->engines.count(id))
            continue;
        prepared_->engines[id] =
            std::async(std::launch::async, [source = d->Source()] { return SpellDictionary::PrepareEngine(source); });
    }
}

std::optional<SpellDictionary::PreparedEngine> SpellingService::TakePreparedEngine(const SpellDictionary* d)
{
    std::future<SpellDictionary::PreparedEngine> engine;
    {
        std::lock_guard<std::mutex> lock(preparedMutex_);
        if (!prepared_)
            return std::nullopt;
        const auto it = prepared_->engines.find(d->GetInternalFileID());
        if (it == prepared_->engines.end())
            return std::nullopt;
        engine = std::move(it->second);
        prepared_->engines.erase(it);
    }
    return engine.get();
}

void SpellingService::PrepareWordGroups()
{
    worker_.Post([this] {
        SpellDictionary* chosen = choice_->SelectedDictionary();
        if (!chosen)
            return;
        PrepareEngines(DictionariesBesideChosen(chosen, true, true));
        const DictionarySource source{chosen->GetInternalFileID(), chosen->AffixData(), chosen->WordData()};
        std::lock_guard<std::mutex> lock(preparedMutex_);
        if (prepared_->formsFor == source.id)
            return;
        prepared_->formsFor = source.id;
        prepared_->forms = std::async(std::launch::async, [this, source] { FormsOf(source); });
    });
}

void SpellingService::DropPreparedEngines()
{
    worker_.Post([this] {
        std::map<QString, std::future<SpellDictionary::PreparedEngine>> unused;
        {
            std::lock_guard<std::mutex> lock(preparedMutex_);
            if (prepared_)
                unused.swap(prepared_->engines);
        }
        // Their threads are waited for here, off the caller's thread.
    });
}

std::optional<OtherSpellingVerdicts> SpellingService::OtherSpellingNow(const QStringList& words)
{
    return worker_.Call([this, &words]() -> std::optional<OtherSpellingVerdicts> {
        SpellDictionary* chosen = choice_->SelectedDictionary();
        if (!chosen)
            return std::nullopt;
        for (int i = 0; i < manager_->SpellDictionaryCount(); ++i) {
            SpellDictionary* d = manager_->GetSpellDictionary(i);
            if (!OtherRegionOf(d, chosen) || !LoadBesideChosen(d, TakePreparedEngine(d)))
                continue;
            const QString name = d->LangID() == LocaleToLangID(QStringLiteral("en-GB"))   ? QStringLiteral("British")
                                 : d->LangID() == LocaleToLangID(QStringLiteral("en-US")) ? QStringLiteral("American")
                                                                                          : d->LanguageName();
            return OtherSpellingVerdicts{name, languages_->Spell(d, words)};
        }
        return std::nullopt;
    });
}

QStringList SpellingService::OtherLanguagesNow(const QStringList& words)
{
    return worker_.Call([this, &words] {
        QStringList found(words.size());
        SpellDictionary* chosen = choice_->SelectedDictionary();
        if (!chosen || words.isEmpty())
            return found;
        // The first dictionary of each other language is the one asked
        // unless it fails to load: their engines are made side by side.
        PrepareEngines(DictionariesBesideChosen(chosen, false, true));
        const QString language = LanguageCodeOf(chosen->LangID());
        QSet<QString> asked;  // one dictionary per language
        for (int i = 0; i < manager_->SpellDictionaryCount(); ++i) {
            SpellDictionary* d = manager_->GetSpellDictionary(i);
            const QString other = LanguageCodeOf(d->LangID());
            if (other == language || asked.contains(other))
                continue;
            if (!LoadBesideChosen(d, TakePreparedEngine(d)))
                continue;
            asked.insert(other);
            const std::vector<bool> known = languages_->Spell(d, words);
            for (qsizetype w = 0; w < words.size(); ++w) {
                if (found.at(w).isEmpty() && size_t(w) < known.size() && known[size_t(w)])
                    found[w] = d->LanguageName();
            }
        }
        return found;
    });
}

void SpellingService::SetPersonalWords(const QStringList& words)
{
    worker_.Post([this, words] {
        personalWords_ = words;
        GivePersonalWords();
    });
}

void SpellingService::AddPersonalWord(const QString& word)
{
    worker_.Post([this, word] {
        personalWords_ << word;
        if (SpellDictionary* dictionary = choice_->SelectedDictionary())
            dictionary->Add(word);
    });
}

void SpellingService::GivePersonalWords()
{
    if (SpellDictionary* dictionary = choice_->SelectedDictionary())
        for (const QString& word : personalWords_)
            dictionary->Add(word);
}

SpellingService::DictionarySource SpellingService::ChosenSource()
{
    return worker_.Call([this] {
        SpellDictionary* d = choice_->SelectedDictionary();
        return d ? DictionarySource{d->GetInternalFileID(), d->AffixData(), d->WordData()} : DictionarySource{};
    });
}

std::shared_ptr<const SuggestionEngine> SpellingService::Suggestions()
{
    const DictionarySource source = ChosenSource();
    std::lock_guard<std::mutex> lock(suggestionsMutex_);
    if (source.id != suggestionsFor_ || (!suggestions_ && !source.affix.isEmpty())) {
        suggestions_ = SuggestionEngine::Build(source.affix, source.words);
        suggestionsFor_ = source.id;
    }
    return suggestions_;
}

std::shared_ptr<const DictionaryForms> SpellingService::Forms()
{
    return FormsOf(ChosenSource());
}

std::shared_ptr<const DictionaryForms> SpellingService::FormsOf(const DictionarySource& source)
{
    std::lock_guard<std::mutex> lock(formsMutex_);
    if (source.id != formsFor_ || (!forms_ && !source.affix.isEmpty())) {
        forms_ = DictionaryForms::Build(source.affix, source.words);
        formsFor_ = source.id;
    }
    return forms_;
}

DictionaryList SpellingService::List() const
{
    return DictionaryList{choice_->Items(), choice_->ItemIndex()};
}

WordCheck SpellingService::CheckOnWorker(const QString& word, TextMode mode)
{
    WordCheck check;
    check.word = word;
    check.known = KnownOnWorker(word, mode);
    if (SpellDictionary* dictionary = choice_->SelectedDictionary())
        dictionary->Suggest(word, check.suggestions);
    return check;
}

std::vector<DictionaryInfo> SpellingService::ListDictionaries(const QStringList& folders)
{
    DictionaryManager manager;
    std::vector<DictionaryInfo> found;
    for (const QString& folder : folders)
        manager.ReadFolder(folder);
    for (int i = 0; i < manager.SpellDictionaryCount(); ++i) {
        const SpellDictionary* d = manager.GetSpellDictionary(i);
        found.push_back({d->LanguageName(), d->GetInternalFileID()});
    }
    return found;
}

}  // namespace lexicrawl
