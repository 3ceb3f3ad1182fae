#include "view/key_codes.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>

namespace sorvel {
namespace {

// Every key the score window's tables use, by its evdev name, with the macOS key code of
// the same position.
TEST(KeyCodes, X11ScanCodesOfEveryTableKey) {
    // clang-format off
    const struct {
        int evdev;
        std::int64_t mac;
    } keys[] = {
        // piano
        {KEY_A, 0}, {KEY_W, 13}, {KEY_S, 1}, {KEY_D, 2}, {KEY_R, 15}, {KEY_F, 3}, {KEY_T, 17},
        {KEY_G, 5}, {KEY_H, 4}, {KEY_U, 32}, {KEY_J, 38}, {KEY_I, 34}, {KEY_K, 40}, {KEY_O, 31},
        {KEY_L, 37}, {KEY_SEMICOLON, 41}, {KEY_LEFTBRACE, 33}, {KEY_APOSTROPHE, 39},
        // note values
        {KEY_1, 18}, {KEY_2, 19}, {KEY_3, 20}, {KEY_4, 21}, {KEY_5, 23}, {KEY_6, 22}, {KEY_0, 29},
        {KEY_DOT, 47}, {KEY_MINUS, 27}, {KEY_EQUAL, 24}, {KEY_YEN, 93},
        // pitch steps and selection
        {KEY_UP, 126}, {KEY_DOWN, 125}, {KEY_RIGHTBRACE, 30}, {KEY_LEFT, 123}, {KEY_RIGHT, 124},
        // score commands
        {KEY_ENTER, 36}, {KEY_SLASH, 44}, {KEY_RO, 94}, {KEY_BACKSPACE, 51}, {KEY_9, 25},
        {KEY_8, 28}, {KEY_BACKSLASH, 42}, {KEY_ESC, 53},
        // the rest
        {KEY_Q, 12}, {KEY_Z, 6}, {KEY_M, 46}, {KEY_COMMA, 43}, {KEY_7, 26}, {KEY_SPACE, 49},
    };
    // clang-format on
    std::set<std::int64_t> seen;
    for (const auto& k : keys) {
        SCOPED_TRACE(k.evdev);
        EXPECT_EQ(macKeyCodeFromX11ScanCode(k.evdev + 8), k.mac);
        EXPECT_TRUE(seen.insert(k.mac).second) << "two keys give " << k.mac;
    }
}

TEST(KeyCodes, X11ScanCodesWithoutAKey) {
    // Modifiers, function keys, unused codes and codes out of range give nothing.
    for (std::int64_t code : {-1LL, 0LL, 8LL, 37LL /* left Ctrl */, 50LL /* left Shift */,
                              67LL /* F1 */, 87LL /* keypad 1 */, 255LL, 256LL, 100000LL}) {
        EXPECT_FALSE(macKeyCodeFromX11ScanCode(code).has_value()) << code;
    }
}

TEST(KeyCodes, UsCharacters) {
    const struct {
        char32_t c;
        std::int64_t mac;
    } keys[] = {
        {U'a', 0},  {U'S', 1},  {U':', 41}, {U'{', 33},      {U'"', 39}, {U'!', 18},
        {U'6', 22}, {U'^', 22}, {U')', 29}, {U'>', 47},      {U'+', 24}, {U'}', 30},
        {U'?', 44}, {U'*', 28}, {U'|', 42}, {U'\u00a5', 93}, {U'_', 94}, {U'`', 50},
    };
    for (const auto& k : keys) {
        EXPECT_EQ(macKeyCodeForUsCharacter(k.c), k.mac) << static_cast<std::uint32_t>(k.c);
    }
    for (char32_t c : {U'\0', U'\n', U'\u00e9', U'\u3042', char32_t{0x110000}}) {
        EXPECT_FALSE(macKeyCodeForUsCharacter(c).has_value()) << static_cast<std::uint32_t>(c);
    }
}

}  // namespace
}  // namespace sorvel
