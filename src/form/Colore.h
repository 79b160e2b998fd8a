#pragma once
// Colours as the window's controls hold them (RGB), and the ones the design uses.

#include <cstdint>

namespace ondrix {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace colore {
constexpr Rgb Grigio{192, 192, 192};
constexpr Rgb Arancio{255, 128, 0};
constexpr Rgb Rosso{255, 0, 0};
constexpr Rgb Verde{0, 255, 0};
constexpr Rgb GialloPallido{255, 255, 128};
constexpr Rgb Giallo{255, 255, 0};
constexpr Rgb Nero{0, 0, 0};
constexpr Rgb Bianco{255, 255, 255};
constexpr Rgb VerdeScuro{0, 128, 0};
constexpr Rgb Pannello{224, 224, 224};  // button face of frames and text boxes
}

} // namespace ondrix
