// dates-convert in the languages and digits of its readers: the names against
// ICU's own symbols, dates read and written in each set of digits, the
// right-to-left month grid, --lang auto from the environment, refused options,
// and JSON that only gains keys.
#include "DatesConvertProcess.h"

#include "calendar/CalendarNames.h"
#include "tools/Digits.h"
#include "tools/Language.h"
#include "tools/Presentation.h"
#include "tools/TextWidth.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Json = nlohmann::json;

std::string Utf8(const icu::UnicodeString& text)
{
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

// ICU's names, asked here without the tool's help.
struct IcuNames {
    std::vector<std::string> Months, FormatMonths, Weekdays, FormatWeekdays;  // weekdays from Sunday
};

IcuNames AskIcu(const char* language, const char* calendar)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::DateFormatSymbols symbols(icu::Locale(language), calendar, status);
    EXPECT_TRUE(U_SUCCESS(status)) << language << " " << calendar;
    IcuNames names;
    std::int32_t count = 0;
    using Symbols = icu::DateFormatSymbols;
    const auto take = [&](const icu::UnicodeString* list, std::int32_t first) {
        std::vector<std::string> taken;
        for (std::int32_t i = first; i < count; ++i)
            taken.push_back(Utf8(list[i]));
        return taken;
    };
    names.Months = take(symbols.getMonths(count, Symbols::STANDALONE, Symbols::WIDE), 0);
    names.FormatMonths = take(symbols.getMonths(count, Symbols::FORMAT, Symbols::WIDE), 0);
    names.Weekdays = take(symbols.getWeekdays(count, Symbols::STANDALONE, Symbols::WIDE), 1);
    names.FormatWeekdays = take(symbols.getWeekdays(count, Symbols::FORMAT, Symbols::WIDE), 1);
    return names;
}

// One name per language known by heart, so that a language ICU lacks (whose
// names would fall back to the root locale's "M09") cannot pass unnoticed.
struct KnownNames {
    const char* Language;
    const char* Ramadan;
    const char* February;
    const char* Wednesday;
};
const KnownNames Known[] = {
    {"ar", "رمضان", "فبراير", "الأربعاء"},
    {"fa", "رمضان", "فوریه", "چهارشنبه"},
    {"ur", "رمضان", "فروری", "بدھ"},
    {"tr", "Ramazan", "Şubat", "Çarşamba"},
    {"ms", "Ramadan", "Februari", "Rabu"},
    {"id", "Ramadan", "Februari", "Rabu"},
    {"en", "Ramadan", "February", "Wednesday"},
};

TEST(LanguageNames, EveryLanguageNamesAsIcuDoes)
{
    ASSERT_EQ(std::size(Known), LanguageCodes.size());
    for (const KnownNames& known : Known) {
        SCOPED_TRACE(known.Language);
        const Presentation shown(known.Language, DigitSet::dsLatin);
        const IcuNames islamic = AskIcu(known.Language, "islamic");
        const IcuNames gregorian = AskIcu(known.Language, "gregorian");
        ASSERT_EQ(islamic.Months.size(), 12u);
        ASSERT_EQ(gregorian.Weekdays.size(), 7u);
        for (std::int32_t month = 1; month <= 12; ++month) {
            EXPECT_EQ(shown.HijriMonth(month), islamic.Months[month - 1]) << month;
            EXPECT_EQ(shown.CivilMonth(month), gregorian.Months[month - 1]) << month;
        }
        for (std::int32_t weekDay = 0; weekDay < 7; ++weekDay)
            EXPECT_EQ(shown.Weekday(weekDay), gregorian.Weekdays[weekDay]) << weekDay;
        EXPECT_EQ(shown.HijriMonth(9), known.Ramadan);
        EXPECT_EQ(shown.CivilMonth(2), known.February);
        EXPECT_EQ(shown.Weekday(3), known.Wednesday);
        // The tool takes the islamic calendar's names for every Hijri calendar it
        // converts by: ICU's tabular and Umm al-Qura variants must name alike.
        for (const char* variant : {"islamic-civil", "islamic-tbla", "islamic-umalqura"})
            EXPECT_EQ(AskIcu(known.Language, variant).Months, islamic.Months) << variant;
    }
}

