#include "spelling/hyphen_engine.h"

#include <hyphen.h>

#include <cstdio>
#include <cstdlib>

#include "spelling/dictionary_codec.h"

namespace lexicrawl {

namespace {

struct StreamCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

std::unique_ptr<HyphenEngine> HyphenEngine::Init(const QByteArray& patterns)
{
    if (patterns.isEmpty())
        return nullptr;
    QByteArray copy = patterns;  // fmemopen wants writable memory
    std::unique_ptr<FILE, StreamCloser> stream(fmemopen(copy.data(), size_t(copy.size()), "r"));
    if (!stream)
        return nullptr;
    HyphenDict* dict = hnj_hyphen_load_file(stream.get());
    if (!dict)
        return nullptr;
    std::unique_ptr<HyphenEngine> engine(new HyphenEngine);
    engine->dict_ = dict;
    engine->codec_ = std::make_unique<DictionaryCodec>(
        dict->utf8 ? QStringLiteral("UTF-8") : QString::fromLatin1(dict->cset));
    return engine;
}

HyphenEngine::~HyphenEngine()
{
    if (dict_)
        hnj_hyphen_free(dict_);
}

HyphenResult HyphenEngine::Hyphenate(const QString& word)
{
    HyphenResult result;
    result.hyphenatedWord = word;
    QByteArray bytes;
    // Patterns are written in small letters.
    if (word.isEmpty() || !codec_->Encode(word.toLower(), bytes) || bytes.size() > 10000)
        return result;
    const int n = int(bytes.size());
    std::vector<char> hyphens(size_t(n) + 5, 0);
    std::vector<char> hyphenated(size_t(n) * 3 + 16, 0);
    char** rep = nullptr;
    int* pos = nullptr;
    int* cut = nullptr;
    if (hnj_hyphen_hyphenate2(dict_, bytes.constData(), n, hyphens.data(), hyphenated.data(),
                              &rep, &pos, &cut) == 0) {
        result.hyphenatedWord = codec_->Decode(QByteArray(hyphenated.data()));
        for (int i = 0; i < n; ++i)
            result.hyphenationPoints.push_back(hyphens[size_t(i)] & 1);
    }
    if (rep) {
        for (int i = 0; i < n; ++i) {
            result.repData << (rep[i] ? codec_->Decode(QByteArray(rep[i])) : QString());
            result.posData.push_back(pos ? pos[i] : 0);
            result.cutData.push_back(cut ? cut[i] : 0);
            std::free(rep[i]);
        }
        std::free(rep);
        std::free(pos);
        std::free(cut);
    }
    return result;
}

}  // namespace lexicrawl
