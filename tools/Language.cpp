#include "tools/Language.h"

#include "tools/DateText.h"

#include <unicode/locid.h>
#include <unicode/numsys.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

bool IsLanguageCode(std::string_view code)
{
    return std::find(LanguageCodes.begin(), LanguageCodes.end(), code) != LanguageCodes.end();
}

std::string Choices()
{
    std::string text;
    for (const std::string_view code : LanguageCodes)
        text += std::string(code) + ", ";
    return text + "auto";
}

// The numbering system ICU's data makes the locale's default, as a digit set;
// Western when it is another one.
DigitSet DefaultDigits(const std::string& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::NumberingSystem> numbering(
        icu::NumberingSystem::createInstance(icu::Locale(locale.c_str()), status));
    if (U_FAILURE(status) || !numbering)
        return DigitSet::dsLatin;
    return FindDigitSet(numbering->getName()).value_or(DigitSet::dsLatin);
}

} // namespace

void RequireLanguageOption(std::string_view lang)
{
    if (!lang.empty() && lang != "auto" && !IsLanguageCode(lang))
        throw EUsageError("Unknown language '" + std::string(lang) + "' for --lang (choose " +
                          Choices() + ")");
}

void RequireDigitsOption(std::string_view digits)
{
    if (digits.empty() || digits == "auto" || FindDigitSet(digits))
        return;
    std::string names;
    for (const DigitSetName& entry : DigitSetNames)
        names += std::string(entry.Name) + ", ";
    throw EUsageError("Unknown digits '" + std::string(digits) + "' for --digits (choose " + names +
                      "auto)");
}

std::string SupportedLocaleOf(std::string_view posixLocale)
{
    // language[_TERRITORY][.codeset][@modifier]
    const std::string_view name = posixLocale.substr(0, posixLocale.find_first_of(".@"));
    const std::string_view language = name.substr(0, name.find('_'));
    if (!IsLanguageCode(language))
        return {};
    const std::string_view territory =
        name.size() > language.size() ? name.substr(language.size() + 1) : std::string_view{};
    const bool plainTerritory =
        !territory.empty() && territory.size() <= 3 &&
        std::all_of(territory.begin(), territory.end(),
                    [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
    return plainTerritory ? std::string(name) : std::string(language);
}

LanguageChoice ChooseLanguage(std::string_view lang, std::string_view digits,
                              std::string_view environmentLocale)
{
    RequireLanguageOption(lang);
    RequireDigitsOption(digits);
    LanguageChoice choice;
    if (lang == "auto")
        choice.Locale = SupportedLocaleOf(environmentLocale);
    else
        choice.Locale = std::string(lang);
    if (digits == "auto")
        choice.Digits = choice.Locale.empty() ? DigitSet::dsLatin : DefaultDigits(choice.Locale);
    else if (!digits.empty())
        choice.Digits = *FindDigitSet(digits);
    return choice;
}

std::string EnvironmentLocale()
{
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
            return value;
    return {};
}
