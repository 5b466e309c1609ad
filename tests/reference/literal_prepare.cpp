#include "reference/literal_prepare.h"

#include <cctype>

#include "numbers/text_utilities.h"

namespace koravin::reference {

void LiteralPrepareExpression(std::string& text) {
    text = ReplaceAll(text, "f(x)=", "");
    text = ReplaceAll(text, "f(x)", "");
    if (const auto equals = text.find('='); equals != std::string::npos) text = text.substr(0, equals);
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    text = ReplaceAll(text, " ", "");
    text = ReplaceAll(text, "e+", "E+");
    text = ReplaceAll(text, "e-", "E-");
    text = ReplaceAll(text, "\r", "");
    text = ReplaceAll(text, "\n", "");
    // Sign marking, with 1-based positions as it is described.
    std::size_t k = 1;
    while (true) {
        const auto plus = text.find('+', k - 1);
        const auto minus = text.find('-', k - 1);
        const auto found = std::min(plus, minus);
        if (found == std::string::npos) break;
        k = found + 1;
        const auto at = [&](std::size_t position) { return text[position - 1]; };
        bool qualifies = false;
        if (k > 1 && at(k - 1) != '+' && at(k - 1) != '-' && at(k - 1) != '(') {
            qualifies = k == text.size() || std::isdigit(static_cast<unsigned char>(at(k + 1))) || at(k + 1) == '.';
        }
        if (qualifies) text.insert(text.begin() + static_cast<std::ptrdiff_t>(k), '+');
        k += 2;
    }
    text = ReplaceAll(text, "pi", "+3.14159265358979");
    if (text.size() >= 2 && (text[0] == '+' || text[0] == '-') &&
        ((text[1] >= 'a' && text[1] <= 'z') || text[1] == '(')) {
        text = "0" + text;
    }
    text = ReplaceAll(text, "exp", "eyp");
    text = ReplaceAll(text, "log10", "lgg");
    text = ReplaceAll(text, "log2", "lg2");
    text = ReplaceAll(text, "E-+", "E-");
    text = ReplaceAll(text, "E++", "E+");
}

}  // namespace koravin::reference
