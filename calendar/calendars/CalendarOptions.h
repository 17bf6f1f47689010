// What a calendar reckoned at a place needs from the user: the place and the
// crescent criterion (only `sighting` reads them). Every other calendar ignores
// them.
#pragma once

#include "astronomy/Criteria.h"
#include "astronomy/Places.h"

#include <string>

struct CalendarOptions {
    // The place's name as the reasons give it ("Mecca", "21.4225°N 39.8262°E").
    std::string PlaceName{astronomy::DefaultPlace().Name};
    astronomy::Place Place = astronomy::DefaultPlace().Where;
    astronomy::CriterionId Criterion = astronomy::CriterionId::ciOdeh;
};
