#include "core/displays/DisplayNames.h"

#include <gtest/gtest.h>

namespace kavlon {
namespace {

TEST(DisplayNames, NamesCarryTwoDigits) {
    EXPECT_EQ(displayName(kind::Data, 0), "Data00");
    EXPECT_EQ(displayName(kind::Measure, 12), "Measure12");
    EXPECT_EQ(displayName(kind::QuickPrintData, 3), "QP_Data03");
    EXPECT_EQ(displayName(kind::FFT, 97), "FFT97");
}

TEST(DisplayNames, NumberComesBackFromTheCaption) {
    struct Case {
        const char* caption;
        std::optional<int> number;
    };
    const Case cases[] = {
        {"Data07", 7},      {"Scope01", 1}, {"Measure12", 12}, {"FFT99", 99},  {"QP_Data03", 3},
        {"QP_Scope45", 45}, {"Data", {}},   {"Data7", {}},     {"DataXY", {}}, {"/tmp/a.bmp", {}},
        {"", {}},           {"Scope0", {}}, {"Data123", 12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(displayNumberFromCaption(c.caption), c.number) << c.caption;
}

TEST(DisplayNames, TheFirstFreeNumberAmongTheOpenCountPlusOne) {
    std::array<int, 100> numbers;
    numbers.fill(-1);
    EXPECT_EQ(chooseDisplayNumber(numbers, 0), 0);
    numbers[0] = 0;
    numbers[1] = 1;
    numbers[3] = 3;
    EXPECT_EQ(chooseDisplayNumber(numbers, 3), 2);
    numbers[2] = 2;
    EXPECT_EQ(chooseDisplayNumber(numbers, 4), 4);
    // Entries used beyond the open count cannot be reached: none free gives 0.
    EXPECT_EQ(chooseDisplayNumber(numbers, 2), 0);
    EXPECT_EQ(chooseDisplayNumber(numbers, 500), 4);
}

TEST(DisplayNames, SourceBoxesOfferDataAndQuickPrintData) {
    EXPECT_TRUE(isSourceCandidate("Data00"));
    EXPECT_TRUE(isSourceCandidate("QP_Data01"));
    EXPECT_FALSE(isSourceCandidate("QP_Scope01"));
    EXPECT_FALSE(isSourceCandidate("Scope02"));
    EXPECT_FALSE(isSourceCandidate("Dat"));
}

} // namespace
} // namespace kavlon
