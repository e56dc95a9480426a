// Double-byte classification: the fixed lead-byte ranges, the mode rule and the step.
#include "double_byte_mode.h"

#include <gtest/gtest.h>

namespace {

bool InLeadByteRanges(unsigned byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(CharacterClassTable, MarksExactlyTheFixedLeadByteRanges)
{
    for (unsigned byte = 0; byte < 256; ++byte) {
        EXPECT_EQ((CharacterClassTable[byte] & LeadByteBit) != 0, InLeadByteRanges(byte))
            << "byte 0x" << std::hex << byte;
    }
}

TEST(IsLeadByte, FollowsTheTableOnlyWhenTheModeIsOn)
{
    for (const bool mode : {false, true}) {
        DoubleByteModeScope scope(mode);
        for (unsigned byte = 0; byte < 256; ++byte) {
            EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(byte)), mode && InLeadByteRanges(byte))
                << "mode " << mode << ", byte 0x" << std::hex << byte;
        }
    }
}

TEST(DoubleByteModeFor, TurnsOnOnlyForASuccessfulAnswerWithLeadBytes)
{
    struct Row {
        bool succeeded;
        unsigned char leadBytes[2];
        bool expected;
    };
    const Row rows[] = {
        {true, {0x81, 0x9F}, true},   // code page 932
        {true, {0x81, 0x00}, true},   // either byte of the first range counts
        {true, {0x00, 0x9F}, true},
        {true, {0x00, 0x00}, false},  // single-byte code page
        {false, {0x81, 0x9F}, false}, // a failed query leaves the mode off whatever it left behind
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DoubleByteModeFor(row.succeeded, row.leadBytes), row.expected)
            << row.succeeded << " " << int{row.leadBytes[0]} << " " << int{row.leadBytes[1]};
    }
}

TEST(NextCharacter, TakesEveryByteAloneWhenTheModeIsOff)
{
    DoubleByteModeScope scope(false);
    for (const unsigned first : {0x41u, 0x81u, 0x95u, 0x9Fu, 0xE0u, 0xFCu}) {
        const char text[] = {static_cast<char>(first), '\\', '\0'};
        const Character character = NextCharacter(text);
        EXPECT_EQ(character.value, first);
        EXPECT_EQ(character.width, 1u);
    }
}

TEST(NextCharacter, CombinesALeadByteWithWhateverFollowsWhenTheModeIsOn)
{
    DoubleByteModeScope scope(true);
    struct Row {
        unsigned char first, second;
        unsigned value, width;
    };
    const Row rows[] = {
        {0x95, 0x5C, 0x955C, 2},  // second byte equal to a backslash: not a backslash
        {0x81, 0x2F, 0x812F, 2},
        {0xFC, 0x2E, 0xFC2E, 2},
        {0xE0, 0x01, 0xE001, 2},  // not a valid second byte, combined all the same
        {0x80, 0x5C, 0x80, 1},    // outside the fixed ranges, even where a code page differs
        {0xA0, 0x5C, 0xA0, 1},
        {0xDF, 0x5C, 0xDF, 1},
        {0xFD, 0x5C, 0xFD, 1},
        {0xFF, 0x5C, 0xFF, 1},
        {0x95, 0x00, 0x95, 1},    // a lead byte before the terminating NUL stands alone
    };
    for (const Row& row : rows) {
        const char text[] = {static_cast<char>(row.first), static_cast<char>(row.second), '\0'};
        const Character character = NextCharacter(text);
        EXPECT_EQ(character.value, row.value) << std::hex << int{row.first};
        EXPECT_EQ(character.width, row.width) << std::hex << int{row.first};
    }
}

}  // namespace