TEST(LanguageNames, TheCommandsPrintIcusNames)
{
    for (const KnownNames& known : Known) {
        SCOPED_TRACE(known.Language);
        const IcuNames islamic = AskIcu(known.Language, "islamic");
        const IcuNames gregorian = AskIcu(known.Language, "gregorian");
        // Every Hijri month in the month-and-year name, every weekday once over a year.
        const Json year = JsonOf({"year", "1447", "--json", "--lang", known.Language});
        EXPECT_EQ(year["lang"], known.Language);
        for (std::size_t i = 0; i < 12; ++i) {
            const Json& month = year["months"][i];
            const std::string name = month["name_local"];
            EXPECT_NE(name.find(islamic.FormatMonths[i]), std::string::npos) << name;
            const std::size_t weekDay = static_cast<std::size_t>(
                std::find(DayNameTable.begin(), DayNameTable.end(), month["first_weekday"]) -
                DayNameTable.begin());
            ASSERT_LT(weekDay, 7u);
            EXPECT_EQ(month["first_weekday_local"], gregorian.Weekdays[weekDay]);
        }
        // Every civil month in a grid's title, every weekday in its days.
        for (int month = 1; month <= 12; ++month) {
            const std::string text = (month < 10 ? "2026-0" : "2026-") + std::to_string(month);
            const Json grid = JsonOf({"calendar", text, "--json", "--lang", known.Language});
            const std::string name = grid["name_local"];
            EXPECT_NE(name.find(gregorian.FormatMonths[month - 1]), std::string::npos) << name;
            for (const Json& day : grid["days"])
                EXPECT_EQ(day["weekday_local"], gregorian.Weekdays[day["weekday_number"].get<std::size_t>()]);
        }
    }
}

// The text's day report, as lines "key: value".
std::string Field(const std::string& output, const std::string& key)
{
    for (const std::string& line : LinesOf(output))
        if (line.rfind(key + ": ", 0) == 0)
            return line.substr(key.size() + 2);
    return {};
}

TEST(LanguageNames, OneDateInEveryLanguage)
{
    struct Row {
        const char* Language;
        const char* Line;  // 18 February 2026 with --digits auto
    };
    const Row rows[] = {
        {"ar", "الأربعاء، ٣٠ شعبان ١٤٤٧  =  ١٨ فبراير ٢٠٢٦"},
        {"fa", "چهارشنبه ۳۰ شعبان ۱۴۴۷  =  ۱۸ فوریهٔ ۲۰۲۶"},
        {"ur", "بدھ، 30 شعبان، 1447  =  18 فروری، 2026"},
        {"tr", "30 Şaban 1447 Çarşamba  =  18 Şubat 2026"},
        {"ms", "Rabu, 30 Syaaban 1447  =  18 Februari 2026"},
        {"id", "Rabu, 30 Syakban 1447  =  18 Februari 2026"},
        {"en", "Wednesday, Shaʻban 30, 1447  =  February 18, 2026"},
    };
    for (const Row& row : rows) {
        const ProcessResult r =
            RunDatesConvert({"to-hijri", "2026-02-18", "--lang", row.Language, "--digits", "auto"});
        ASSERT_EQ(r.ExitStatus, 0) << r.Error;
        EXPECT_EQ(Field(r.Output, "line"), row.Line) << row.Language;
    }
}

// --- digits ---

