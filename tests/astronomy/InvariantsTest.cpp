// Invariants over ranges: what must hold whatever the date and the place.
#include "astronomy/Angles.h"
#include "astronomy/Conjunction.h"
#include "astronomy/Crescent.h"
#include "astronomy/RiseSet.h"
#include "astronomy/Sky.h"

#include <gtest/gtest.h>

using namespace astronomy;

TEST(Invariants, Placeholder) {}
