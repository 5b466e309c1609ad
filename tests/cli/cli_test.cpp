// koravin-cli as a script uses it: arguments in, bytes and an exit status out.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    for (const char c : argument) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string Slurp(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("koravin-cli-test-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path File(const std::string& name, const std::string& bytes) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    Outcome Run(const std::vector<std::string>& arguments, const std::string& input = "") {
        std::string command = Quoted(KORAVIN_CLI_PATH);
        for (const auto& argument : arguments) command += " " + Quoted(argument);
        command += " < " + Quoted(File("stdin", input).string());
        command += " > " + Quoted((folder_ / "stdout").string()) + " 2> " + Quoted((folder_ / "stderr").string());
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(folder_ / "stdout"), Slurp(folder_ / "stderr")};
    }

    fs::path folder_;
};

TEST_F(Cli, EvalPrintsTheValueAsReportsWriteIt) {
    const Outcome cubic = Run({"eval", "f(x)=x^3-2*x-5", "--x", "2"});
    EXPECT_EQ(cubic.status, 0);
    EXPECT_EQ(cubic.out, "-1\n");
    EXPECT_EQ(Run({"eval", "-x^2", "--x", "3"}).out, "-9\n");
    EXPECT_EQ(Run({"eval", "x", "--x=-3.5"}).out, "-3.5\n");
    EXPECT_EQ(Run({"eval", "", "--x", "5"}).out, "0\n");
    EXPECT_EQ(Run({"eval", "1/3"}).out, "0.333333333333333\n");
    EXPECT_EQ(Run({"eval", "1/3", "--exact"}).out, "0.3333333333333333\n");
    EXPECT_EQ(Run({"eval", "1/0"}).out, "Inf\n");
    EXPECT_EQ(Run({"eval", "x^2", "--x", "1e999"}).out, "NaN\n");
    EXPECT_EQ(Run({"eval", "x*y-exp(y)", "--x", "2", "--y", "0"}).out, "-1\n");
    EXPECT_EQ(Run({"eval", "x", "--x", " 1 2 "}).out, "12\n");
}

TEST_F(Cli, EvalRejectsATextItCannotEvaluate) {
    const Outcome failed = Run({"eval", "x+y", "--x", "1"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err, "函数表达式输入有误！\n");
    const Outcome tooLong = Run({"eval", std::string(32768, '1')});
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_NE(tooLong.err.find("32767"), std::string::npos);
    EXPECT_EQ(Run({"eval", std::string(32767, '1')}).status, 0);
}

// A wrong call says why in one line; one of the wrong shape is followed by the usage of its verb,
// as help VERB prints it (the whole usage where the verb itself is wrong).
TEST_F(Cli, UsageErrorsExplainThemselvesInOneLineAndExitTwo) {
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::string> usageOf;
    };
    for (const Case& wrong : std::vector<Case>{
             {{}, ""},
             {{"frobnicate"}, ""},
             {{"eval"}, "eval"},
             {{"eval", "x", "--x"}, "eval"},
             {{"eval", "x", "--z", "1"}, "eval"},
             {{"eval", "x", "y"}, "eval"},
             {{"run"}, "run"},
             {{"run", "Gauss_1", "--frobnicate"}, "run"},
             {{"run", "Gauss_1", "--yes=1"}, "run"},
             {{"run", "Gauss_1", "--check=1"}, "run"},
             {{"run", "Gauss_1", "--check-json"}, "run"},
             {{"list", "all"}, "list"},
             {{"--version", "list"}, "help"},
             {{"--help", "run"}, "help"},
             {{"help", "run", "eval"}, "help"},
             {{"help", "frobnicate"}, ""},
             {{"run", "NoSuchCommand"}, std::nullopt},
             {{"run", "Gauss_1", "--digits", "0"}, std::nullopt},
             {{"run", "Gauss_1", "--digits", "17"}, std::nullopt},
             {{"run", "Gauss_1", "--digits", "2.5"}, std::nullopt},
             {{"run", "Gauss_1", "--field", "novalue"}, std::nullopt},
             {{"run", "Gauss_1", "--editor", "/no/such/file"}, std::nullopt},
             {{"run", "Gauss_1", "--check-json", "/no/such/folder/checks.json"}, std::nullopt},
         }) {
        const Outcome outcome = Run(wrong.arguments);
        const std::string call = ::testing::PrintToString(wrong.arguments);
        EXPECT_EQ(outcome.status, 2) << call;
        EXPECT_EQ(outcome.out, "") << call;
        const std::size_t lineEnd = outcome.err.find('\n');
        ASSERT_NE(lineEnd, std::string::npos) << call;
        EXPECT_EQ(outcome.err.rfind("koravin-cli: ", 0), 0u) << outcome.err;
        std::string usage;
        if (wrong.usageOf) {
            usage = "\n" + Run(wrong.usageOf->empty() ? std::vector<std::string>{"help"}
                                                       : std::vector<std::string>{"help", *wrong.usageOf}).out;
        }
        EXPECT_EQ(outcome.err.substr(lineEnd + 1), usage) << call;
    }
}