TEST(Digits, EachSetWritesAndReadsBack)
{
    const std::string ascii = "-0123456789.";
    EXPECT_EQ(InDigits(ascii, DigitSet::dsArabic), "-٠١٢٣٤٥٦٧٨٩.");
    EXPECT_EQ(InDigits(ascii, DigitSet::dsEasternArabic), "-۰۱۲۳۴۵۶۷۸۹.");
    for (const DigitSetName& set : DigitSetNames)
        EXPECT_EQ(WesternDigits(InDigits(ascii, set.Set)), ascii) << set.Name;
    // Marks around right-to-left numbers are passed over; other letters stay, so
    // that what is no date stays no date.
    EXPECT_EQ(WesternDigits("\u200f١٤٤٧\u061c-\u2066٠٩\u2069"), "1447-09");
    EXPECT_EQ(WesternDigits("١٤٤٧٫٥ x"), "1447\u066b5 x");
    char room[4];
    std::size_t length = 0;
    EXPECT_FALSE(WesternDigitsInto("١٢٣٤٥", room, sizeof room, length));
    EXPECT_TRUE(WesternDigitsInto("١٢٣٤", room, sizeof room, length));
    EXPECT_EQ(std::string(room, length), "1234");
}

struct DigitForm {
    const char* Set;
    std::string (*Write)(const std::string&);
};
std::string Arabic(const std::string& text) { return InDigits(text, DigitSet::dsArabic); }
std::string Eastern(const std::string& text) { return InDigits(text, DigitSet::dsEasternArabic); }
std::string Marked(const std::string& text) { return "\u200f" + Arabic(text) + "\u200f"; }
const DigitForm DigitForms[] = {{"arab", Arabic}, {"arabext", Eastern}, {"arab", Marked}};

TEST(Digits, EveryCommandReadsDatesInEverySet)
{
    struct Form {
        std::vector<std::string> Words;  // the command, before its argument
        std::string Argument;
    };
    const Form forms[] = {
        {{"to-hijri"}, "2026-02-18"},  {{"to-gregorian"}, "1447-09-01"},
        {{"month"}, "1447-09"},        {{"year"}, "1447"},
        {{"calendar"}, "2026-02"},     {{"calendar", "--hijri"}, "1447-09"},
        {{"observances"}, "1447"},     {{"ics"}, "1447"},
        {{"crescent"}, "1447-09"},     {{"to-hijri"}, "-0622-07-16"},
    };
    for (const Form& form : forms) {
        std::vector<std::string> arguments = form.Words;
        arguments.push_back(form.Argument);
        const ProcessOptions stamp{nullptr, 0, {}, {"SOURCE_DATE_EPOCH=0"}};
        const ProcessResult western = RunDatesConvert(arguments, stamp);
        ASSERT_EQ(western.ExitStatus, 0) << form.Argument << ": " << western.Error;
        for (const DigitForm& digits : DigitForms) {
            arguments.back() = digits.Write(form.Argument);
            const ProcessResult r = RunDatesConvert(arguments, stamp);
            EXPECT_EQ(r.ExitStatus, 0) << arguments.back() << ": " << r.Error;
            EXPECT_EQ(r.Output, western.Output) << arguments.back();
        }
    }
}

