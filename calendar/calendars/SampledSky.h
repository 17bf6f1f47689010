// The Sun and the Moon over a few hours at a fraction of the full series' cost,
// for the rules that read thousands of evenings (a batch touches every month of
// its years). Over its span:
//  - the nutation is the reference instant's (it moves under 0.1" a day);
//  - the Sun is its series at two instants and the straight line through them
//    (over 12 hours its path bends from the line by under 1");
//  - the Moon is either its series at every instant (with that nutation), or
//    the cubic through its series at four instants equally spaced (steps of
//    up to 4 hours leave it within 0.1" between them).
// Outside its span it answers with FullSky.
#pragma once

#include "astronomy/Nutation.h"
#include "astronomy/Sky.h"

#include <array>

// The Sun and the Moon at one instant from their series, with one nutation.
struct SkyAtInstant {
    double Instant = 0;
    astronomy::NutationAngles Nutation{};
    astronomy::BodySky Sun{};
    astronomy::BodySky Moon{};
};
SkyAtInstant SkyAt(double jdUT);

class SampledSky final : public astronomy::SkySource {
public:
    struct Span {
        double From;  // UT Julian days
        double To;
    };

    // The Moon's series at every instant.
    SampledSky(double reference, std::array<double, 2> sunAt, Span span);
    // The Moon from four samples, equally spaced.
    SampledSky(double reference, std::array<double, 2> sunAt, std::array<double, 4> moonAt, Span span);

    // From the sky at one instant (its nutation, the first Sun and Moon samples)
    // on: the Sun also at `sunLast`, the Moon at the three `moonNext`.
    SampledSky(const SkyAtInstant& first, double sunLast, std::array<double, 3> moonNext, Span span);

    // One evening: the span of 4 hours either side of `centre`, the Sun sampled
    // 90 minutes either side, the Moon (when sampled) at the span's ends and a
    // third of the way in from each.
    static SampledSky Evening(double centre, bool sampleMoon);

    astronomy::BodySky Sun(double jdUT) const override;
    astronomy::BodySky Moon(double jdUT) const override;

private:
    bool Inside(double jdUT) const;

    astronomy::NutationAngles Nutation_;
    Span Span_;
    std::array<double, 2> SunAt_;
    std::array<astronomy::BodySky, 2> Sun_;
    bool MoonSampled_ = false;
    std::array<double, 4> MoonAt_{};
    std::array<astronomy::BodySky, 4> Moon_{};
    astronomy::FullSky Full_;
};
