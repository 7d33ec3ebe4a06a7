#include "platform/language_ids.h"

#include <QHash>

namespace lexicrawl {

namespace {

struct LangEntry {
    int id;
    const char* posix;  // language_REGION; language alone for the primary entry
    const char* name;
};

// Each identifier once. The first entry of a language (in this order) is
// the one a bare language code maps to.
constexpr LangEntry kLanguages[] = {
    {0x0436, "af_ZA", "Afrikaans (South Africa)"},
    {0x041C, "sq_AL", "Albanian (Albania)"},
    {0x0401, "ar_SA", "Arabic (Saudi Arabia)"},
    {0x0801, "ar_IQ", "Arabic (Iraq)"},
    {0x0C01, "ar_EG", "Arabic (Egypt)"},
    {0x1001, "ar_LY", "Arabic (Libya)"},
    {0x1401, "ar_DZ", "Arabic (Algeria)"},
    {0x1801, "ar_MA", "Arabic (Morocco)"},
    {0x1C01, "ar_TN", "Arabic (Tunisia)"},
    {0x2001, "ar_OM", "Arabic (Oman)"},
    {0x2401, "ar_YE", "Arabic (Yemen)"},
    {0x2801, "ar_SY", "Arabic (Syria)"},
    {0x2C01, "ar_JO", "Arabic (Jordan)"},
    {0x3001, "ar_LB", "Arabic (Lebanon)"},
    {0x3401, "ar_KW", "Arabic (Kuwait)"},
    {0x3801, "ar_AE", "Arabic (United Arab Emirates)"},
    {0x3C01, "ar_BH", "Arabic (Bahrain)"},
    {0x4001, "ar_QA", "Arabic (Qatar)"},
    {0x042D, "eu_ES", "Basque (Basque)"},
    {0x0423, "be_BY", "Belarusian (Belarus)"},
    {0x0402, "bg_BG", "Bulgarian (Bulgaria)"},
    {0x0403, "ca_ES", "Catalan (Catalan)"},
    {0x0804, "zh_CN", "Chinese (Simplified, PRC)"},
    {0x0404, "zh_TW", "Chinese (Traditional, Taiwan)"},
    {0x0C04, "zh_HK", "Chinese (Traditional, Hong Kong S.A.R.)"},
    {0x1004, "zh_SG", "Chinese (Simplified, Singapore)"},
    {0x041A, "hr_HR", "Croatian (Croatia)"},
    {0x0405, "cs_CZ", "Czech (Czech Republic)"},
    {0x0406, "da_DK", "Danish (Denmark)"},
    {0x0413, "nl_NL", "Dutch (Netherlands)"},
    {0x0813, "nl_BE", "Dutch (Belgium)"},
    {0x0409, "en_US", "English (United States)"},
    {0x0809, "en_GB", "English (United Kingdom)"},
    {0x0C09, "en_AU", "English (Australia)"},
    {0x1009, "en_CA", "English (Canada)"},
    {0x1409, "en_NZ", "English (New Zealand)"},
    {0x1809, "en_IE", "English (Ireland)"},
    {0x1C09, "en_ZA", "English (South Africa)"},
    {0x2009, "en_JM", "English (Jamaica)"},
    {0x2409, "en_029", "English (Caribbean)"},
    {0x2809, "en_BZ", "English (Belize)"},
    {0x2C09, "en_TT", "English (Trinidad and Tobago)"},
    {0x0425, "et_EE", "Estonian (Estonia)"},
    {0x0438, "fo_FO", "Faroese (Faroe Islands)"},
    {0x0429, "fa_IR", "Persian (Iran)"},
    {0x040B, "fi_FI", "Finnish (Finland)"},
    {0x040C, "fr_FR", "French (France)"},
    {0x080C, "fr_BE", "French (Belgium)"},
    {0x0C0C, "fr_CA", "French (Canada)"},
    {0x100C, "fr_CH", "French (Switzerland)"},
    {0x140C, "fr_LU", "French (Luxembourg)"},
    {0x0407, "de_DE", "German (Germany)"},
    {0x0807, "de_CH", "German (Switzerland)"},
    {0x0C07, "de_AT", "German (Austria)"},
    {0x1007, "de_LU", "German (Luxembourg)"},
    {0x1407, "de_LI", "German (Liechtenstein)"},
    {0x0408, "el_GR", "Greek (Greece)"},
    {0x040D, "he_IL", "Hebrew (Israel)"},
    {0x040E, "hu_HU", "Hungarian (Hungary)"},
    {0x040F, "is_IS", "Icelandic (Iceland)"},
    {0x0421, "id_ID", "Indonesian (Indonesia)"},
    {0x0410, "it_IT", "Italian (Italy)"},
    {0x0810, "it_CH", "Italian (Switzerland)"},
    {0x0411, "ja_JP", "Japanese (Japan)"},
    {0x0412, "ko_KR", "Korean (Korea)"},
    {0x0812, "ko_KP", "Korean (Johab)"},
    {0x0426, "lv_LV", "Latvian (Latvia)"},
    {0x0427, "lt_LT", "Lithuanian (Lithuania)"},
    {0x0414, "nb_NO", "Norwegian, Bokm\u00e5l (Norway)"},
    {0x0814, "nn_NO", "Norwegian, Nynorsk (Norway)"},
    {0x0415, "pl_PL", "Polish (Poland)"},
    {0x0816, "pt_PT", "Portuguese (Portugal)"},
    {0x0416, "pt_BR", "Portuguese (Brazil)"},
    {0x0418, "ro_RO", "Romanian (Romania)"},
    {0x0419, "ru_RU", "Russian (Russia)"},
    {0x081A, "sr_CS", "Serbian (Latin, Serbia)"},
    {0x0C1A, "sr_RS", "Serbian (Cyrillic, Serbia)"},
    {0x041B, "sk_SK", "Slovak (Slovakia)"},
    {0x0424, "sl_SI", "Slovenian (Slovenia)"},
    {0x040A, "es_ES", "Spanish (Spain, Traditional Sort)"},
    {0x0C0A, "es_ES", "Spanish (Spain, International Sort)"},
    {0x080A, "es_MX", "Spanish (Mexico)"},
    {0x100A, "es_GT", "Spanish (Guatemala)"},
    {0x140A, "es_CR", "Spanish (Costa Rica)"},
    {0x180A, "es_PA", "Spanish (Panama)"},
    {0x1C0A, "es_DO", "Spanish (Dominican Republic)"},
    {0x200A, "es_VE", "Spanish (Venezuela)"},
    {0x240A, "es_CO", "Spanish (Colombia)"},
    {0x280A, "es_PE", "Spanish (Peru)"},
    {0x2C0A, "es_AR", "Spanish (Argentina)"},
    {0x300A, "es_EC", "Spanish (Ecuador)"},
    {0x340A, "es_CL", "Spanish (Chile)"},
    {0x380A, "es_UY", "Spanish (Uruguay)"},
    {0x3C0A, "es_PY", "Spanish (Paraguay)"},
    {0x400A, "es_BO", "Spanish (Bolivia)"},
    {0x440A, "es_SV", "Spanish (El Salvador)"},
    {0x480A, "es_HN", "Spanish (Honduras)"},
    {0x4C0A, "es_NI", "Spanish (Nicaragua)"},
    {0x500A, "es_PR", "Spanish (Puerto Rico)"},
    {0x041D, "sv_SE", "Swedish (Sweden)"},
    {0x081D, "sv_FI", "Swedish (Finland)"},
    {0x041E, "th_TH", "Thai (Thailand)"},
    {0x041F, "tr_TR", "Turkish (Turkey)"},
    {0x0422, "uk_UA", "Ukrainian (Ukraine)"},
    {0x042A, "vi_VN", "Vietnamese (Vietnam)"},
};

struct Tables {
    QHash<int, QString> names;
    QHash<QString, int> byLocale;    // "de_de" -> id (first wins)
    QHash<QString, int> byLanguage;  // "de" -> id (first wins)
};

const Tables& tables()
{
    static const Tables t = [] {
        Tables t;
        for (const LangEntry& e : kLanguages) {
            t.names.insert(e.id, QString::fromUtf8(e.name));
            const QString posix = QString::fromLatin1(e.posix).toLower();
            if (!t.byLocale.contains(posix))
                t.byLocale.insert(posix, e.id);
            const QString lang = posix.section(QLatin1Char('_'), 0, 0);
            if (!t.byLanguage.contains(lang))
                t.byLanguage.insert(lang, e.id);
        }
        t.byLanguage.insert(QStringLiteral("no"), 0x0414);
        return t;
    }();
    return t;
}

}  // namespace

QString LanguageDisplayName(int langId)
{
    return tables().names.value(langId);
}

int LangIdForPosixLocale(const QString& locale)
{
    // Strip ".codeset" and "@modifier"; accept "-" as the region separator.
    QString s = locale;
    for (QChar stop : {QLatin1Char('.'), QLatin1Char('@')}) {
        const qsizetype at = s.indexOf(stop);
        if (at >= 0)
            s.truncate(at);
    }
    s = s.trimmed().toLower().replace(QLatin1Char('-'), QLatin1Char('_'));
    if (s.isEmpty() || s == QLatin1String("c") || s == QLatin1String("posix"))
        return 0;
    const Tables& t = tables();
    if (const auto it = t.byLocale.constFind(s); it != t.byLocale.cend())
        return *it;
    return t.byLanguage.value(s.section(QLatin1Char('_'), 0, 0), 0);
}

}  // namespace lexicrawl
