#include "astronomy/Criteria.h"

#include <algorithm>
#include <limits>

namespace astronomy {

namespace {

constexpr double Lowest = -std::numeric_limits<double>::infinity();

// Yallop, B. D., "A method for predicting the first sighting of the new
// crescent moon", NAO Technical Note 69 (HM Nautical Almanac Office, 1997,
// updated 1998): q from the geocentric airless ARCV and the topocentric
// crescent width W' = SD' (1 - cos ARCL), at the best time Tb = Ts + 4/9 Lag;
// the six ranges as he states them, each bound exclusive from below. The note
// counts A and B as naked-eye sightings.
constexpr CrescentCategory YallopCategories[] = {
    {"A", +0.216, false, true, "easily visible to the unaided eye"},
    {"B", -0.014, false, true, "visible under perfect atmospheric conditions"},
    {"C", -0.160, false, false, "may need optical aid to find the crescent before it can be seen with the unaided eye"},
    {"D", -0.232, false, false, "will need optical aid to find the crescent"},
    {"E", -0.293, false, false, "not visible with a telescope"},
    {"F", Lowest, false, false, "not visible, below the Danjon limit"},
};

// Odeh, M. Sh., "New criterion for lunar crescent visibility", Experimental
// Astronomy 18 (2004), 39-64: V from the topocentric airless ARCV and the
// topocentric crescent width at the best time; zones bounded from below
// inclusively (V >= 5.65, 2.00 <= V < 5.65, -0.96 <= V < 2.00, V < -0.96). A
// counts as seen with the naked eye; B as seen with optical aid and possibly
// with the naked eye, which the seen flag leaves to A and B as for Yallop.
constexpr CrescentCategory OdehCategories[] = {
    {"A", 5.65, true, true, "visible by naked eye"},
    {"B", 2.00, true, true, "visible by optical aid, could be seen by naked eye"},
    {"C", -0.96, true, false, "visible by optical aid only"},
    {"D", Lowest, true, false, "not visible even by optical aid"},
};

// The threshold rules: the value is the smallest margin over their limits, so
// a margin at or above 0 meets the rule.
constexpr CrescentCategory ThresholdCategories[] = {
    {"met", 0, true, true, "the rule's limits are met"},
    {"not met", Lowest, true, false, "below the rule's limits"},
};

// MABIMS (religious-affairs ministers of Brunei, Indonesia, Malaysia and
// Singapore), criterion adopted in 2021 and applied from 1443/2022: at sunset
// the Moon's altitude at least 3° and its elongation at least 6.4°, both
// topocentric as the members' almanac offices compute them.
constexpr double MabimsAltitude = 3;
constexpr double MabimsElongation = 6.4;
// International Hijri Calendar Union Congress, Istanbul, 2016: at sunset
// somewhere on Earth the Moon's altitude at least 5° and its elongation at
// least 8° (here: at the given place).
constexpr double IstanbulAltitude = 5;
constexpr double IstanbulElongation = 8;
// Danjon, A., L'Astronomie 46 (1932), 57-66, and 50 (1936), 57: no crescent is
// seen closer than about 7° to the Sun. (Odeh's data put the limit at 6.4°.)
constexpr double DanjonElongation = 7;

constexpr Criterion Criteria[] = {
    {CriterionId::ciYallop, "yallop", "Yallop (NAO TN 69, 1997)",
     "geocentric airless ARCV and topocentric W' at the best time", "q", YallopCategories},
    {CriterionId::ciOdeh, "odeh", "Odeh (2004)",
     "topocentric airless ARCV and topocentric W at the best time", "V", OdehCategories},
    {CriterionId::ciMabims2021, "mabims", "MABIMS 2021",
     "topocentric altitude >= 3 deg and elongation >= 6.4 deg at sunset", "margin", ThresholdCategories},
    {CriterionId::ciIstanbul2016, "istanbul2016", "Istanbul 2016",
     "topocentric altitude >= 5 deg and elongation >= 8 deg at sunset", "margin", ThresholdCategories},
    {CriterionId::ciDanjon, "danjon", "Danjon limit", "topocentric elongation >= 7 deg at sunset",
     "margin", ThresholdCategories},
};

// The polynomial in the crescent width common to Yallop and Odeh (Yallop's fit
// to Bruin's curves); the two differ in its constant term.
double WidthPolynomial(double w)
{
    return ((-0.1018 * w + 0.7319) * w - 6.3226) * w;
}

double ValueOf(CriterionId id, const CrescentInputs& in)
{
    switch (id) {
    case CriterionId::ciYallop:
        return YallopQ(in.ArcvGeocentric, in.YallopWidth);
    case CriterionId::ciOdeh:
        return OdehV(in.ArcvTopocentric, in.Width);
    case CriterionId::ciMabims2021:
        return std::min(in.MoonAltitude - MabimsAltitude, in.Elongation - MabimsElongation);
    case CriterionId::ciIstanbul2016:
        return std::min(in.MoonAltitude - IstanbulAltitude, in.Elongation - IstanbulElongation);
    case CriterionId::ciDanjon:
        return in.Elongation - DanjonElongation;
    }
    return 0;
}

} // namespace

std::span<const Criterion> CrescentCriteria() { return Criteria; }

const Criterion& CriterionOf(CriterionId id) { return Criteria[static_cast<int>(id)]; }

double YallopQ(double arcvGeocentric, double yallopWidth)
{
    return (arcvGeocentric - (11.8371 + WidthPolynomial(yallopWidth))) / 10;
}

double OdehV(double arcvTopocentric, double width)
{
    return arcvTopocentric - (7.1651 + WidthPolynomial(width));
}

Verdict Judge(CriterionId id, const CrescentInputs& inputs)
{
    return Classify(id, ValueOf(id, inputs));
}

Verdict Classify(CriterionId id, double value)
{
    const Criterion& criterion = CriterionOf(id);
    Verdict verdict;
    verdict.Value = value;
    for (const CrescentCategory& category : criterion.Categories) {
        const bool inside = category.Inclusive ? verdict.Value >= category.LowerBound
                                               : verdict.Value > category.LowerBound;
        // The last row takes everything left, NaN included.
        if (inside || &category == &criterion.Categories.back()) {
            verdict.Category = category.Name;
            verdict.Seen = category.Seen;
            break;
        }
    }
    return verdict;
}

} // namespace astronomy
