#include "spelling/dictionary_forms.h"

#include "spelling/affix_rules.h"
#include "spelling/dictionary_words.h"

namespace lexicrawl {

DictionaryForms::DictionaryForms() = default;
DictionaryForms::~DictionaryForms() = default;

std::unique_ptr<DictionaryForms> DictionaryForms::Build(const QByteArray& affix, const QByteArray& words)
{
    if (affix.isEmpty() || words.isEmpty())
        return nullptr;
    std::unique_ptr<DictionaryForms> forms(new DictionaryForms);
    const AffixRules rules(affix);
    forms->words_ = std::make_unique<DictionaryWords>(rules, words, DictionaryWords::Use::FormsOnly);
    return forms;
}

bool DictionaryForms::Accepts(QStringView form) const
{
    return words_->Accepts(U16View(form));
}

}  // namespace lexicrawl
