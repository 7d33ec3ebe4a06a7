#pragma once
// One Hunspell instance made from a dictionary's affix and word-list bytes.
// The bytes reach the library through anonymous in-memory files, never
// through files on disk; words are converted between UTF-16 and the
// dictionary's declared character set. Every call runs under the engine
// clock (engine_clock.h), so that its answers do not depend on time.
//
// Thread-safety: an engine is used by one thread at a time (Hunspell keeps
// per-instance state); engines are made and destroyed one at a time
// process-wide, because the library sets up shared tables without a lock.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class Hunspell;

namespace lexicrawl {

class DictionaryCodec;

class HunspellEngine {
public:
    // Null when either block is empty or the library cannot read them.
    static std::unique_ptr<HunspellEngine> Init(const QByteArray& affix, const QByteArray& words);
    ~HunspellEngine();
    HunspellEngine(const HunspellEngine&) = delete;
    HunspellEngine& operator=(const HunspellEngine&) = delete;

    bool Spell(const QString& word);
    QStringList Suggest(const QString& word);
    QStringList Analyze(const QString& word);
    QStringList Stem(const QString& word);
    bool Add(const QString& word);
    bool AddWithAffix(const QString& word, const QString& model);
    QString Encoding() const;

private:
    HunspellEngine() = default;
    QStringList Decode(const std::vector<std::string>& list);

    std::unique_ptr<Hunspell> hunspell_;
    std::unique_ptr<DictionaryCodec> codec_;
};

// The Hunspell library the program was built with ("1.7.2").
QString HunspellVersion();

// The file of the Hunspell library this process has mapped, links resolved
// ("/usr/lib/x86_64-linux-gnu/libhunspell-1.7.so.0.0.1"); empty where it
// cannot be read (a static build).
QString LoadedHunspellLibrary();

// The series of the loaded library read from its file name ("1.7"); the
// build's version where the file cannot be read or does not name one.
QString LoadedHunspellSeries();

}  // namespace lexicrawl
