#include <cmath>
#include <string>

#include "linear/linear_commands.h"
#include "matrix/matrix_text.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {

void VectorModel(CommandContext& context) {
    std::string text(TrimBlanks(context.editorText));
    context.result.clear();
    const Vector v = ReadVector(text);
    const int m = v.size();
    if (m <= 0) return;

    std::string report;
    double sumOfMagnitudes = 0;
    for (int i = 1; i <= m; ++i) {
        sumOfMagnitudes = sumOfMagnitudes + std::fabs(v(i));
        report.append("    ").append(NumberText(v(i)));
    }
    report.append(kLineEnd).append("以上是所要求解的向量，接下来输出向量的范数").append(kLineEnd).append(kLineEnd);
    report.append("向量的1范数为： ").append(NumberText(sumOfMagnitudes));

    double sumOfSquares = 0;
    for (int i = 1; i <= m; ++i) sumOfSquares = sumOfSquares + v(i) * v(i);
    report.append(kLineEnd).append("向量的2范数为： ");
    report.append(NumberText(RoundDigits(std::sqrt(sumOfSquares), context.decimalDigits)));

    double largestMagnitude = std::fabs(v(1));
    for (int i = 2; i <= m; ++i) {
        if (std::fabs(v(i)) > largestMagnitude) largestMagnitude = std::fabs(v(i));
    }
    report.append(kLineEnd).append("向量的无穷范数为： ").append(NumberText(largestMagnitude)).append(kLineEnd);
    context.result.append(report);
}

}  // namespace koravin
