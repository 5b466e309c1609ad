#include "matrix/report.h"

#include <algorithm>

#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"
#include "steps/stop_request.h"

namespace koravin {

void AppendHeading(std::string& report, std::string_view heading) {
    report += kLineEnd;
    report += heading;
    report += kLineEnd;
}

void AppendMatrixRows(std::string& report, const Matrix& m, int rows, int cols, std::string_view separator,
                      std::optional<int> places) {
    AppendMatrixColumns(report, m, rows, 1, cols, separator, places);
}

void AppendMatrixColumns(std::string& report, const Matrix& m, int rows, int firstColumn, int lastColumn,
                         std::string_view separator, std::optional<int> places) {
    for (int i = 1; i <= rows; ++i) {
        BetweenSteps();
        for (int j = firstColumn; j <= lastColumn; ++j) {
            report += separator;
            report += NumberText(places ? RoundDigits(m(i, j), *places) : m(i, j));
        }
        report += kLineEnd;
    }
}

int DecimalDigitsFromReply(std::string_view reply) {
    const double value = ReadLeadingNumber(reply);
    const std::optional<std::int16_t> wanted = ToInteger16(value);
    if (!wanted) return value > 0 ? kMostDecimalDigits : kFewestDecimalDigits;
    return std::clamp<int>(*wanted, kFewestDecimalDigits, kMostDecimalDigits);
}

}  // namespace koravin
