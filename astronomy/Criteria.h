// Crescent-visibility criteria as one table: for each, what it reads, when, its
// thresholds, and the categories with their meanings; one function judges any
// of them.
#pragma once

#include <span>
#include <string_view>

namespace astronomy {

enum class CriterionId { ciYallop, ciOdeh, ciMabims2021, ciIstanbul2016, ciDanjon };

// The quantities the criteria read, each as the criterion's author defines it.
struct CrescentInputs {
    // At the best time (sunset + 4/9 of the lag):
    double ArcvGeocentric = 0;   // degrees, airless (Yallop)
    double ArcvTopocentric = 0;  // degrees, airless (Odeh)
    double YallopWidth = 0;      // W', arcminutes (Yallop)
    double Width = 0;            // topocentric W, arcminutes (Odeh)
    // At sunset, topocentric, airless, the Moon's centre:
    double MoonAltitude = 0;     // degrees
    double Elongation = 0;       // degrees
};

// One category: the criterion's value lies in it when it is above LowerBound
// (at or above when Inclusive). The rows of a criterion run from the best
// category down; the last has no lower bound.
struct CrescentCategory {
    std::string_view Name;     // "A" .. "F" for Yallop, "A" .. "D" for Odeh, "met" / "not met"
    double LowerBound;
    bool Inclusive;
    bool Seen;                 // whether the criterion counts the crescent as seen
    std::string_view Meaning;
};

struct Criterion {
    CriterionId Id;
    std::string_view Key;      // yallop, odeh, mabims, istanbul2016, danjon
    std::string_view Name;
    std::string_view Inputs;   // in words
    std::string_view Value;    // what is compared with the bounds
    std::span<const CrescentCategory> Categories;
};

// All criteria, in the order of CriterionId.
std::span<const Criterion> CrescentCriteria();
const Criterion& CriterionOf(CriterionId id);

// Yallop's q = (ARCV - (11.8371 - 6.3226 W' + 0.7319 W'^2 - 0.1018 W'^3)) / 10.
double YallopQ(double arcvGeocentric, double yallopWidth);
// Odeh's V = ARCV - (-0.1018 W^3 + 0.7319 W^2 - 6.3226 W + 7.1651).
double OdehV(double arcvTopocentric, double width);

struct Verdict {
    std::string_view Category;
    bool Seen = false;
    double Value = 0;  // q, V, or for a threshold rule the smallest margin in degrees
};

// The category a value of the criterion falls in.
Verdict Classify(CriterionId id, double value);

// The criterion's value for these inputs and the category it falls in.
Verdict Judge(CriterionId id, const CrescentInputs& inputs);

} // namespace astronomy
