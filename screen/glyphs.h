// The code page 437 characters the screens draw with: input dots, rules, bars and corners.
#pragma once

#include <cstdint>
#include <string>

namespace vellano::screen {

inline constexpr std::uint8_t kDot = 0xFA;  // an empty input position
inline constexpr std::uint8_t kRule = 0xC4;  // ─
inline constexpr std::uint8_t kBar = 0xB3;   // │
inline constexpr std::uint8_t kTopLeft = 0xDA;
inline constexpr std::uint8_t kTopRight = 0xBF;
inline constexpr std::uint8_t kBottomLeft = 0xC0;
inline constexpr std::uint8_t kBottomRight = 0xD9;
inline constexpr std::uint8_t kTeeDown = 0xC2;   // ┬
inline constexpr std::uint8_t kTeeUp = 0xC1;     // ┴
inline constexpr std::uint8_t kTeeRight = 0xC3;  // ├
inline constexpr std::uint8_t kTeeLeft = 0xB4;   // ┤
inline constexpr std::uint8_t kCross = 0xC5;     // ┼

inline std::string repeated(std::uint8_t glyph, std::size_t n) { return std::string(n, static_cast<char>(glyph)); }
// An input area of n positions.
inline std::string dots(std::size_t n) { return repeated(kDot, n); }
inline std::string rule(std::size_t n) { return repeated(kRule, n); }
inline std::string bar() { return repeated(kBar, 1); }

}  // namespace vellano::screen