TEST(Digits, ConversionsRoundTripInEverySet)
{
    for (const DigitForm& digits : DigitForms) {
        SCOPED_TRACE(digits.Set);
        // One date each way, through the text the tool prints.
        for (const char* civil : {"2026-02-18", "1999-12-09", "-0622-07-16"}) {
            const ProcessResult there =
                RunDatesConvert({"to-hijri", digits.Write(civil), "--digits", digits.Set});
            ASSERT_EQ(there.ExitStatus, 0) << there.Error;
            EXPECT_EQ(Field(there.Output, "gregorian"), InDigits(civil, *FindDigitSet(digits.Set)));
            const ProcessResult back =
                RunDatesConvert({"to-gregorian", Field(there.Output, "hijri"), "--digits", digits.Set});
            ASSERT_EQ(back.ExitStatus, 0) << back.Error;
            EXPECT_EQ(WesternDigits(Field(back.Output, "gregorian")), civil);
        }
        // Both batch forms: the Hijri column of one is the input of the other.
        const std::string input = digits.Write("2026-02-18") + "\n" + digits.Write("1447-09-01") +
                                  "\r\n  " + digits.Write("-0001-12-30") + "\n";
        const ProcessResult there =
            RunDatesConvert({"to-hijri", "-", "--digits", digits.Set}, Input(input));
        ASSERT_EQ(there.ExitStatus, 0) << there.Error;
        std::string hijri;
        std::vector<std::string> civil;
        for (const std::string& line : LinesOf(there.Output)) {
            const std::size_t tab = line.find('\t');
            civil.push_back(line.substr(0, tab));
            hijri += line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1) + "\n";
        }
        ASSERT_EQ(civil.size(), 3u);
        // Both dates of a result are written in the set asked for.
        EXPECT_EQ(civil[0], InDigits("2026-02-18", *FindDigitSet(digits.Set)));
        EXPECT_EQ(LinesOf(hijri)[0], InDigits("1447-08-30", *FindDigitSet(digits.Set)));
        const ProcessResult back = RunDatesConvert({"to-gregorian", "-", "--digits", digits.Set}, Input(hijri));
        ASSERT_EQ(back.ExitStatus, 0) << back.Error;
        const std::vector<std::string> lines = LinesOf(back.Output);
        ASSERT_EQ(lines.size(), 3u);
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].substr(lines[i].find('\t') + 1, civil[i].size()), civil[i]);
        // The JSON form keeps Western digits in its values.
        const ProcessResult json =
            RunDatesConvert({"to-hijri", "-", "--json", "--digits", digits.Set}, Input(input));
        EXPECT_EQ(Json::parse(LinesOf(json.Output).at(0))["gregorian"], "2026-02-18");
    }
}

TEST(Digits, FractionsTakeTheDecimalSeparatorOfTheirDigits)
{
    const std::pair<const char*, const char*> sets[] = {
        {"arab", "(\u0662\u0661\u066b\u0664\u0662\u0662\u0665\u00b0N"},
        {"arabext", "(\u06f2\u06f1\u066b\u06f4\u06f2\u06f2\u06f5\u00b0N"},
        {"latn", "(21.4225\u00b0N"},
    };
    for (const auto& [set, latitude] : sets) {
        const ProcessResult r = RunDatesConvert({"crescent", "1447-09", "--digits", set});
        ASSERT_EQ(r.ExitStatus, 0) << r.Error;
        EXPECT_NE(LinesOf(r.Output).at(0).find(latitude), std::string::npos) << r.Output;
    }
}

TEST(Digits, AnArabicDigitThatIsNoDateIsRefusedNamingIt)
{
    const ProcessResult r = RunDatesConvert({"to-hijri", "٢٠٢٦-٠٢-٣٠"});
    EXPECT_EQ(r.ExitStatus, 2);
    EXPECT_EQ(r.Error, "dates-convert: there is no day 30 in February 2026, which has 28 days\n");
    const ProcessResult batch = RunDatesConvert({"to-hijri", "-"}, Input("٢٠٢٦/٠٢/١٨\n"));
    EXPECT_EQ(batch.ExitStatus, 2);
    EXPECT_EQ(batch.Error, "dates-convert: line 1: '٢٠٢٦/٠٢/١٨' is not a date of the form YYYY-MM-DD\n");
}

// --- the right-to-left grid ---

