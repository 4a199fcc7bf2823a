#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/leading_number.h"
#include "core/runtime_error.h"

namespace tunebridge {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(LeadingNumber, ReadsTheDecimalNumberAtTheStartLikeTheOldReader) {
    const std::pair<std::string, double> rows[] = {
        {"12. ", 12}, {"  7 x", 7}, {"12abc", 12}, {"1.5.", 1.5}, {".5", 0.5}, {"-3.", -3},
        {"+4", 4},    {"abc", 0},   {"", 0},       {".", 0},      {"- 3", 0},  {"1e5", 1},
        {"\t5", 0},   {"0010", 10}, {"1 0", 1},    {std::string(400, '9'), kInfinity},
    };
    for (const auto& [text, value] : rows) EXPECT_EQ(LeadingNumber(text), value) << '"' << text << '"';
}

TEST(RoundToInt16, HalvesGoToTheEvenNeighbourAndBeyondSixteenBitsIsAnOverflow) {
    const std::pair<double, int> rows[] = {
        {0.5, 0},  {1.5, 2},  {2.5, 2},          {2.5000001, 3},     {-0.5, 0},         {-1.5, -2},
        {-2.5, -2}, {0.49, 0}, {32767.4, 32767}, {-32768.5, -32768}, {32766.5, 32766},
    };
    for (const auto& [value, rounded] : rows) EXPECT_EQ(RoundToInt16(value), rounded) << value;
    for (const double value : {32767.5, 32768.0, -32768.6, -32769.0, kInfinity, -kInfinity, std::nan("")})
        EXPECT_THROW(RoundToInt16(value), RuntimeError) << value;
}

} // namespace
} // namespace tunebridge
