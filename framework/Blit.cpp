// Bit-block transfers through ROP3 codes.
#include "framework/DcInternal.h"

BOOL BitBlt(HDC, int, int, int, int, HDC, int, int, TRop3) { return false; }
BOOL StretchBlt(HDC, int, int, int, int, HDC, int, int, int, int, TRop3) { return false; }
void KeyedTransfer(TDeviceContext&, const QRect&, const QImage&, bool, const QRect&, std::uint32_t, const TPatternTile*) {}
