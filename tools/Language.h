// Which language dates-convert names dates in and which digits it writes: what
// --lang and --digits say, or what the locale environment says for `auto`.
#pragma once

#include "tools/Digits.h"

#include <array>
#include <string>
#include <string_view>

// The languages whose names dates-convert takes from ICU's locale data.
inline constexpr std::array<std::string_view, 7> LanguageCodes{"ar", "fa", "ur", "tr",
                                                               "ms", "id", "en"};

struct LanguageChoice {
    // The ICU locale the names come from: a code of LanguageCodes, with the
    // environment's region when `auto` found one ("ar_MA"). Empty: the converter's
    // own English names, as without --lang.
    std::string Locale;
    DigitSet Digits = DigitSet::dsLatin;
};

// Refuse a --lang or --digits value that is none of the choices, with EUsageError
// naming them. An empty value passes (the option was not given).
void RequireLanguageOption(std::string_view lang);
void RequireDigitsOption(std::string_view digits);

// `lang` and `digits` as given (empty when not given). `environmentLocale` is what
// the environment names for dates (see EnvironmentLocale). Without --lang the
// converter's own names stay; `auto` takes the environment's language when it is
// one of LanguageCodes and the converter's own names otherwise (C, POSIX, another
// language). Without --digits numbers stay Western; `auto` takes the default
// numbering system of the chosen locale, Western when that is none of the three
// sets or no language was chosen. EUsageError for an unknown code or set.
LanguageChoice ChooseLanguage(std::string_view lang, std::string_view digits,
                              std::string_view environmentLocale);

// "ar_SA.UTF-8@modifier" -> "ar_SA", "tr" -> "tr"; "" for C, POSIX, an empty text
// or a language outside LanguageCodes.
std::string SupportedLocaleOf(std::string_view posixLocale);

// The locale the process names for dates: LC_ALL, else LC_TIME, else LANG, the
// first that is set and not empty (the order the C library itself uses).
std::string EnvironmentLocale();
