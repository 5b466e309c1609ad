#include "expr/prepare_expression.h"

#include <algorithm>

#include "numbers/text_utilities.h"

namespace koravin {
namespace {

bool IsDigitOrPoint(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// After a binary operator a number literal gets its own explicit "+", so that the evaluator,
// which reads a number together with a leading sign, never swallows a binary "-" into it.
void MarkSignedLiterals(std::string& text) {
    std::size_t k = 0;  // 0-based position of the sign
    while (true) {
        k = text.find_first_of("+-", k);
        if (k == std::string::npos) return;
        bool qualifies = false;
        if (k > 0) {
            const char before = text[k - 1];
            const bool operandBefore = before != '+' && before != '-' && before != '(';
            const bool numberAfter = k + 1 >= text.size() || IsDigitOrPoint(text[k + 1]);
            qualifies = operandBefore && numberAfter;
        }
        if (qualifies) text.insert(k + 1, 1, '+');
        k += 2;
    }
}

}  // namespace

void PrepareExpression(std::string& text) {
    text = ReplaceAll(text, "f(x)=", "");
    text = ReplaceAll(text, "f(x)", "");
    if (const auto equals = text.find('='); equals != std::string::npos) text.resize(equals);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    std::erase(text, ' ');
    text = ReplaceAll(text, "e+", "E+");
    text = ReplaceAll(text, "e-", "E-");
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    MarkSignedLiterals(text);
    text = ReplaceAll(text, "pi", "+3.14159265358979");
    if (text.size() >= 2 && (text[0] == '+' || text[0] == '-') &&
        ((text[1] >= 'a' && text[1] <= 'z') || text[1] == '(')) {
        text.insert(0, 1, '0');
    }
    text = ReplaceAll(text, "exp", "eyp");
    text = ReplaceAll(text, "log10", "lgg");
    text = ReplaceAll(text, "log2", "lg2");
    text = ReplaceAll(text, "E-+", "E-");
    text = ReplaceAll(text, "E++", "E+");
}

}  // namespace koravin
