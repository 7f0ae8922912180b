#pragma once

#include <QRgb>

// The colours that more than one window is drawn in.
namespace zelvo::layout {

inline constexpr QRgb Navy = 0x000040;
inline constexpr QRgb LightOrange = 0xFE9C61;
inline constexpr QRgb FrameGrey = 0x6E6E6E;
inline constexpr QRgb Grey = 0x474747;
inline constexpr QRgb White = 0xFFFFFF;
inline constexpr QRgb Aquamarine = 0x3CF2A9;
// The keyboard focus mark: a bright ring between dark edges, 15:1 apart.
inline constexpr QRgb FocusRing = 0xFFD800;
inline constexpr QRgb FocusEdge = 0x000000;

} // namespace zelvo::layout
