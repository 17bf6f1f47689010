// dates-convert crescent: the conjunction that opens a Hijri month and the
// crescent on the evenings of its civil day and the two days after, at a place.
#pragma once

#include "astronomy/Crescent.h"
#include "tools/ConvertOutput.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// A place as the command takes it: a name from the program's table, or
// LAT,LON[,ELEVATION_M] in decimal degrees (north and east positive) and metres.
struct CrescentPlace {
    std::optional<std::string> Name;  // none for coordinates
    astronomy::Place Where;
};

// "21.4225°N 39.8262°E": a place's latitude and longitude as the reports give them.
std::string CoordinatesText(const astronomy::Place& place);

// EUsageError for an unknown name, a latitude beyond ±90, a longitude beyond
// ±180, an elevation outside -500..9000 m or text that is neither.
CrescentPlace ParseCrescentPlace(std::string_view text);

struct CrescentReport {
    std::int32_t Year = 0;
    std::int32_t Month = 0;
    CrescentPlace Place;
    double EngineNewMoon = 0;   // the engine's mean-phase new moon of the month (UT)
    double Conjunction = 0;     // the geocentric conjunction in longitude (UT)
    std::array<astronomy::EveningReport, 3> Evenings;
};

// The month YYYY-MM in the engine's numbering. EUsageError when the month does
// not exist or its new moon falls outside the civil years -1999 to 3000, the
// span of the ΔT the series rest on.
CrescentReport DescribeCrescent(std::int32_t year, std::int32_t month, const CrescentPlace& place);

// The presentation names the month and writes the numbers of the text; with a
// language the JSON gains lang and name_local.
std::string FormatCrescentReport(const CrescentReport& report, OutputForm form,
                                 const Presentation& presentation = Presentation());
