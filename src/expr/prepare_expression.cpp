#include "expr/prepare_expression.h"

#include <algorithm>
#include <string_view>

#include "numbers/text_utilities.h"

namespace koravin {
namespace {

bool IsDigitOrPoint(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// After a binary operator a number literal gets its own explicit "+", so that the evaluator,
// which reads a number together with a leading sign, never swallows a binary "-" into it.
// A sign qualifies when a character other than "+", "-" or "(" stands before it and a digit or
// "." after it (or nothing: a sign at the very end). The character after a sign that does not
// qualify is passed over unexamined. Built in one pass, so a long text costs linear time.
std::string MarkSignedLiterals(std::string_view text) {
    std::string marked;
    marked.reserve(text.size() + text.size() / 2);
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        marked += c;
        if (c != '+' && c != '-') {
            ++i;
            continue;
        }
        bool qualifies = false;
        if (marked.size() > 1) {
            const char before = marked[marked.size() - 2];
            const bool operandBefore = before != '+' && before != '-' && before != '(';
            const bool numberAfter = i + 1 >= text.size() || IsDigitOrPoint(text[i + 1]);
            qualifies = operandBefore && numberAfter;
        }
        if (qualifies) {
            marked += '+';
            ++i;
        } else {
            if (i + 1 < text.size()) marked += text[i + 1];
            i += 2;
        }
    }
    return marked;
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
    text = MarkSignedLiterals(text);
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
