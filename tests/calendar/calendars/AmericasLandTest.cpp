// The Americas' land for the Istanbul rule's exception: places on it and off it,
// its westernmost coast, and the capes that reach out west.
#include "calendar/calendars/AmericasLand.h"

#include <gtest/gtest.h>

namespace {

struct Spot {
    const char* Name;
    double Latitude;
    double Longitude;
    bool Land;
};

const Spot Spots[] = {
    {"Anchorage", 61.2, -149.9, true},
    {"Vancouver", 49.3, -123.1, true},
    {"Los Angeles", 34.05, -118.2, true},
    {"Mexico City", 19.4, -99.1, true},
    {"Panama City", 9.0, -79.5, true},
    {"Bogota", 4.7, -74.1, true},
    {"Lima", -12.05, -77.0, true},
    {"Santiago", -33.45, -70.7, true},
    {"Buenos Aires", -34.6, -58.4, true},
    {"Sao Paulo", -23.55, -46.6, true},
    {"Punta Arenas", -53.2, -70.9, true},
    {"Chicago", 41.9, -87.6, true},
    {"New York", 40.7, -74.0, true},
    {"Winnipeg", 49.9, -97.1, true},
    {"Honolulu", 21.3, -157.9, false},    // an island of Oceania
    {"Havana", 23.1, -82.4, false},       // the islands are left out
    {"Galapagos", -0.7, -90.3, false},
    {"off Peru", -10.0, -85.0, false},
    {"Gulf of Mexico", 25.0, -90.0, false},
    {"Gulf of California", 27.0, -111.5, false},
    {"Hudson Bay", 60.0, -85.0, false},
    {"mid Atlantic", 20.0, -40.0, false},
    {"London", 51.5, -0.1, false},
    {"Tokyo", 35.7, 139.7, false},
};

TEST(AmericasLand, KnowsTheMainlandFromTheSeaAndTheIslands)
{
    for (const Spot& spot : Spots)
        EXPECT_EQ(OnAmericasLand(spot.Latitude, spot.Longitude), spot.Land) << spot.Name;
}

TEST(AmericasLand, TheWesternmostCoastAlongAParallel)
{
    struct Coast {
        double Latitude;
        double WestOf;  // the coast lies west of this
        double EastOf;  // and east of this
    };
    const Coast coasts[] = {
        {65.0, -167.0, -168.0},  // the Seward Peninsula
        {55.5, -162.0, -163.0},  // the Alaska Peninsula
        {40.0, -124.0, -125.0},  // Cape Mendocino
        {20.0, -105.0, -106.0},  // Jalisco
        {-5.0, -81.0, -81.5},    // Peru's north
        {-40.0, -73.5, -74.5},   // Chile
    };
    for (const Coast& coast : coasts) {
        const std::optional<double> west = WesternmostAmericasLand(coast.Latitude);
        ASSERT_TRUE(west) << coast.Latitude;
        EXPECT_LT(*west, coast.WestOf) << coast.Latitude;
        EXPECT_GT(*west, coast.EastOf) << coast.Latitude;
        // Just inland it is land; just offshore it is not.
        EXPECT_TRUE(OnAmericasLand(coast.Latitude, *west + 0.05)) << coast.Latitude;
        EXPECT_FALSE(OnAmericasLand(coast.Latitude, *west - 0.05)) << coast.Latitude;
    }
    EXPECT_FALSE(WesternmostAmericasLand(SouthernmostAmericas - 1));
    EXPECT_FALSE(WesternmostAmericasLand(NorthernmostAmericas + 1));
}

TEST(AmericasLand, EachCapeLiesFurtherWestThanTheCoastBesideIt)
{
    ASSERT_FALSE(WesternAmericasCapes().empty());
    for (const AmericasCape& cape : WesternAmericasCapes()) {
        const std::optional<double> west = WesternmostAmericasLand(cape.Latitude);
        ASSERT_TRUE(west);
        EXPECT_NEAR(*west, cape.Longitude, 1e-9) << cape.Latitude;
        for (const double step : {-0.3, 0.3})
            EXPECT_GT(WesternmostAmericasLand(cape.Latitude + step).value_or(0), cape.Longitude) << cape.Latitude;
    }
    // And every such point of the outline is in the table: a fine walk along the
    // parallels finds no other.
    int found = 0;
    for (double latitude = SouthernmostAmericas + 0.1; latitude < NorthernmostAmericas - 0.1; latitude += 0.1) {
        const auto here = WesternmostAmericasLand(latitude);
        const auto south = WesternmostAmericasLand(latitude - 0.1);
        const auto north = WesternmostAmericasLand(latitude + 0.1);
        if (here && south && north && *here < *south && *here < *north) {
            ++found;
            bool listed = false;
            for (const AmericasCape& cape : WesternAmericasCapes())
                listed = listed || std::abs(cape.Latitude - latitude) < 0.11;
            EXPECT_TRUE(listed) << latitude;
        }
    }
    EXPECT_GT(found, 0);
}

} // namespace
