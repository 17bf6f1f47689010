// Cursor identifiers: the standard cursors at negative indexes of the screen's
// cursor table, and 0 for "whatever the window under the pointer shows".
#pragma once

using TCursor = int;
enum : TCursor {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crNo = -18,
    crHandPoint = -21,
    crSizeAll = -22,
};
