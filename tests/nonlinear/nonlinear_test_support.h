#pragma once

// The prompts of the nonlinear commands and the trace lines they produce.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "support/command_runner.h"

namespace koravin::testing {

struct ExpectedPrompt {
    std::string_view text;
    std::string_view title;
    std::string_view defaultReply;
};

inline constexpr ExpectedPrompt kLowerBoundPrompt{"输入函数方程式迭代的初值下界：", "输入初值", "0"};
inline constexpr ExpectedPrompt kUpperBoundPrompt{"输入函数方程式迭代的初值上界：", "输入初值", "1"};
inline constexpr ExpectedPrompt kIterationPrecisionPrompt{"输入函数方程式迭代的精度：", "输入精度", "0.0001"};
inline constexpr ExpectedPrompt kIterationStartPrompt{"输入函数方程式迭代的初值：", "输入初值", "0"};
inline constexpr ExpectedPrompt kEquivalentEquationPrompt{"输入函数方程式等价的迭代方程式(即x=)：", "输入迭代方程", "x"};
inline constexpr ExpectedPrompt kIterationEquationPrompt{"输入函数方程式迭代的方程式：", "输入迭代的方程式", "x"};
inline constexpr ExpectedPrompt kFactorPrompt{"输入函数方程式迭代的因子0<q<1：", "输入迭代的因子值", "0.45"};
inline constexpr ExpectedPrompt kDerivativePrompt{"输入此方程式的导数方程式", "输入导数方程", "x"};
inline constexpr ExpectedPrompt kNewtonStartPrompt{"输入计算初值x0", "输入初值", "0"};
inline constexpr ExpectedPrompt kNewtonPrecisionPrompt{"输入计算精度", "输入精度", "0.0001"};
inline constexpr ExpectedPrompt kSecantLowerPrompt{"区间下界", "输入数值", "0"};
inline constexpr ExpectedPrompt kSecantUpperPrompt{"区间上界", "输入数值", "1"};
inline constexpr ExpectedPrompt kValuePrecisionPrompt{"函数值精度", "输入精度", "0.0001"};
inline constexpr ExpectedPrompt kRootPrecisionPrompt{"函数根迭代精度", "输入精度", "0.0001"};

// A run with the function in the editor pane and the replies to the prompts, then Cancel.
inline CommandScript Script(std::string editor, std::vector<std::string> replies, std::string previousReport = {}) {
    CommandScript script;
    script.editor = std::move(editor);
    script.replies = std::move(replies);
    script.previousReport = std::move(previousReport);
    return script;
}

inline constexpr std::string_view kExpressionError = "函数表达式输入有误！";

inline std::string PromptTrace(const ExpectedPrompt& prompt) {
    return "prompt\t" + std::string(prompt.title) + "\t" + std::string(prompt.text) + "\t" +
           std::string(prompt.defaultReply);
}

inline std::string MessageTrace(std::string_view text) { return "message\t" + std::string(text); }

// Trace lines joined as CommandRun::trace() joins them.
inline std::string TraceOf(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text;
}

}  // namespace koravin::testing
