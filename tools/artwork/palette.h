#pragma once

#include <QRgb>

#include <array>

namespace zelvo::art {

// The classic 16-colour VGA palette, in the order Windows uses for 4-bpp bitmaps.
namespace vga {
inline constexpr QRgb black = 0xff000000;
inline constexpr QRgb maroon = 0xff800000;
inline constexpr QRgb green = 0xff008000;
inline constexpr QRgb olive = 0xff808000;
inline constexpr QRgb navy = 0xff000080;
inline constexpr QRgb purple = 0xff800080;
inline constexpr QRgb teal = 0xff008080;
inline constexpr QRgb silver = 0xffc0c0c0;
inline constexpr QRgb grey = 0xff808080;
inline constexpr QRgb red = 0xffff0000;
inline constexpr QRgb lime = 0xff00ff00;
inline constexpr QRgb yellow = 0xffffff00;
inline constexpr QRgb blue = 0xff0000ff;
inline constexpr QRgb fuchsia = 0xffff00ff;
inline constexpr QRgb aqua = 0xff00ffff;
inline constexpr QRgb white = 0xffffffff;
} // namespace vga

inline constexpr std::array<QRgb, 16> kVgaPalette{
    vga::black, vga::maroon,  vga::green, vga::olive, vga::navy, vga::purple,
    vga::teal,  vga::silver,  vga::grey,  vga::red,   vga::lime, vga::yellow,
    vga::blue,  vga::fuchsia, vga::aqua,  vga::white,
};

} // namespace zelvo::art
