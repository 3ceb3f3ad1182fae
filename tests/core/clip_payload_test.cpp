// The byte form of copied cells: round trips, and every kind of damage rejected whole.
// (Random damage is left to tests/fuzz/clip_payload_fuzz.cpp.)
#include "edit/clip_payload.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorvel {
namespace {

using E = ClipPayloadError;

TEST(ClipPayload, RejectsDamagedPayloadsWhole) {
    struct Case {
        std::string bytes;
        ClipPayloadError error;
    };
    const std::vector<Case> cases = {
        {"", E::Empty},
        {"sorvelcells 1 1 0,0\n", E::BadHeader},
        {"SORVELCELLS  1 1 0,0\n", E::NotNumeric},
        {"ONPU 1 1 0,0\n", E::BadHeader},
        {"SORVELCELLS 2 1 0,0\n", E::UnsupportedVersion},
        {"SORVELCELLS x 1 0,0\n", E::NotNumeric},
        {"SORVELCELLS 1 0\n", E::BadCount},
        {"SORVELCELLS 1 1000001 0,0\n", E::BadCount},
        {"SORVELCELLS 1 99999999999999999999 0,0\n", E::NotNumeric},
        {"SORVELCELLS 1 1000000 0,0\n", E::CountMismatch},  // a lying count
        {"SORVELCELLS 1 2 0,0\n", E::CountMismatch},
        {"SORVELCELLS 1 1 0,0\nX", E::CountMismatch},
        {"SORVELCELLS 1 2 17,5 4\n", E::OddCount},
        {"SORVELCELLS 1 1 17,\n", E::OddCount},
        {"SORVELCELLS 1 1 17,5", E::Truncated},
        {"SORVELCELLS 1 1 a,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 17;5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 +1,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 07,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 -0,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 1.5,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 17,5\r\n", E::NotNumeric},
        {"SORVELCELLS 1 1 39,5\n", E::PitchOutOfRange},
        {"SORVELCELLS 1 1 9223372036854775807,5\n", E::PitchOutOfRange},
        {"SORVELCELLS 1 1 9223372036854775808,5\n", E::NotNumeric},
        {"SORVELCELLS 1 1 17,65\n", E::ValueOutOfRange},
        {"SORVELCELLS 1 2 17,5 17,65\n", E::ValueOutOfRange},  // a good cell before a bad one
        {std::string("SORVELCELLS 1 1 1\0,5\n", 21), E::NotNumeric},
        {std::string(kMaxClipBytes + 1, ' '), E::TooLarge},
    };
    for (const Case& c : cases) {
        const ClipDecodeResult r = decodeClipCells(c.bytes);
        EXPECT_EQ(r.error, c.error) << c.bytes.substr(0, 60);
        EXPECT_TRUE(r.cells.empty()) << c.bytes.substr(0, 60);
        EXPECT_FALSE(describeClipError(r.error).empty());
    }
}

TEST(ClipPayload, EveryCutOffPayloadIsRejected) {
    const std::string full = encodeClipCells({{17, 12}, {38, 64}, {0, 1}});
    for (std::size_t n = 0; n < full.size(); ++n) {
        const ClipDecodeResult r = decodeClipCells(full.substr(0, n));
        EXPECT_FALSE(r.ok()) << n << ": " << full.substr(0, n);
        EXPECT_TRUE(r.cells.empty());
    }
}

}  // namespace
}  // namespace sorvel
