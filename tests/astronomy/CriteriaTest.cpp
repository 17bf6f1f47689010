// The criteria's categories at and beside every bound, and their formulae.
#include "astronomy/Criteria.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace astronomy;

namespace {

struct BoundaryCase {
    CriterionId Criterion;
    double Value;
    const char* Category;
    bool Seen;
};

double Below(double x) { return std::nextafter(x, -1e9); }
double Above(double x) { return std::nextafter(x, 1e9); }

} // namespace

TEST(Criteria, CategoriesAtAndBesideEveryBound)
{
    using enum CriterionId;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const BoundaryCase cases[] = {
        // Yallop: each range excludes its lower bound (q > bound).
        {ciYallop, Above(0.216), "A", true},   {ciYallop, 0.216, "B", true},
        {ciYallop, Above(-0.014), "B", true},  {ciYallop, -0.014, "C", false},
        {ciYallop, Above(-0.160), "C", false}, {ciYallop, -0.160, "D", false},
        {ciYallop, Above(-0.232), "D", false}, {ciYallop, -0.232, "E", false},
        {ciYallop, Above(-0.293), "E", false}, {ciYallop, -0.293, "F", false},
        {ciYallop, -5, "F", false},            {ciYallop, nan, "F", false},
        // Odeh: each zone includes its lower bound (V >= bound).
        {ciOdeh, 5.65, "A", true},             {ciOdeh, Below(5.65), "B", true},
        {ciOdeh, 2.00, "B", true},             {ciOdeh, Below(2.00), "C", false},
        {ciOdeh, -0.96, "C", false},           {ciOdeh, Below(-0.96), "D", false},
        // The threshold rules: a margin of 0 meets them.
        {ciMabims2021, 0, "met", true},        {ciMabims2021, Below(0), "not met", false},
        {ciIstanbul2016, 0, "met", true},      {ciIstanbul2016, Below(0), "not met", false},
        {ciDanjon, 0, "met", true},            {ciDanjon, Below(0), "not met", false},
    };
    for (const BoundaryCase& c : cases) {
        const Verdict v = Classify(c.Criterion, c.Value);
        EXPECT_EQ(std::string(v.Category), c.Category)
            << CriterionOf(c.Criterion).Key << " at " << c.Value;
        EXPECT_EQ(v.Seen, c.Seen) << CriterionOf(c.Criterion).Key << " at " << c.Value;
    }
}

TEST(Criteria, ThresholdRulesReadAltitudeAndElongation)
{
    using enum CriterionId;
    struct Row {
        CriterionId Criterion;
        double Altitude;
        double Elongation;
        bool Met;
    };
    const Row rows[] = {
        {ciMabims2021, 3, 6.4, true},       {ciMabims2021, 2.999, 20, false},
        {ciMabims2021, 10, 6.399, false},   {ciIstanbul2016, 5, 8, true},
        {ciIstanbul2016, 4.999, 12, false}, {ciIstanbul2016, 9, 7.999, false},
        {ciDanjon, -3, 7, true},            {ciDanjon, 30, 6.999, false},
    };
    for (const Row& row : rows) {
        CrescentInputs in;
        in.MoonAltitude = row.Altitude;
        in.Elongation = row.Elongation;
        EXPECT_EQ(Judge(row.Criterion, in).Seen, row.Met)
            << CriterionOf(row.Criterion).Key << " " << row.Altitude << " " << row.Elongation;
    }
}

TEST(Criteria, YallopAndOdehFormulae)
{
    // With no width both reduce to ARCV less their constant terms.
    EXPECT_DOUBLE_EQ(YallopQ(11.8371, 0), 0);
    EXPECT_DOUBLE_EQ(OdehV(7.1651, 0), 0);
    // W = 1': 11.8371 - 6.3226 + 0.7319 - 0.1018 = 6.1446 (Yallop); 1.4726 (Odeh).
    EXPECT_NEAR(YallopQ(10, 1), (10 - 6.1446) / 10, 1e-12);
    EXPECT_NEAR(OdehV(10, 1), 10 - 1.4726, 1e-12);
    // The two differ only in the constant term: V = 10 q + 4.672 for the same
    // ARCV and width.
    for (double w : {0.1, 0.3, 0.7, 1.5})
        EXPECT_NEAR(OdehV(9, w), 10 * YallopQ(9, w) + (11.8371 - 7.1651), 1e-12) << w;
    // Judge reads Yallop's own inputs, and Odeh's.
    CrescentInputs in;
    in.ArcvGeocentric = 12;
    in.YallopWidth = 0.5;
    in.ArcvTopocentric = 3;
    in.Width = 0.2;
    EXPECT_NEAR(Judge(CriterionId::ciYallop, in).Value, YallopQ(12, 0.5), 1e-12);
    EXPECT_NEAR(Judge(CriterionId::ciOdeh, in).Value, OdehV(3, 0.2), 1e-12);
}

TEST(Criteria, TableIsInTheOrderOfItsIds)
{
    int index = 0;
    for (const Criterion& c : CrescentCriteria())
        EXPECT_EQ(static_cast<int>(c.Id), index++) << c.Key;
    EXPECT_EQ(index, 5);
    // Each table's last row takes whatever is left.
    for (const Criterion& c : CrescentCriteria())
        EXPECT_TRUE(std::isinf(c.Categories.back().LowerBound)) << c.Key;
}