TEST(RightToLeftGrid, RamadanInArabicLineByLine)
{
    // Sunday stands at the right; every line opens with a left-to-right mark, and
    // each name and each day is an isolate of its own.
    const std::string L = "\u200e", N = "\u2067", D = "\u2066", P = "\u2069";
    const auto cell = [&](const char* text) { return D + text + P + " "; };
    const std::vector<std::string> expected = {
        L + "                   " + N + "رمضان ١٤٤٧" + P,
        L + "               " + N + "فبراير – مارس ٢٠٢٦" + P,
        L + "   " + N + "سبت" + P + "   " + N + "جمعة" + P + "   " + N + "خميس" + P + " " + N +
            "أربعاء" + P + " " + N + "ثلاثاء" + P + "  " + N + "إثنين" + P + "    " + N + "أحد" + P,
        L + cell("  ٣/٢١") + cell("  ٢/٢٠") + D + "  ١/١٩" + P,
        L + cell(" ١٠/٢٨") + cell("  ٩/٢٧") + cell("  ٨/٢٦") + cell("  ٧/٢٥") + cell("  ٦/٢٤") +
            cell("  ٥/٢٣") + D + "  ٤/٢٢" + P,
        L + cell(" ١٧/٧ ") + cell(" ١٦/٦ ") + cell(" ١٥/٥ ") + cell(" ١٤/٤ ") + cell(" ١٣/٣ ") +
            cell(" ١٢/٢ ") + D + " ١١/١ " + P,
        L + cell(" ٢٤/١٤") + cell(" ٢٣/١٣") + cell(" ٢٢/١٢") + cell(" ٢١/١١") + cell(" ٢٠/١٠") +
            cell(" ١٩/٩ ") + D + " ١٨/٨ " + P,
        L + "              " + cell(" ٢٩/١٩") + cell(" ٢٨/١٨") + cell(" ٢٧/١٧") + cell(" ٢٦/١٦") +
            D + " ٢٥/١٥" + P,
        L + N + "١ مارس ٢٠٢٦ = الأحد، ١١ رمضان ١٤٤٧" + P,
    };
    const ProcessResult r =
        RunDatesConvert({"calendar", "--hijri", "1447-09", "--lang", "ar", "--digits", "arab"});
    ASSERT_EQ(r.ExitStatus, 0) << r.Error;
    const std::vector<std::string> lines = LinesOf(r.Output);
    ASSERT_EQ(lines.size(), expected.size()) << r.Output;
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    // Every line of the grid is as wide on a terminal as the left-to-right grid's.
    for (std::size_t i = 2; i + 1 < lines.size(); ++i)
        EXPECT_LE(DisplayWidth(lines[i]), 7u * 7u - 1u) << "line " << i + 1;
}

TEST(RightToLeftGrid, LeftToRightLanguagesKeepSundayAtTheLeft)
{
    const ProcessResult r = RunDatesConvert({"calendar", "2026-02", "--lang", "tr"});
    ASSERT_EQ(r.ExitStatus, 0) << r.Error;
    const std::vector<std::string> lines = LinesOf(r.Output);
    ASSERT_EQ(lines.size(), 8u);  // February 2026 opens on a Sunday: four weeks
    EXPECT_EQ(lines[0], "               Şubat 2026");
    EXPECT_EQ(lines[1], "          Şaban – Ramazan 1447");
    EXPECT_EQ(lines[2], "Pa    Pt    Sa    Ça    Pe    Cu    Ct");
    EXPECT_EQ(lines[3], " 1/13  2/14  3/15  4/16  5/17  6/18  7/19");
    EXPECT_EQ(lines[6], "22/4  23/5  24/6  25/7  26/8  27/9  28/10");
    EXPECT_EQ(lines[7], "1 Ramazan 1447 = 19 Şubat 2026 Perşembe");
}

// --- choosing the language ---

