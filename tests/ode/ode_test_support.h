#pragma once

// Fields and table rows for the differential-equation window tests.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "support/command_runner.h"

namespace koravin::testing {

inline constexpr std::string_view kEulerHeader =
    "                    X(n)                欧拉公式Y(n)        Euler预估-校正公式Y(n)";
inline constexpr std::string_view kRungeKuttaHeader =
    "                    X(n)           三阶龙格-库塔公式Y(n)           四阶龙格-库塔公式Y(n)";
inline constexpr std::string_view kAdamsHeader =
    "                    X(n)            阿达姆斯外插公式Y(n)            阿达姆斯内插公式Y(n)";

inline std::map<std::string, std::string> OdeFields(std::string f, std::string a, std::string b, std::string n) {
    return {{"Text1", std::move(f)}, {"Text2", std::move(a)}, {"Text3", std::move(b)}, {"Text4", std::move(n)}};
}

// The fields and replies of one run, and what the result pane held before it.
inline CommandScript OdeScript(std::map<std::string, std::string> fields, std::vector<std::string> replies = {},
                               std::string previousReport = {}) {
    CommandScript script;
    script.fields = std::move(fields);
    script.replies = std::move(replies);
    script.previousReport = std::move(previousReport);
    return script;
}

// One table row of ASCII numbers, each right-aligned in 24 characters.
inline std::string Row(std::string_view x, std::string_view first, std::string_view second) {
    std::string row;
    for (const std::string_view field : {x, first, second}) {
        row.append(24 - field.size(), ' ');
        row += field;
    }
    return row;
}

inline std::string InitialValuePrompt(std::string_view node) {
    return "prompt\t输入初始数值\t请输入原函数F(" + std::string(node) + ")的值\t1";
}

}  // namespace koravin::testing
