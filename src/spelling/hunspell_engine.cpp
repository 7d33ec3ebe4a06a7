#include "spelling/hunspell_engine.h"

#include <hunspell/hunspell.hxx>

#include "spelling/capital_suggestion_check.h"
#include "spelling/dictionary_codec.h"
#include "spelling/mixed_case_root_index.h"
#include "spelling/memory_file.h"

namespace lexicrawl {

bool AffixKeepsUpperCaseAcceptance(const QByteArray& affix)
{
    static const char* const kBreaking[] = {"KEEPCASE", "CHECKSHARPS", "FORBIDDENWORD", "OCONV"};
    for (const QByteArray& raw : affix.split('\n')) {
        const QByteArray line = raw.trimmed();
        for (const char* option : kBreaking) {
            if (line.startsWith(option))
                return false;
        }
        if (line.startsWith("LANG")) {
            const QByteArray lang = line.mid(4).trimmed().left(3).toLower();
            if (lang.startsWith("tr") || lang.startsWith("az") || lang.startsWith("crh"))
                return false;
        }
    }
    return true;
}

std::unique_ptr<HunspellEngine> HunspellEngine::Init(const QByteArray& affix, const QByteArray& words)
{
    if (affix.isEmpty() || words.isEmpty())
        return nullptr;
    MemoryFile affixFile("lexicrawl-affix", affix);
    MemoryFile wordFile("lexicrawl-words", words);
    if (!affixFile.ok() || !wordFile.ok())
        return nullptr;
    std::unique_ptr<HunspellEngine> engine(new HunspellEngine);
    engine->hunspell_ = std::make_unique<Hunspell>(affixFile.Path().constData(), wordFile.Path().constData());
    engine->codec_ = std::make_unique<DictionaryCodec>(QString::fromStdString(engine->hunspell_->get_dict_encoding()));
    engine->upperKeepsAcceptance_ = AffixKeepsUpperCaseAcceptance(affix);
    if (engine->upperKeepsAcceptance_) {
        engine->capitalCheck_ = std::make_unique<CapitalSuggestionCheck>(affix, words);
        engine->mixedCaseRoots_ = std::make_unique<MixedCaseRootIndex>(affix, words);
    }
    return engine;
}

HunspellEngine::~HunspellEngine() = default;

bool HunspellEngine::SuggestsCapitalised(const QString& word)
{
    return capitalCheck_ && capitalCheck_->Enabled()
           && capitalCheck_->Check(word, [this](const QString& w) { return Spell(w); });
}

bool HunspellEngine::MayBeMixedCaseForm(const QString& word) const
{
    // A word added at run time is a root the index has not seen.
    return !mixedCaseRoots_ || wordsAddedWithCapitals_ || mixedCaseRoots_->MayMatch(word);
}

QString HunspellEngine::Encoding() const
{
    return QString::fromStdString(hunspell_->get_dict_encoding());
}

QStringList HunspellEngine::Decode(const std::vector<std::string>& list)
{
    QStringList out;
    out.reserve(qsizetype(list.size()));
    for (const std::string& s : list)
        out.append(codec_->Decode(QByteArray::fromStdString(s)));
    return out;
}

bool HunspellEngine::Spell(const QString& word)
{
    QByteArray bytes;
    return codec_->Encode(word, bytes) && hunspell_->spell(bytes.toStdString());
}

QStringList HunspellEngine::Suggest(const QString& word)
{
    QByteArray bytes;
    if (!codec_->Encode(word, bytes))
        return {};
    return Decode(hunspell_->suggest(bytes.toStdString()));
}

QStringList HunspellEngine::Analyze(const QString& word)
{
    QByteArray bytes;
    if (!codec_->Encode(word, bytes))
        return {};
    return Decode(hunspell_->analyze(bytes.toStdString()));
}

QStringList HunspellEngine::Stem(const QString& word)
{
    QByteArray bytes;
    if (!codec_->Encode(word, bytes))
        return {};
    return Decode(hunspell_->stem(bytes.toStdString()));
}

bool HunspellEngine::Add(const QString& word)
{
    wordsAddedWithCapitals_ |= word != word.toLower();
    QByteArray bytes;
    // The library answers 0 on success.
    return codec_->Encode(word, bytes) && !bytes.isEmpty() && hunspell_->add(bytes.toStdString()) == 0;
}

bool HunspellEngine::AddWithAffix(const QString& word, const QString& model)
{
    wordsAddedWithCapitals_ |= word != word.toLower();
    QByteArray bytes, modelBytes;
    if (!codec_->Encode(word, bytes) || !codec_->Encode(model, modelBytes) || bytes.isEmpty())
        return false;
    return hunspell_->add_with_affix(bytes.toStdString(), modelBytes.toStdString()) == 0;
}

QString HunspellVersion()
{
    return QStringLiteral(LEXICRAWL_HUNSPELL_VERSION);
}

}  // namespace lexicrawl
