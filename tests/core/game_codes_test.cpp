#include "model/game_codes.h"

#include <gtest/gtest.h>

namespace meshforge {
namespace {

TEST(GameCodes, ReboundNamesAndCodes) {
    struct Row {
        int32_t code;
        const char* name;
    };
    for (const Row& r : {Row{0, "Undefined"}, Row{10, "TireWall"}, Row{15, "WoodFence"},
                         Row{16, "16"}, Row{-1, "-1"}, Row{2147483647, "2147483647"}})
        EXPECT_EQ(ReboundName(r.code), r.name) << r.code;

    struct Parse {
        const char* text;
        std::optional<int32_t> code;
    };
    for (const Parse& p :
         {Parse{"TireWall", 10}, Parse{"tirewall", 10}, Parse{"Undefined", 0}, Parse{"15", 15},
          Parse{"0", 0}, Parse{"16", std::nullopt}, Parse{"-1", std::nullopt},
          Parse{"", std::nullopt}, Parse{"3x", std::nullopt}, Parse{"Tire", std::nullopt},
          Parse{"99999999999", std::nullopt}})
        EXPECT_EQ(ReboundCodeOf(p.text), p.code) << p.text;
}

TEST(GameCodes, DisplayClassEntriesAndTexts) {
    struct Row {
        int32_t code;
        std::optional<std::size_t> entry;
        const char* text;
    };
    for (const Row& r :
         {Row{0, 0, "Track surface        (Textured on/off)"},
          Row{8, 8, "Tree                       (Entire Object on/off)"},
          Row{17, 9, "Driver arms            (Entire Object on/off)"},
          Row{20, 12, "Racing groove      (Entire Object on/off)"}, Row{9, std::nullopt, "9"},
          Row{21, std::nullopt, "21"}, Row{-3, std::nullopt, "-3"}}) {
        EXPECT_EQ(DisplayClassEntryOf(r.code), r.entry) << r.code;
        EXPECT_EQ(DisplayClassText(r.code), r.text) << r.code;
    }
}

} // namespace
} // namespace meshforge