TEST_F(Cli, HelpPrintsTheUsageOnStandardOutput) {
    const Outcome help = Run({"help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("usage: koravin-cli VERB [OPTION]...\n", 0), 0u) << help.out;
    for (const std::vector<std::string>& same : {std::vector<std::string>{"--help"}, {"-h"}}) {
        const Outcome outcome = Run(same);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, help.out);
    }
    for (const std::string verb : {"list", "eval", "run", "help"}) {
        const Outcome part = Run({"help", verb});
        EXPECT_EQ(part.status, 0) << verb;
        EXPECT_EQ(part.out.rfind("usage: koravin-cli " + verb, 0), 0u) << part.out;
        EXPECT_NE(part.out.find("  example: koravin-cli " + verb), std::string::npos) << part.out;
        EXPECT_NE(help.out.find(part.out.substr(std::string("usage: ").size())), std::string::npos) << verb;
    }
    // The example of run runs.
    const std::string system = File("system.txt", "2 1 -1 8\r\n-3 -1 2 -11\r\n-2 1 2 -3").string();
    EXPECT_EQ(Run({"run", "Gauss_1", "--editor", system, "--reply", "3"}).status, 0);
}

// The options as the manual page and the usage name them: the same on both sides.
TEST_F(Cli, TheManualPageAndTheUsageNameTheSameVerbsAndOptions) {
    std::string page = Slurp(KORAVIN_MAN_PAGE);
    for (std::size_t at; (at = page.find("\\-")) != std::string::npos;) page.replace(at, 2, "-");
    const auto options = [](const std::string& text) {
        std::set<std::string> found;
        const std::regex option("--[a-z][a-z-]*");
        for (auto match = std::sregex_iterator(text.begin(), text.end(), option); match != std::sregex_iterator(); ++match) {
            found.insert(match->str());
        }
        return found;
    };
    const std::string usage = Run({"help"}).out;
    EXPECT_EQ(options(page), options(usage));
    EXPECT_TRUE(options(usage).contains("--check-json"));
    for (const std::string verb : {"list", "eval", "run", "help"}) {
        EXPECT_NE(page.find(".B koravin-cli " + verb), std::string::npos) << verb;
        EXPECT_NE(usage.find("koravin-cli " + verb), std::string::npos) << verb;
    }
    EXPECT_NE(page.find(".B -h"), std::string::npos);
}

TEST_F(Cli, VersionIsTheProjectsOwn) {
    const Outcome version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "koravin-cli " KORAVIN_VERSION "\n");
    EXPECT_EQ(version.err, "");
}

