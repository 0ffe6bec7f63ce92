#include "AciColours.h"

#include <array>
#include <cmath>

namespace lintrel::preview {
namespace {

constexpr std::array<Rgb, 10> kFirstTen = {0xFFFFFF, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF,
                                           0x0000FF, 0xFF00FF, 0xFFFFFF, 0x808080, 0xC0C0C0};
constexpr std::array<Rgb, 6> kGreys = {0x333333, 0x505050, 0x696969, 0x828282, 0xBEBEBE, 0xFFFFFF};
// The brightness of the five shades of each hue, from full to darkest.
constexpr std::array<double, 5> kValues = {255, 204, 153, 127, 76};

Rgb channelsOf(double r, double g, double b) {
    auto byte = [](double value) { return static_cast<Rgb>(std::floor(value + 1e-9)); };
    return byte(r) << 16 | byte(g) << 8 | byte(b);
}

// Indexes 10..249 run through 24 hues 15 degrees apart, each in five shades, every shade at full
// saturation (even index) and at half (odd index).
Rgb hueColour(int index) {
    const int k = index - 10;
    const int hueStep = k / 10;  // ten indexes to a hue
    const double hue = hueStep * 15.0;
    const int shade = (k % 10) / 2;
    const double value = kValues[static_cast<std::size_t>(shade)];
    const double lowest = (k % 2 == 0) ? 0 : value / 2;
    const int sector = static_cast<int>(hue / 60);
    const double fraction = (hue - sector * 60) / 60;
    const double rising = lowest + (value - lowest) * fraction;
    const double falling = value - (value - lowest) * fraction;
    switch (sector) {
        case 0:
            return channelsOf(value, rising, lowest);
        case 1:
            return channelsOf(falling, value, lowest);
        case 2:
            return channelsOf(lowest, value, rising);
        case 3:
            return channelsOf(lowest, falling, value);
        case 4:
            return channelsOf(rising, lowest, value);
        default:
            return channelsOf(value, lowest, falling);
    }
}

}  // namespace

Rgb aciColour(int index) {
    if (index >= 1 && index <= 9) {
        return kFirstTen[static_cast<std::size_t>(index)];
    }
    if (index >= 10 && index <= 249) {
        return hueColour(index);
    }
    if (index >= 250 && index <= 255) {
        return kGreys[static_cast<std::size_t>(index - 250)];
    }
    return 0xFFFFFF;
}

}  // namespace lintrel::preview
