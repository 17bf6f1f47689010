// dates-convert crescent-map YYYY-MM-DD --png FILE [--criterion odeh|yallop]
// [--grid DEG]: the evening of a civil date over the whole world, each place
// at its own sunset, as a PNG picture of the criterion's zones.
#pragma once

#include "astronomy/Criteria.h"
#include "tools/Coastlines.h"
#include "tools/CrescentMapPicture.h"
#include "tools/DateText.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The command's options as given, checked later by ParseCrescentMapRequest.
struct CrescentMapArguments {
    std::string Png;        // --png FILE
    std::string Criterion;  // --criterion NAME (taken with the common options); empty: odeh
    std::string Grid;       // --grid DEG; empty: 1
    bool Given = false;     // any of them was given
};

// Takes --png or --grid with its value (the next argument, or
// after '=') from arguments[at], moving `at` onto the value. False for any
// other argument; EUsageError when the value is missing.
bool TakeCrescentMapOption(const std::vector<std::string>& arguments, std::size_t& at,
                           CrescentMapArguments& into);

struct CrescentMapRequest {
    DateParts Date;
    astronomy::CriterionId Criterion = astronomy::CriterionId::ciOdeh;
    double GridDegrees = 1;
    std::string PngPath;
    std::string CoastlineFile = DebianCoastlineFile;
    unsigned Threads = 0;  // for the grid; 0: one per processor
};

// The grid's step: a number of degrees from 0.25 to 10 that divides 180 into
// whole cells. EUsageError otherwise.
double ParseGridDegrees(std::string_view text);
// odeh or yallop. EUsageError otherwise.
astronomy::CriterionId ParseMapCriterion(std::string_view text);
// The whole request. EUsageError for a date that does not exist or lies
// outside the civil years -1999 to 3000 (the span of the ΔT the series rest
// on), a bad option value, or no --png.
CrescentMapRequest ParseCrescentMapRequest(std::string_view date, const CrescentMapArguments& arguments);

struct CrescentMap {
    CrescentMapPicture Picture;
    double ConjunctionUT = 0;          // the conjunction nearest the evening
    std::vector<std::string> Notices;  // what the picture lacks and why
};

// Computes the evening grid and draws it; writes nothing.
CrescentMap MakeCrescentMap(const CrescentMapRequest& request);

// Makes the map and writes it to request.PngPath atomically; each notice goes
// to `notice`. std::runtime_error when the file cannot be written.
void WriteCrescentMap(const CrescentMapRequest& request, const std::function<void(const std::string&)>& notice);
