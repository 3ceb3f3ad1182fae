#include "view/key_codes.h"

#include <array>
#include <utility>

namespace sorvel {
namespace {

// X11 reports evdev codes shifted by 8.
constexpr std::int64_t kX11Offset = 8;

// evdev KEY_* code -> macOS key code.
constexpr std::pair<std::int64_t, std::int64_t> kEvdevToMac[] = {
    {1, mac_key::Escape},          // KEY_ESC
    {2, mac_key::Digit1},          // KEY_1
    {3, mac_key::Digit2},          // KEY_2
    {4, mac_key::Digit3},          // KEY_3
    {5, mac_key::Digit4},          // KEY_4
    {6, mac_key::Digit5},          // KEY_5
    {7, mac_key::Digit6},          // KEY_6
    {8, mac_key::Digit7},          // KEY_7
    {9, mac_key::Digit8},          // KEY_8
    {10, mac_key::Digit9},         // KEY_9
    {11, mac_key::Digit0},         // KEY_0
    {12, mac_key::Minus},          // KEY_MINUS
    {13, mac_key::Equal},          // KEY_EQUAL (JIS ^)
    {14, mac_key::Delete},         // KEY_BACKSPACE
    {15, mac_key::Tab},            // KEY_TAB
    {16, mac_key::Q},              // KEY_Q
    {17, mac_key::W},              // KEY_W
    {18, mac_key::E},              // KEY_E
    {19, mac_key::R},              // KEY_R
    {20, mac_key::T},              // KEY_T
    {21, mac_key::Y},              // KEY_Y
    {22, mac_key::U},              // KEY_U
    {23, mac_key::I},              // KEY_I
    {24, mac_key::O},              // KEY_O
    {25, mac_key::P},              // KEY_P
    {26, mac_key::LeftBracket},    // KEY_LEFTBRACE (JIS @)
    {27, mac_key::RightBracket},   // KEY_RIGHTBRACE (JIS [)
    {28, mac_key::Return},         // KEY_ENTER
    {30, mac_key::A},              // KEY_A
    {31, mac_key::S},              // KEY_S
    {32, mac_key::D},              // KEY_D
    {33, mac_key::F},              // KEY_F
    {34, mac_key::G},              // KEY_G
    {35, mac_key::H},              // KEY_H
    {36, mac_key::J},              // KEY_J
    {37, mac_key::K},              // KEY_K
    {38, mac_key::L},              // KEY_L
    {39, mac_key::Semicolon},      // KEY_SEMICOLON
    {40, mac_key::Quote},          // KEY_APOSTROPHE (JIS :)
    {41, mac_key::Grave},          // KEY_GRAVE
    {43, mac_key::Backslash},      // KEY_BACKSLASH (JIS ])
    {44, mac_key::Z},              // KEY_Z
    {45, mac_key::X},              // KEY_X
    {46, mac_key::C},              // KEY_C
    {47, mac_key::V},              // KEY_V
    {48, mac_key::B},              // KEY_B
    {49, mac_key::N},              // KEY_N
    {50, mac_key::M},              // KEY_M
    {51, mac_key::Comma},          // KEY_COMMA
    {52, mac_key::Period},         // KEY_DOT
    {53, mac_key::Slash},          // KEY_SLASH
    {57, mac_key::Space},          // KEY_SPACE
    {89, mac_key::JisUnderscore},  // KEY_RO
    {96, mac_key::KeypadEnter},    // KEY_KPENTER
    {103, mac_key::UpArrow},       // KEY_UP
    {105, mac_key::LeftArrow},     // KEY_LEFT
    {106, mac_key::RightArrow},    // KEY_RIGHT
    {108, mac_key::DownArrow},     // KEY_DOWN
    {124, mac_key::JisYen},        // KEY_YEN
};

constexpr std::int64_t kNone = -1;

constexpr std::array<std::int64_t, 256> buildScanCodeTable() {
    std::array<std::int64_t, 256> table{};
    for (auto& entry : table) entry = kNone;
    for (const auto& [evdev, mac] : kEvdevToMac) {
        table[static_cast<std::size_t>(evdev + kX11Offset)] = mac;
    }
    return table;
}

constexpr auto kScanCodeTable = buildScanCodeTable();

// US layout: the character of each key, unshifted and shifted.
// clang-format off
constexpr struct {
    char plain, shifted;
    std::int64_t key;
} kUsCharacters[] = {
    {'a', 'A', mac_key::A}, {'b', 'B', mac_key::B}, {'c', 'C', mac_key::C},
    {'d', 'D', mac_key::D}, {'e', 'E', mac_key::E}, {'f', 'F', mac_key::F},
    {'g', 'G', mac_key::G}, {'h', 'H', mac_key::H}, {'i', 'I', mac_key::I},
    {'j', 'J', mac_key::J}, {'k', 'K', mac_key::K}, {'l', 'L', mac_key::L},
    {'m', 'M', mac_key::M}, {'n', 'N', mac_key::N}, {'o', 'O', mac_key::O},
    {'p', 'P', mac_key::P}, {'q', 'Q', mac_key::Q}, {'r', 'R', mac_key::R},
    {'s', 'S', mac_key::S}, {'t', 'T', mac_key::T}, {'u', 'U', mac_key::U},
    {'v', 'V', mac_key::V}, {'w', 'W', mac_key::W}, {'x', 'X', mac_key::X},
    {'y', 'Y', mac_key::Y}, {'z', 'Z', mac_key::Z}, {'1', '!', mac_key::Digit1},
    {'2', '@', mac_key::Digit2}, {'3', '#', mac_key::Digit3}, {'4', '$', mac_key::Digit4},
    {'5', '%', mac_key::Digit5}, {'6', '^', mac_key::Digit6}, {'7', '&', mac_key::Digit7},
    {'8', '*', mac_key::Digit8}, {'9', '(', mac_key::Digit9}, {'0', ')', mac_key::Digit0},
    // Shift+minus types '_' on a US layout, but '_' is taken by the JIS key below.
    {'-', '-', mac_key::Minus}, {'=', '+', mac_key::Equal}, {'[', '{', mac_key::LeftBracket},
    {']', '}', mac_key::RightBracket}, {'\\', '|', mac_key::Backslash},
    {';', ':', mac_key::Semicolon}, {'\'', '"', mac_key::Quote}, {',', '<', mac_key::Comma},
    {'.', '>', mac_key::Period}, {'/', '?', mac_key::Slash}, {'`', '~', mac_key::Grave},
    {' ', ' ', mac_key::Space},
};
// clang-format on

}  // namespace

std::optional<std::int64_t> macKeyCodeFromX11ScanCode(std::int64_t nativeScanCode) {
    if (nativeScanCode < 0 || nativeScanCode >= static_cast<std::int64_t>(kScanCodeTable.size())) {
        return std::nullopt;
    }
    const std::int64_t key = kScanCodeTable[static_cast<std::size_t>(nativeScanCode)];
    if (key == kNone) return std::nullopt;
    return key;
}

std::optional<std::int64_t> x11ScanCodeOf(std::int64_t macKeyCode) {
    for (const auto& [evdev, mac] : kEvdevToMac) {
        if (mac == macKeyCode) return evdev + kX11Offset;
    }
    return std::nullopt;
}

std::string usLegendOf(std::int64_t macKeyCode) {
    if (macKeyCode == mac_key::JisYen) return "\u00a5";
    if (macKeyCode == mac_key::JisUnderscore) return "_";
    for (const auto& entry : kUsCharacters) {
        if (entry.key == macKeyCode && entry.plain != ' ') {
            return std::string(1, entry.plain >= 'a' && entry.plain <= 'z'
                                      ? static_cast<char>(entry.plain - 'a' + 'A')
                                      : entry.plain);
        }
    }
    return {};
}

std::optional<std::int64_t> macKeyCodeForUsCharacter(char32_t c) {
    if (c == U'\u00a5') return mac_key::JisYen;
    if (c == U'_') return mac_key::JisUnderscore;
    for (const auto& entry : kUsCharacters) {
        if (c == static_cast<char32_t>(entry.plain) || c == static_cast<char32_t>(entry.shifted)) {
            return entry.key;
        }
    }
    return std::nullopt;
}

}  // namespace sorvel