TEST(LanguageChoice, AutoReadsTheLocaleEnvironment)
{
    struct Row {
        std::vector<std::string> Environment;  // LC_ALL, LC_TIME, LANG
        const char* Lang;                      // "" when the converter's own names stay
        const char* Wednesday;                 // with --digits auto, the day 18
    };
    const Row rows[] = {
        {{"LC_ALL=", "LC_TIME=", "LANG=ar_SA.UTF-8"}, "ar", "١٨"},
        {{"LC_ALL=", "LC_TIME=fa_IR.UTF-8", "LANG=en_US.UTF-8"}, "fa", "۱۸"},
        {{"LC_ALL=tr_TR.UTF-8", "LC_TIME=fa_IR.UTF-8", "LANG=ar"}, "tr", "18"},
        {{"LC_ALL=", "LC_TIME=ur_IN", "LANG="}, "ur", "۱۸"},       // India's Urdu: Eastern digits
        {{"LC_ALL=", "LC_TIME=ar_MA.UTF-8", "LANG="}, "ar", "18"},  // the Maghreb: Western digits
        {{"LC_ALL=ms_MY.UTF-8@euro", "LC_TIME=", "LANG="}, "ms", "18"},
        {{"LC_ALL=", "LC_TIME=", "LANG=C.UTF-8"}, "", "18"},
        {{"LC_ALL=", "LC_TIME=", "LANG=de_DE.UTF-8"}, "", "18"},
        {{"LC_ALL=", "LC_TIME=", "LANG="}, "", "18"},
    };
    for (const Row& row : rows) {
        const ProcessOptions environment{nullptr, 0, {}, row.Environment};
        const Json day = JsonOf({"to-hijri", "2026-02-18", "--json", "--lang", "auto", "--digits", "auto"},
                                environment);
        SCOPED_TRACE(row.Environment[0] + " " + row.Environment[1] + " " + row.Environment[2]);
        if (*row.Lang == '\0') {
            EXPECT_FALSE(day.contains("lang"));
            EXPECT_FALSE(day.contains("line_local"));
        } else {
            EXPECT_EQ(day["lang"], row.Lang);
            EXPECT_NE(day["line_local"].get<std::string>().find(row.Wednesday), std::string::npos)
                << day["line_local"];
        }
    }
    EXPECT_EQ(SupportedLocaleOf("fa_IR.UTF-8@modifier"), "fa_IR");
    EXPECT_EQ(SupportedLocaleOf("en"), "en");
    EXPECT_EQ(SupportedLocaleOf("tr_x.UTF-8"), "tr");  // no territory of ICU's spelling
    EXPECT_EQ(SupportedLocaleOf("ar_001.UTF-8"), "ar_001");  // a region by its number
    EXPECT_EQ(SupportedLocaleOf("POSIX"), "");
}

TEST(LanguageChoice, AnUnknownLanguageOrDigitSetExits2WithOneLine)
{
    const std::vector<std::string> refused[] = {
        {"to-hijri", "2026-02-18", "--lang", "de"},
        {"to-hijri", "2026-02-18", "--lang=AR"},
        {"calendar", "--lang"},
        {"--lang", "", "today"},
        {"to-hijri", "-", "--digits", "roman"},
        {"year", "1447", "--digits=hindi"},
        {"today", "--digits"},
    };
    for (const auto& arguments : refused) {
        const ProcessResult r = RunDatesConvert(arguments);
        EXPECT_EQ(r.ExitStatus, 2) << arguments.back();
        EXPECT_EQ(r.Output, "");
        EXPECT_EQ(LinesOf(r.Error).size(), 1u) << r.Error;
        EXPECT_EQ(r.Error.rfind("dates-convert: ", 0), 0u) << r.Error;
    }
    EXPECT_EQ(RunDatesConvert({"today", "--lang", "de"}).Error,
              "dates-convert: unknown language 'de' for --lang (choose ar, fa, ur, tr, ms, id, en, auto)\n");
    EXPECT_EQ(RunDatesConvert({"today", "--digits", "roman"}).Error,
              "dates-convert: unknown digits 'roman' for --digits (choose latn, arab, arabext, auto)\n");
}

// --- JSON: keys never translated ---

