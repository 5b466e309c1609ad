#include "matrix/report.h"

#include <gtest/gtest.h>

#include <limits>

namespace koravin {
namespace {

TEST(Report, HeadingFollowsAnEmptyLine) {
    std::string report = "  1\r\n";
    AppendHeading(report, "输出求解结果");
    EXPECT_EQ(report, "  1\r\n\r\n输出求解结果\r\n");
}

TEST(Report, MatrixRowsAsTheyAreOrRounded) {
    Matrix m(2, 3);
    m(1, 1) = 2.0 / 3;
    m(1, 2) = -1;
    m(1, 3) = 1e-5;
    m(2, 1) = std::numeric_limits<double>::infinity();
    m(2, 2) = -std::numeric_limits<double>::infinity();
    m(2, 3) = std::numeric_limits<double>::quiet_NaN();
    std::string asTheyAre;
    AppendMatrixRows(asTheyAre, m, 2, 3, "  ", std::nullopt);
    EXPECT_EQ(asTheyAre, "  0.666666666666667  -1  1E-05\r\n  Inf  -Inf  NaN\r\n");
    std::string rounded;
    AppendMatrixRows(rounded, m, 1, 3, "  ", 6);
    EXPECT_EQ(rounded, "  0.666667  -1  1E-05\r\n");
    std::string sixteen;
    AppendMatrixRows(sixteen, m, 1, 1, ",", 16);
    EXPECT_EQ(sixteen, ",0.666666666666667\r\n");
}

}  // namespace
}  // namespace koravin

namespace koravin {
namespace {

TEST(DecimalDigitsFromReply, TheLeadingNumberToTheNearestWholeWithinOneToSixteen) {
    const std::pair<const char*, int> cases[] = {
        {"3", 3}, {" 16 ", 16}, {"17", 16}, {"0", 1}, {"-5", 1}, {"", 1}, {"abc", 1}, {"2.5", 2}, {"3.5", 4},
        {"1e9", 16}, {"-1e9", 1}, {"&H0A", 10}, {"7位", 7}};
    for (const auto& [reply, digits] : cases) EXPECT_EQ(DecimalDigitsFromReply(reply), digits) << reply;
}

}  // namespace
}  // namespace koravin
