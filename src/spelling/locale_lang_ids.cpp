#include "spelling/locale_lang_ids.h"

#include "platform/text.h"

namespace lexicrawl {

namespace {

struct LocaleRow {
    const char* locale;
    uint16_t id;
};

// Order matters: the first match wins, in both passes.
constexpr LocaleRow kLocales[] = {
    {"af", 0x0436}, {"sq", 0x041C}, {"ar-sa", 0x0401}, {"ar-iq", 0x0801},
    {"ar-eg", 0x0C01}, {"ar-ly", 0x1001}, {"ar-dz", 0x1401}, {"ar-ma", 0x1801},
    {"ar-tn", 0x1C01}, {"ar-om", 0x2001}, {"ar-ye", 0x2401}, {"ar-sy", 0x2801},
    {"ar-jo", 0x2C01}, {"ar-lb", 0x3001}, {"ar-kw", 0x3401}, {"ar-ae", 0x3801},
    {"ar-bh", 0x3C01}, {"ar-qa", 0x4001}, {"eu", 0x042D}, {"be", 0x0423},
    {"bg", 0x0402}, {"ca", 0x0403}, {"zh", 0x0404}, {"zh-tw", 0x0404},
    {"zh-cn", 0x0804}, {"zh-hk", 0x0C04}, {"zh-sg", 0x1004}, {"hr", 0x041A},
    {"cs", 0x0405}, {"da", 0x0406}, {"nl-nl", 0x0413}, {"nl-be", 0x0813},
    {"en-us", 0x0409}, {"en-uk", 0x0809}, {"en-gb", 0x0809}, {"en-au", 0x0C09},
    {"en-ca", 0x1009}, {"en-nz", 0x1409}, {"en-ie", 0x1809}, {"en-za", 0x1C09},
    {"en-jm", 0x2009}, {"en-cb", 0x2409}, {"en-bz", 0x2809}, {"en-tt", 0x2C09},
    {"et", 0x0425}, {"fo", 0x0438}, {"fa", 0x0429}, {"fi", 0x040B},
    {"fr-fr", 0x040C}, {"fr-be", 0x080C}, {"fr-ca", 0x0C0C}, {"fr-ch", 0x100C},
    {"fr-lu", 0x140C}, {"de-de", 0x0407}, {"de-ch", 0x0807}, {"de-at", 0x0C07},
    {"de-lu", 0x1007}, {"de-li", 0x1407}, {"el", 0x0408}, {"he", 0x040D},
    {"hu", 0x040E}, {"is", 0x040F}, {"id", 0x0421}, {"it-it", 0x0410},
    {"it-ch", 0x0810}, {"ja", 0x0411}, {"ko", 0x0412}, {"ko-ko", 0x0412},
    {"ko-kp", 0x0812}, {"lv", 0x0426}, {"lt", 0x0427}, {"no", 0x0414},
    {"no-no", 0x0814}, {"pl", 0x0415}, {"pt-pt", 0x0816}, {"pt-br", 0x0416},
    {"ro", 0x0418}, {"ru", 0x0419}, {"sr", 0x041A}, {"sr", 0x081A},
    {"sr", 0x0C1A}, {"sk", 0x041B}, {"sl", 0x0424}, {"es", 0x040A},
    {"es-mx", 0x080A}, {"es", 0x0C0A}, {"es-gt", 0x100A}, {"es-cr", 0x140A},
    {"es-pa", 0x180A}, {"es-do", 0x1C0A}, {"es-ve", 0x200A}, {"es-co", 0x240A},
    {"es-pe", 0x280A}, {"es-ar", 0x2C0A}, {"es-ec", 0x300A}, {"es-cl", 0x340A},
    {"es-uy", 0x380A}, {"es-py", 0x3C0A}, {"es-bo", 0x400A}, {"es-sv", 0x440A},
    {"es-hn", 0x480A}, {"es-ni", 0x4C0A}, {"es-pr", 0x500A}, {"sv", 0x041D},
    {"sv-fi", 0x081D}, {"th", 0x041E}, {"tr", 0x041F}, {"uk", 0x0422},
    {"vi", 0x042A},
};
static_assert(sizeof(kLocales) / sizeof(kLocales[0]) == 109);

}  // namespace

uint16_t LocaleToLangID(const QString& locale)
{
    for (const LocaleRow& row : kLocales) {
        if (SameTextAZ(locale, QLatin1String(row.locale)))
            return row.id;
    }
    const QString head = locale.left(2);
    for (const LocaleRow& row : kLocales) {
        if (SameTextAZ(head, QLatin1String(row.locale).left(2)))
            return row.id;
    }
    return 0x0409;
}

QString LanguageCodeOf(uint16_t langId)
{
    const uint16_t primary = langId & 0x03FF;
    for (const LocaleRow& row : kLocales) {
        if ((row.id & 0x03FF) == primary)
            return QLatin1String(row.locale).left(2);
    }
    return QString();
}

}  // namespace lexicrawl
