// The phase instants evaluated the plain way, each sine by the library's sinl of
// its own argument: the yardstick for the engine's fast sines.
#pragma once

#include <cstdint>

double StraightforwardMoonPhase(std::int32_t k, std::int32_t phase);