TEST_F(Cli, ListNamesEveryCommandWithItsWorkspaceAndCaption) {
    const Outcome list = Run({"list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out.rfind("Gauss_1\tLinearFrm\tGauss消去法\n", 0), 0u);
    EXPECT_NE(list.out.find("StrictMatrixJudge\tLinearFrm\t严格对角站优矩阵判断\n"), std::string::npos);
}

TEST_F(Cli, RunKeepsThePreviousReportWhenTheCommandEndsSilently) {
    const std::string previous = "old report\r\n第二行";
    const Outcome cancelled = Run({"run", "Gauss_1", "--result", File("previous.txt", previous).string(), "--trace"});
    EXPECT_EQ(cancelled.status, 0);
    EXPECT_EQ(cancelled.out, previous);
    EXPECT_EQ(cancelled.err, "prompt\t输入数据\t输入矩阵的阶数 n：\t3\n");
}

TEST_F(Cli, RunReadsTheEditorFromAFileOrStandardInput) {
    const std::string system = "2 1 -1 8\r\n-3 -1 2 -11\r\n-2 1 2 -3";
    const Outcome fromFile = Run({"run", "Gauss_1", "--editor", File("system.txt", system).string(), "--reply", "3"});
    EXPECT_EQ(fromFile.status, 0);
    EXPECT_NE(fromFile.out.find("x(1)=2\r\nx(2)=3\r\nx(3)=-1\r\n"), std::string::npos) << fromFile.out;
    const Outcome fromInput = Run({"run", "Gauss_1", "--editor", "-", "--reply=3"}, system);
    EXPECT_EQ(fromInput.out, fromFile.out);
    const Outcome fewerDigits = Run({"run", "Gauss_1", "--editor", "-", "--reply", "1", "--digits", "2"}, "3 1\r\n");
    EXPECT_NE(fewerDigits.out.find("x(1)=0.33"), std::string::npos) << fewerDigits.out;
}

TEST_F(Cli, CheckAppendsTheBlockAndCheckJsonWritesTheSameNumbers) {
    const std::string system = File("system.txt", "4 -1 0 1\r\n-1 4 -1 2\r\n0 -1 4 3").string();
    const std::string json = (folder_ / "checks.json").string();
    const std::vector<std::string> jacobi = {"run", "JacobiDie", "--editor", system, "--reply", "1e-8", "--reply", "3",
                                             "--reply", "0", "--reply", "0", "--reply", "0"};
    const std::string plain = Run(jacobi).out;
    std::vector<std::string> checked = jacobi;
    checked.insert(checked.end(), {"--check", "--check-json", json});
    const Outcome outcome = Run(checked);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, plain + "\r\n\r\n—— 检验 ——\r\n雅可比迭代矩阵的谱半径 ρ(B) = 0.3536 < 1：对任何初值都收敛。\r\n"
                                   "实际迭代 19 次；按 ρ(B) 预计约 18 次（log e / log ρ(B)，e=1E-08）。\r\n"
                                   "最后一次迭代的改变量为 3.725E-09，停止检验只看它；误差约为它的 ρ(B)/(1-ρ(B)) 倍 ≈ 2.037E-09。\r\n"
                                   "最后迭代值的残差 ‖b-Ax‖∞ = 7.451E-09");
    EXPECT_EQ(Slurp(json), "{\"command\": \"JacobiDie\", \"checks\": {\"spectral_radius\": 0.35355339059327384, "
                           "\"sweeps\": 19, \"predicted_sweeps\": 18, \"eigenvalue_condition\": 1, "
                           "\"last_change\": 3.725290298461914e-09, \"error_estimate\": 2.0374289180264896e-09, "
                           "\"residual_inf\": 7.450580596923828e-09}}\n");

    // The JSON alone leaves the report as it is.
    checked.erase(checked.end() - 3);
    EXPECT_EQ(Run(checked).out, plain);
}

TEST_F(Cli, TheExactSolutionReachesTheChecksAsAField) {
    const std::string json = (folder_ / "checks.json").string();
    std::vector<std::string> arguments = {"run", "UsDi_Euler", "--field", "Text1=y", "--field", "Text2=0", "--field",
                                          "Text3=1", "--field", "Text4=10", "--reply", "1"};
    const std::string plain = Run(arguments).out;
    arguments.insert(arguments.end(), {"--field", "Exact=exp(x)", "--check-json", json});
    EXPECT_EQ(Run(arguments).out, plain);
    EXPECT_EQ(Slurp(json),
              "{\"command\": \"UsDi_Euler\", \"checks\": {\"columns\": [{\"heading\": \"欧拉公式Y(n)\", "
              "\"observed_order\": 0.9067390844845442, \"theoretical_order\": 1, \"final_error\": 0.124539368359045, "
              "\"max_error\": 0.124539368359045}, {\"heading\": \"Euler预估-校正公式Y(n)\", "
              "\"observed_order\": 1.9358788743742552, \"theoretical_order\": 2, \"final_error\": 0.004200981850821517, "
              "\"max_error\": 0.004200981850821517}]}}\n");
}

}  // namespace
