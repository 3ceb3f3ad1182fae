#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sorvel {

// macOS virtual key codes. They name positions on the keyboard (ANSI legends, plus the two
// JIS keys), not characters, so the score window's key tables mean the same physical keys
// whatever the layout.
namespace mac_key {
inline constexpr std::int64_t A = 0, S = 1, D = 2, F = 3, H = 4, G = 5, Z = 6, X = 7, C = 8, V = 9,
                              B = 11, Q = 12, W = 13, E = 14, R = 15, Y = 16, T = 17;
inline constexpr std::int64_t Digit1 = 18, Digit2 = 19, Digit3 = 20, Digit4 = 21, Digit6 = 22,
                              Digit5 = 23, Equal = 24, Digit9 = 25, Digit7 = 26, Minus = 27,
                              Digit8 = 28, Digit0 = 29;
inline constexpr std::int64_t RightBracket = 30, O = 31, U = 32, LeftBracket = 33, I = 34, P = 35,
                              Return = 36, L = 37, J = 38, Quote = 39, K = 40, Semicolon = 41,
                              Backslash = 42, Comma = 43, Slash = 44, N = 45, M = 46, Period = 47,
                              Tab = 48, Space = 49, Grave = 50, Delete = 51, Escape = 53,
                              KeypadEnter = 76, JisYen = 93, JisUnderscore = 94;
inline constexpr std::int64_t LeftArrow = 123, RightArrow = 124, DownArrow = 125, UpArrow = 126;
}  // namespace mac_key

// The key at an X11 native scan code (the evdev KEY_* code + 8, as xcb and Wayland report
// it), or nothing for keys the score window has no use for.
std::optional<std::int64_t> macKeyCodeFromX11ScanCode(std::int64_t nativeScanCode);

// The X11 native scan code of a key: the inverse of macKeyCodeFromX11ScanCode.
std::optional<std::int64_t> x11ScanCodeOf(std::int64_t macKeyCode);

// The legend of a key on a US keyboard (the JIS keys: their JIS legends), as UTF-8; empty
// for keys without one (Return, the arrows ...).
std::string usLegendOf(std::int64_t macKeyCode);

// The key that types c on a US layout (either case of a letter, shifted symbols included);
// '\xa5' (yen) and '_' are the JIS keys. For platforms that report no physical key.
std::optional<std::int64_t> macKeyCodeForUsCharacter(char32_t c);

}  // namespace sorvel
