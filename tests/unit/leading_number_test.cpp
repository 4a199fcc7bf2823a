#include "announce/leading_number.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "app/runtime_error.h"

namespace tunebridge {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
    struct Row {
        const char* text;
        double value;
    };
    const Row rows[] = {
        {"12. ", 12},   {"  7 x", 7},   {"12abc", 12},   {"1.5", 1.5},  {"1.5.", 1.5}, {".5", 0.5},
        {"-3.", -3},    {"+4", 4},      {"3.", 3},       {"abc", 0},    {"", 0},       {".", 0},
        {"-", 0},       {"- 3", 0},     {"1e5", 1},      {"\t5", 0},    {"0010", 10},  {"1 0", 1},
    };
    for (const Row& row : rows) EXPECT_EQ(LeadingNumber(row.text), row.value) << '"' << row.text << '"';

    EXPECT_EQ(LeadingNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
}

TEST(RoundToInt16, HalvesGoToTheEvenNeighbour) {
    struct Row {
        double value;
        std::int16_t rounded;
    };
    const Row rows[] = {
        {0.5, 0},        {1.5, 2},         {2.5, 2},       {2.5000001, 3}, {-0.5, 0},
        {-1.5, -2},      {-2.5, -2},       {0.49, 0},      {32767.4, 32767}, {-32768.5, -32768},
        {32766.5, 32766},
    };
    for (const Row& row : rows) EXPECT_EQ(RoundToInt16(row.value), row.rounded) << row.value;
}

TEST(RoundToInt16, OutsideSixteenBitsIsAnOverflow) {
    for (double value : {32767.5, 32768.0, -32768.6, -32769.0, 1e300, std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        try {
            RoundToInt16(value);
            ADD_FAILURE() << value << " gave no error";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), kErrOverflow) << value;
        }
    }
}

} // namespace
} // namespace tunebridge
