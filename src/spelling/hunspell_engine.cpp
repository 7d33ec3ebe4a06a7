#include "spelling/hunspell_engine.h"

#include <dlfcn.h>
#include <hunspell/hunspell.h>
#include <hunspell/hunspell.hxx>

#include <QFileInfo>
#include <QRegularExpression>
#include <mutex>

#include "spelling/dictionary_codec.h"
#include "spelling/engine_clock.h"
#include "spelling/memory_file.h"

namespace lexicrawl {

namespace {

std::mutex& LifecycleLock()
{
    static std::mutex lock;
    return lock;
}

}  // namespace

std::unique_ptr<HunspellEngine> HunspellEngine::Init(const QByteArray& affix, const QByteArray& words)
{
    if (affix.isEmpty() || words.isEmpty())
        return nullptr;
    MemoryFile affixFile("lexicrawl-affix", affix);
    MemoryFile wordFile("lexicrawl-words", words);
    if (!affixFile.ok() || !wordFile.ok())
        return nullptr;
    std::unique_ptr<HunspellEngine> engine(new HunspellEngine);
    std::lock_guard<std::mutex> made(LifecycleLock());
    LearnCompoundClockSites();
    engine->hunspell_ = std::make_unique<Hunspell>(affixFile.Path().constData(), wordFile.Path().constData());
    engine->codec_ = std::make_unique<DictionaryCodec>(QString::fromStdString(engine->hunspell_->get_dict_encoding()));
    return engine;
}

HunspellEngine::~HunspellEngine()
{
    std::lock_guard<std::mutex> freed(LifecycleLock());
    hunspell_.reset();
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
    if (!codec_->Encode(word, bytes))
        return false;
    EngineClockScope clock(EngineCall::Spell);
    return hunspell_->spell(bytes.toStdString());
}

QStringList HunspellEngine::Suggest(const QString& word)
{
    QByteArray bytes;
    if (!codec_->Encode(word, bytes))
        return {};
    EngineClockScope clock(EngineCall::Suggest);
    return Decode(hunspell_->suggest(bytes.toStdString()));
}

QStringList HunspellEngine::Analyze(const QString& word)
{
    QByteArray bytes;
    if (!codec_->Encode(word, bytes))
        return {};
    EngineClockScope clock(EngineCall::Other);
    return Decode(hunspell_->analyze(bytes.toStdString()));
}

QStringList HunspellEngine::Stem(const QString& word)
{
    QByteArray bytes;
    if (!codec_->Encode(word, bytes))
        return {};
    EngineClockScope clock(EngineCall::Other);
    return Decode(hunspell_->stem(bytes.toStdString()));
}

bool HunspellEngine::Add(const QString& word)
{
    QByteArray bytes;
    // The library answers 0 on success.
    return codec_->Encode(word, bytes) && !bytes.isEmpty() && hunspell_->add(bytes.toStdString()) == 0;
}

bool HunspellEngine::AddWithAffix(const QString& word, const QString& model)
{
    QByteArray bytes, modelBytes;
    if (!codec_->Encode(word, bytes) || !codec_->Encode(model, modelBytes) || bytes.isEmpty())
        return false;
    return hunspell_->add_with_affix(bytes.toStdString(), modelBytes.toStdString()) == 0;
}

QString HunspellVersion()
{
    return QStringLiteral(LEXICRAWL_HUNSPELL_VERSION);
}

QString LoadedHunspellLibrary()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&Hunspell_create), &info) == 0 || info.dli_fname == nullptr)
        return {};
    const QString path = QString::fromLocal8Bit(info.dli_fname);
    if (!QFileInfo(path).fileName().startsWith(QLatin1String("libhunspell")))
        return {};
    const QString real = QFileInfo(path).canonicalFilePath();
    return real.isEmpty() ? path : real;
}

QString LoadedHunspellSeries()
{
    static const QRegularExpression series(QStringLiteral(R"(^libhunspell-(\d+\.\d+)\.so)"));
    const QRegularExpressionMatch match = series.match(QFileInfo(LoadedHunspellLibrary()).fileName());
    if (match.hasMatch())
        return match.captured(1);
    return HunspellVersion().section(u'.', 0, 1);
}

}  // namespace lexicrawl
