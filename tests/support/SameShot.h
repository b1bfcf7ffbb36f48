#pragma once

#include "core/shot/ShotRecord.h"

#include <gtest/gtest.h>

#include <string_view>

namespace kavlon::test {

// Two records hold the same shot: every setting and text, the analysis of every
// channel, and every cell of the table as the displays read it, rows past the row
// count included.
inline void expectSameShot(const ShotRecord& actual, const ShotRecord& expected) {
    EXPECT_EQ(actual.HasShot, expected.HasShot);
    EXPECT_TRUE(static_cast<const ShotSettings&>(actual) == static_cast<const ShotSettings&>(expected));
    EXPECT_EQ(actual.TriggerLevelText, expected.TriggerLevelText);
    EXPECT_EQ(actual.ZeroText, expected.ZeroText);
    for (std::size_t c = 0; c < kChannels; ++c)
        EXPECT_TRUE(actual.Analysis[c] == expected.Analysis[c]) << "analysis of channel " << c + 1;
    EXPECT_EQ(actual.Cells.rowCount(), expected.Cells.rowCount());
    int differing = 0;
    for (int row = 0; row < ShotCells::kRows && differing < 5; ++row)
        for (int column = 0; column < ShotCells::kColumns; ++column) {
            const CellText a = actual.Cells.cellText(column, row);
            const CellText e = expected.Cells.cellText(column, row);
            if (a.view() != e.view() && differing++ < 5)
                ADD_FAILURE() << "cell " << column << "," << row << ": " << a.view() << " instead of "
                              << e.view();
        }
}

} // namespace kavlon::test