// Every key of `plain` stands in `local` with the same value, and `local` adds
// only `lang` and KEY_local keys.
void ExpectOnlyAdded(const Json& plain, const Json& local, const std::string& where)
{
    if (plain.is_array()) {
        ASSERT_TRUE(local.is_array()) << where;
        ASSERT_EQ(plain.size(), local.size()) << where;
        for (std::size_t i = 0; i < plain.size(); ++i)
            ExpectOnlyAdded(plain[i], local[i], where + "[" + std::to_string(i) + "]");
        return;
    }
    if (!plain.is_object()) {
        EXPECT_EQ(plain, local) << where;
        return;
    }
    ASSERT_TRUE(local.is_object()) << where;
    for (const auto& [key, value] : plain.items()) {
        ASSERT_TRUE(local.contains(key)) << where << "." << key;
        ExpectOnlyAdded(value, local[key], where + "." + key);
    }
    for (const auto& [key, value] : local.items()) {
        if (!plain.contains(key)) {
            EXPECT_TRUE(key == "lang" || key.ends_with("_local")) << where << "." << key;
        }
    }
}

TEST(LanguageJson, KeysAndValuesStayAndNamesComeInAddedKeys)
{
    struct Command {
        std::vector<std::string> Arguments;
        std::vector<const char*> Added;  // the names a language adds beside the object's own
    };
    const Command commands[] = {
        {{"to-hijri", "2026-02-18"}, {"weekday_local", "line_local"}},
        {{"to-gregorian", "1447-09-01", "--calendar", "umalqura"}, {"weekday_local", "line_local"}},
        {{"month", "1447-09"}, {"name_local", "first_weekday_local"}},
        {{"month", "1447-09", "--calendar", "civil"}, {"name_local", "first_weekday_local"}},
        {{"year", "1446"}, {}},
        {{"calendar", "2026-02"}, {"name_local", "hijri_months_local"}},
        {{"calendar", "--hijri", "1447-09"}, {"name_local", "gregorian_months_local"}},
        {{"observances", "1447"}, {}},
        {{"crescent", "1447-09"}, {"name_local"}},
    };
    for (const Command& command : commands) {
        std::vector<std::string> arguments = command.Arguments;
        arguments.push_back("--json");
        const Json plain = JsonOf(arguments);
        for (const char* language : {"ar", "tr"}) {
            std::vector<std::string> local = arguments;
            local.insert(local.end(), {"--lang", language, "--digits", "arab"});
            const Json translated = JsonOf(local);
            ExpectOnlyAdded(plain, translated, arguments[0]);
            EXPECT_EQ(translated["lang"], language) << arguments[0];
            for (const char* key : command.Added)
                EXPECT_TRUE(translated.contains(key)) << arguments[0] << " lacks " << key;
        }
    }
    const ProcessResult batch =
        RunDatesConvert({"to-hijri", "-", "--json", "--lang", "fa"}, Input("2026-02-18\n"));
    const ProcessResult plainBatch = RunDatesConvert({"to-hijri", "-", "--json"}, Input("2026-02-18\n"));
    const Json line = Json::parse(batch.Output);
    ExpectOnlyAdded(Json::parse(plainBatch.Output), line, "batch");
    EXPECT_EQ(line["weekday_local"], "چهارشنبه");
}

// --- widths ---

TEST(TextWidth, CountsWhatATerminalShows)
{
    struct Row {
        const char* Text;
        std::size_t Columns;
    };
    const Row rows[] = {
        {"Ramadhan", 8},
        {"21.50\u00b0", 6},            // a degree sign is one column, two bytes
        {"رمضان", 5},
        {"ربیع\u200cالاول", 9},        // a zero-width non-joiner takes none
        {"\u2067رمضان\u2069\u200e", 5},  // nor do directional marks
        {"e\u0301", 1},                // a combining accent joins its letter
        {"日本", 4},                    // East Asian wide letters take two
    };
    for (const Row& row : rows)
        EXPECT_EQ(DisplayWidth(row.Text), row.Columns) << row.Text;
}

} // namespace
