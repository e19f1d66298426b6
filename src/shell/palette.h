#pragma once
// The views' one palette, so that the pairs view, the board lists and the
// frequency and score-card views look alike.

#include "winsupport/gwgdi.h"

constexpr int HeaderBack = GW_RGB(0xe4, 0xe8, 0xee); // column titles
constexpr int RowBack = GW_RGB(0xff, 0xff, 0xff);
constexpr int StripeBack = GW_RGB(0xf4, 0xf6, 0xf9); // every other row
constexpr int EditBack = GW_RGB(0xcf, 0xe2, 0xf7);   // the row being typed
constexpr int EditMark = GW_RGB(0x2f, 0x6f, 0xb5);   // its bar at the left
constexpr int CardBack = GW_RGB(0xdd, 0xea, 0xdf);   // a score card's heading
constexpr int LineColour = GW_RGB(0xc8, 0xcd, 0xd4);
constexpr int TextColour = GW_RGB(0x10, 0x10, 0x10);
constexpr int DimColour = GW_RGB(0x70, 0x76, 0x80);
constexpr int WarnColour = GW_RGB(0xc8, 0x28, 0x28); // a result that cannot occur
