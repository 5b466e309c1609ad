#include "matrix/matrix_text.h"

#include <algorithm>

#include "expr/expression.h"
#include "numbers/text_utilities.h"
#include "steps/stop_request.h"

namespace koravin {
namespace {

// Runs of blanks shrink in a fixed sequence of passes, then every blank separates entries.
// Each pass is one left-to-right sweep, so the sequence is part of the format: five commas
// typed in a row survive as two.
std::string BlanksToSeparators(std::string_view text) {
    std::string result = ReplaceAll(text, "         ", " ");
    result = ReplaceAll(result, "     ", " ");
    result = ReplaceAll(result, "   ", " ");
    result = ReplaceAll(result, "  ", " ");
    result = ReplaceAll(result, " ", ",");
    return ReplaceAll(result, ",,", ",");
}

double EntryValue(std::string_view entry) {
    std::string text(entry);
    return EvaluateConstant(text);
}

// Takes the entries of one row text into the row buffer, positions 1, 2, ...: each up to the
// next comma, at most n + 1 of them; without a comma left, the rest of the row is the entry.
void ReadRowEntries(std::string_view row, Vector& rowBuffer) {
    const int lastColumn = rowBuffer.upper();
    int k = 1;
    for (auto comma = row.find(','); comma != std::string_view::npos; comma = row.find(',')) {
        rowBuffer(k) = EntryValue(row.substr(0, comma));
        row.remove_prefix(comma + 1);
        if (++k > lastColumn) return;
    }
    rowBuffer(k) = EntryValue(row);
}

}  // namespace

void ReadAugmentedMatrix(std::string_view text, int n, Matrix& matrix) {
    if (n <= 0) return;
    std::string rows = BlanksToSeparators(TrimBlanks(text));
    std::replace_if(rows.begin(), rows.end(), [](char c) { return c == '\r' || c == '\n'; }, '#');
    rows = ReplaceAll(rows, "#,", "#");
    rows = ReplaceAll(rows, ",#", "#");
    rows += '#';
    rows = ReplaceAll(rows, "#####", "#");
    rows = ReplaceAll(rows, "###", "#");
    rows = ReplaceAll(rows, "##", "#");

    std::string_view remaining = rows;
    remaining.remove_prefix(std::min(remaining.find_first_not_of(" #"), remaining.size()));

    // Not cleared between rows: a row that supplies fewer entries keeps the previous row's values.
    Vector rowBuffer(1, n + 1);
    const int filledRows = std::min(n, matrix.rows());
    const int filledColumns = std::min(n + 1, matrix.cols());
    for (int i = 1; i <= n; ++i) {
        BetweenSteps();
        const auto hash = remaining.find('#');
        const std::size_t rowLength = hash == std::string_view::npos ? 0 : hash + 1;
        // The row goes through the blank passes once more; of them only ",," -> "," still
        // finds anything, which is what turns a run of two to four commas into one.
        const std::string row = BlanksToSeparators(TrimLeadingBlanks(remaining.substr(0, rowLength)));
        ReadRowEntries(row, rowBuffer);
        if (i <= filledRows) std::copy_n(&rowBuffer(1), filledColumns, matrix.row(i));
        remaining.remove_prefix(rowLength);
    }
}

Vector ReadVector(std::string& text) {
    text = std::string(TrimBlanks(text));
    std::string_view body = text;
    body.remove_prefix(std::min(body.find_first_not_of(" \r\n"), body.size()));
    std::string line = ReplaceAll(body, "         ", " ");
    line = ReplaceAll(line, "     ", " ");
    line = ReplaceAll(line, "   ", " ");
    line = ReplaceAll(line, "  ", " ");
    line = ReplaceAll(line, "  ", " ");
    // The "0" in front takes index 0, so that the entries proper count from 1.
    line.insert(0, "0 ");
    // A line end or a typed "#" ends the first line.
    line.resize(std::min(line.find_first_of("\r\n#"), line.size()));

    std::string_view tokens = TrimBlanks(line);
    std::vector<std::string_view> entries;
    for (auto blank = tokens.find(' '); blank != std::string_view::npos; blank = tokens.find(' ')) {
        tokens.remove_prefix(blank + 1);
        entries.push_back(tokens.substr(0, tokens.find(' ')));
    }
    Vector vector(1, static_cast<int>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) vector(static_cast<int>(i) + 1) = EntryValue(entries[i]);
    return vector;
}

}  // namespace koravin
