// The rule of the unified calendar adopted by the Istanbul congress of 2016, for
// one UT date D, the month opening on D + 1 when the rule holds:
//
//  - somewhere on Earth, at local sunset before 24:00 UT of D, the Moon's
//    altitude is at least 5° and its elongation at least 8°; or
//  - the Americas' exception: the two are met only after 24:00 UT, but on land
//    in the Americas (at sunset on the local date D), and the conjunction falls
//    before dawn of D + 1 in New Zealand.
//
// Altitude and elongation as the criteria table reads them: topocentric,
// airless, the Moon's centre, at sea level. Dawn is the Sun 18° below the
// horizon at Wellington. Land is AmericasLand's outline.
//
// The search: along a parallel, a place further west has its sunset later and
// an older, higher Moon, so the best places before 24:00 UT lie on the line
// where the Sun sets at 24:00 UT, and the best place of the Americas on a
// parallel is its westernmost land. The line is searched from the latitude
// where the Moon stands straight above the setting Sun outward every 5°, the
// Americas' coast every 4° and at the capes that reach out west; then every 1°
// and 0.1° around the best, when it comes near the rule. The first place that
// meets the rule ends the search. The Sun's and the Moon's places at 24:00 UT
// come from their series; later sunsets in the Americas read them from samples
// of the series 4 hours apart (SampledSky), to a tenth of an arcsecond.
#pragma once

#include "astronomy/Coordinates.h"

#include <cstdint>
#include <optional>

// A place the search looked at, at its sunset.
struct IstanbulPlace {
    astronomy::Place Where;
    double Sunset = 0;        // UT Julian day
    double MoonAltitude = 0;  // degrees
    double Elongation = 0;    // degrees
    double Margin = 0;        // the smaller of altitude - 5° and elongation - 8°; met at 0 or more
};

struct IstanbulDay {
    std::int64_t Day = 0;  // the UT date D (day number)
    // Before 24:00 UT.
    bool ConjunctionBeforeMidnight = false;
    bool TooYoung = false;  // the Moon is too young at 24:00 UT to be 8° from the Sun anywhere
    double GeocentricElongation = 0;  // at 24:00 UT, when not too young
    bool Searched = false;  // false when the elongation at 24:00 UT rules every place out
    std::optional<IstanbulPlace> Best;  // the first place meeting the rule, else the best found
    // After 24:00 UT in the Americas; tried only when the rule is not met before.
    bool ExceptionTried = false;
    bool ConjunctionBeforeDawn = false;  // of D + 1 in New Zealand
    std::optional<IstanbulPlace> BestInAmericas;

    bool MetBeforeMidnight() const { return Best && Best->Margin >= 0; }
    bool MetInAmericas() const { return ConjunctionBeforeDawn && BestInAmericas && BestInAmericas->Margin >= 0; }
    bool Opens() const { return MetBeforeMidnight() || MetInAmericas(); }
};

// The rule on the UT date `day` for the conjunction that opens `month`.
IstanbulDay JudgeIstanbulDay(std::int32_t month, std::int64_t day);

// Dawn of a civil date in New Zealand (at Wellington, in local mean time), UT.
double NewZealandDawn(std::int64_t day);
