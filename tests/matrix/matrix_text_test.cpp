#include "matrix/matrix_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace koravin {
namespace {

std::vector<std::vector<double>> Read(std::string_view text, int n) {
    Matrix m(n, n + 1);
    ReadAugmentedMatrix(text, n, m);
    std::vector<std::vector<double>> rows;
    for (int i = 1; i <= n; ++i) {
        rows.emplace_back();
        for (int j = 1; j <= n + 1; ++j) rows.back().push_back(m(i, j));
    }
    return rows;
}

using Rows = std::vector<std::vector<double>>;

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "\r\n";
    return text;
}

TEST(ReadAugmentedMatrix, RowsPerLineOrHash) {
    const Rows expected = {{1, 2, 3}, {4, 5, 6}};
    EXPECT_EQ(Read("1 2 3\r\n4 5 6", 2), expected);
    EXPECT_EQ(Read("1,2,3#4,5,6", 2), expected);
    EXPECT_EQ(Read("1 2 3\n4 5 6\n", 2), expected);
    EXPECT_EQ(Read("  1   2\t,3  \r\n 4,  5 ,6", 2), (Rows{{1, 2, 3}, {4, 5, 6}}));
}

TEST(ReadAugmentedMatrix, BlankLinesUpToTenAreSkipped) {
    const Rows expected = {{1, 2, 3}, {4, 5, 6}};
    for (int blank = 0; blank <= 10; ++blank) {
        const std::string text = Lines(3) + "  \r\n1 2 3\r\n" + Lines(blank) + "4 5 6" + Lines(4) + "   ";
        EXPECT_EQ(Read(text, 2), expected) << blank << " blank lines";
    }
    // A blank-only line between rows is a blank line too.
    EXPECT_EQ(Read("1 2 3\r\n    \r\n4 5 6", 2), expected);
}

TEST(ReadAugmentedMatrix, ElevenBlankLinesLeaveAnEmptyRow) {
    // The empty row reads 0 in column 1 and keeps the row before in the others.
    EXPECT_EQ(Read("1 2 3\r\n" + Lines(11) + "4 5 6", 2), (Rows{{1, 2, 3}, {0, 2, 3}}));
}

TEST(ReadAugmentedMatrix, CommaRuns) {
    EXPECT_EQ(Read("1, 2, 3", 2)[0], (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Read("1 , 2", 1)[0], (std::vector<double>{1, 2}));
    EXPECT_EQ(Read("1,,,,2,5", 2)[0], (std::vector<double>{1, 2, 5}));
    EXPECT_EQ(Read("1,,,,,2", 2)[0], (std::vector<double>{1, 0, 2}));
}

TEST(ReadAugmentedMatrix, ExtraEntriesAndRowsAreIgnored) {
    EXPECT_EQ(Read("1 2 3 4 5\r\n6 7 8 9\r\n10 11 12", 2), (Rows{{1, 2, 3}, {6, 7, 8}}));
    EXPECT_EQ(Read("1 2 9#", 1), (Rows{{1, 2}}));
}

TEST(ReadAugmentedMatrix, ShortRowsKeepTheRowBefore) {
    EXPECT_EQ(Read("1 2 3\r\n4", 2), (Rows{{1, 2, 3}, {4, 2, 3}}));
    EXPECT_EQ(Read("1 2 3 4\r\n5 6 7 8", 3), (Rows{{1, 2, 3, 4}, {5, 6, 7, 8}, {0, 6, 7, 8}}));
    EXPECT_EQ(Read("", 2), (Rows{{0, 0, 0}, {0, 0, 0}}));
}

TEST(ReadAugmentedMatrix, EntriesAreExpressions) {
    const Rows rows = Read("1/3 sqr(4) -2\r\npi 2^3 2*(-1)", 2);
    EXPECT_EQ(rows[0], (std::vector<double>{1.0 / 3, 2, -2}));
    EXPECT_DOUBLE_EQ(rows[1][0], 3.14159265358979);
    EXPECT_EQ(rows[1][1], 8);
    EXPECT_EQ(rows[1][2], -2);
    // "1 + 2" is three entries.
    const Rows spaced = Read("1 + 2", 2);
    EXPECT_EQ(spaced[0][0], 1);
    EXPECT_EQ(spaced[0][2], 2);
}

TEST(ReadAugmentedMatrix, AnyBytesAreReadWithoutFailing) {
    std::mt19937 random(7);
    const std::string alphabet = " ,#\r\n\t0123456789.+-*/^()eExpsiqrt\x80\xff\xe4\xb8\x80";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 80);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int size = length(random);
        for (int i = 0; i < size; ++i) {
            text += round % 3 == 0 ? static_cast<char>(byte(random)) : alphabet[pick(random)];
        }
        Matrix m(3, 4);
        ReadAugmentedMatrix(text, 3, m);
        std::string copy = text;
        ReadVector(copy);
    }
}

TEST(ReadVector, FirstLineOnly) {
    std::string text = "3 4\r\n5";
    const Vector v = ReadVector(text);
    ASSERT_EQ(v.size(), 2);
    EXPECT_EQ(v(1), 3);
    EXPECT_EQ(v(2), 4);

    std::string single = "7";
    const Vector seven = ReadVector(single);
    ASSERT_EQ(seven.size(), 1);
    EXPECT_EQ(seven(1), 7);
}

TEST(ReadVector, TrimsTheCallersTextAndSkipsLeadingLineEnds) {
    std::string text = "  \r\n\r\n 1    -2.5    1/4   ";
    const Vector v = ReadVector(text);
    EXPECT_EQ(text, "\r\n\r\n 1    -2.5    1/4");
    ASSERT_EQ(v.size(), 3);
    EXPECT_EQ(v(1), 1);
    EXPECT_EQ(v(2), -2.5);
    EXPECT_EQ(v(3), 0.25);
}

TEST(ReadVector, NothingToReadGivesNoEntries) {
    std::string blank = "   \r\n  ";
    EXPECT_EQ(ReadVector(blank).size(), 0);
    std::string hash = "#1 2";
    EXPECT_EQ(ReadVector(hash).size(), 0);
}

}  // namespace
}  // namespace koravin
