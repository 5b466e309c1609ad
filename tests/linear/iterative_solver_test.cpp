#include "linear/iterative_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "command/scripted_interaction.h"
#include "linear/linear_commands.h"
#include "matrix/matrix_text.h"
#include "numbers/number_conversions.h"
#include "support/command_runner.h"

namespace koravin {
namespace {

using testing::CrLf;
using testing::RunCommand;

constexpr std::string_view kZeroDiagonalMessage = "message\t此方法不合适,请选择其他方法#";
constexpr std::string_view kNoConvergenceMessage = "message\t本方法不适合解此线形方程组，请用其他方法再试一下#";
constexpr std::string_view kTolerancePrompt = "prompt\t确定迭代精度\t输入迭代精度 e：\t1E-05";
constexpr std::string_view kOrderPrompt = "prompt\t输入数据\t输入数组的阶数 n：\t0";
constexpr std::string_view kCoarseQuestion =
    "question\t精度设置提示\t精度设置不好，确实要这样设置，将会导致结果运算误差太大。\t";
constexpr std::string_view kRelaxationPrompt =
    "prompt\t输入松弛因子 w ,默认w=1。\t当0<w<1 时，称为低松弛迭代法(SUR法)\\r\\n当w>1 时，称为高松弛迭代法(SOR法)"
    "\\r\\n当w=1 时，即为高斯—塞德耳迭代法\t1";

std::string InitialValuePrompt(int i) {
    return "prompt\t输入初始值\t请给出解x0(" + std::to_string(i) + ")的初始值:\t0";
}

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const auto line : lines) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text;
}

// A literal transcription of the three sweeps, the stopping test and the limit, with M, b, x0
// and x kept apart as the textbook writes them.
IterationResult ReferenceIteration(const Matrix& a, Vector x0, double e, double w, IterativeMethod method) {
    const int n = x0.size();
    Vector x = x0;
    std::vector<double> changes;
    for (int k = 0;;) {
        for (int i = 1; i <= n; ++i) {
            double s = 0;
            for (int j = 1; j <= n; ++j) {
                double xj = x0(j);
                if (method == IterativeMethod::GaussSeidel || (method == IterativeMethod::Relaxation && j < i)) xj = x(j);
                s = s + a(i, j) * xj;
            }
            if (a(i, i) == 0 || std::isnan(a(i, i))) return {IterationResult::Outcome::ZeroDiagonal, 0, x, {}};
            switch (method) {
                case IterativeMethod::Jacobi: x(i) = (a(i, n + 1) - s) / a(i, i) + x0(i); break;
                case IterativeMethod::GaussSeidel: x(i) = (a(i, n + 1) - s) / a(i, i) + x(i); break;
                case IterativeMethod::Relaxation: x(i) = (a(i, n + 1) - s) * w / a(i, i) + x0(i); break;
            }
        }
        bool converged = true;
        bool finite = true;
        double largestChange = 0;
        for (int i = 1; i <= n; ++i) {
            if (std::fabs(x(i) - x0(i)) > e) converged = false;
            largestChange = std::max(largestChange, std::fabs(x(i) - x0(i)));
            if (!std::isfinite(x(i))) finite = false;
        }
        k = k + 1;
        changes.push_back(largestChange);
        if (k > 1000 || !finite) return {IterationResult::Outcome::NoConvergence, k, x, changes};
        if (converged) return {IterationResult::Outcome::Converged, k, x, changes};
        x0 = x;
    }
}

// The largest change between the iterates of sweeps k - 1 and k, for a run that gets that far.
double ChangeAtSweep(const Matrix& a, int k) {
    Vector x0(1, a.rows());
    Vector x(1, a.rows());
    for (int sweep = 1; sweep <= k; ++sweep) {
        x0 = x;
        x = ReferenceIteration(a, x0, 1e300, 1, IterativeMethod::Jacobi).x;
    }
    double change = 0;
    for (int i = 1; i <= a.rows(); ++i) change = std::fmax(change, std::fabs(x(i) - x0(i)));
    return change;
}

TEST(JacobiDie, SolvesTwoXEqualsFourInTwoSweeps) {
    const auto run = RunCommand(JacobiDie, {.editor = "2 4", .replies = {"0.00001", "1", "0"}, .previousReport = "old"});
    EXPECT_EQ(run.report, CrLf({"  2  4", "", "迭代2次 ， 求得方程组的解为：", "x(1)=2", "", "Jacobi迭代法解线性方程组"}));
    EXPECT_EQ(run.trace(), Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1)}));
}

TEST(JacobiDie, AZeroDiagonalEntryFailsEvenWhenARowExchangeWouldSolveTheSystem) {
    for (const auto command : {JacobiDie, Gauss_SeidelDie}) {
        const auto run =
            RunCommand(command, {.editor = "2 1 3\r\n1 0 1", .replies = {"", "2", "0", "0"}, .previousReport = "old"});
        EXPECT_EQ(run.report, "");
        EXPECT_EQ(run.trace(), Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1), InitialValuePrompt(2),
                                      kZeroDiagonalMessage}));
    }
}

// 0/0 reads as NaN, which no division can use: it counts as a zero diagonal entry, for every
// method and whatever the rows after it hold.
TEST(JacobiDie, ANotANumberDiagonalEntryCountsAsZero) {
    for (const auto command : {JacobiDie, Gauss_SeidelDie, SorDie}) {
        const auto run = RunCommand(command, {.editor = "4 1 5\r\n1 0/0 2", .replies = {"", "2", "", "", "1"},
                                              .previousReport = "old"});
        EXPECT_EQ(run.report, "");
        std::string expected = Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1), InitialValuePrompt(2)});
        if (command == SorDie) expected = Lines({expected, kRelaxationPrompt});
        EXPECT_EQ(run.trace(), Lines({expected, kZeroDiagonalMessage}));
    }
}

TEST(JacobiDie, ANonPositiveOrderEndsSilentlyWithTheResultPaneEmptied) {
    for (const std::string reply : {"", "0", "-3", "abc", "40000"}) {
        const auto run = RunCommand(JacobiDie, {.editor = "2 4", .replies = {"", reply}, .previousReport = "old"});
        EXPECT_EQ(run.report, "") << reply;
        EXPECT_EQ(run.trace(), Lines({kTolerancePrompt, kOrderPrompt})) << reply;
    }
}

TEST(JacobiDie, AZeroToleranceStopsOnlyOnAnExactRepeat) {
    const auto repeats = RunCommand(JacobiDie, {.editor = "2 4", .replies = {"", "1", "0"}});
    EXPECT_EQ(repeats.report, CrLf({"  2  4", "", "迭代2次 ， 求得方程组的解为：", "x(1)=2", "", "Jacobi迭代法解线性方程组"}));

    // Converges by a factor 0.99 a sweep: far from exact after 1000 sweeps.
    const auto slow = RunCommand(JacobiDie, {.editor = "1 0.99 1.99\r\n0.99 1 1.99", .replies = {"0", "2"}});
    EXPECT_EQ(slow.report, "");
    EXPECT_EQ(slow.trace(), Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1), InitialValuePrompt(2),
                                   kNoConvergenceMessage}));
}

TEST(JacobiDie, ANegativeToleranceNeverPasses) {
    const auto run = RunCommand(JacobiDie, {.editor = "2 4", .replies = {"-1", "1", "2"}});
    EXPECT_EQ(run.report, "");
    EXPECT_EQ(run.trace(), Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1), kNoConvergenceMessage}));
}

TEST(JacobiDie, OnlyAToleranceAboveOneTenthAsksForConfirmation) {
    const auto report = CrLf({"  2  4", "", "迭代2次 ， 求得方程组的解为：", "x(1)=2", "", "Jacobi迭代法解线性方程组"});
    const auto coarse = RunCommand(JacobiDie, {.editor = "2 4", .replies = {"0.5", "1", "0"}, .answers = {true}});
    EXPECT_EQ(coarse.report, report);
    EXPECT_EQ(coarse.trace(),
              Lines({kTolerancePrompt, std::string(kCoarseQuestion) + "yes", kOrderPrompt, InitialValuePrompt(1)}));

    const auto fine = RunCommand(JacobiDie, {.editor = "2 4", .replies = {"0.1", "1", "0"}, .answers = {false}});
    EXPECT_EQ(fine.report, report);
    EXPECT_EQ(fine.trace(), Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1)}));
}

TEST(JacobiDie, NoAsksForTheToleranceAgainAndAsksAgainOnlyIfItIsStillCoarse) {
    const auto run = RunCommand(JacobiDie, {.editor = "2 4",
                                            .replies = {"0.5", "0.2", "0.00001", "1", "0"},
                                            .answers = {false, false}});
    EXPECT_EQ(run.report, CrLf({"  2  4", "", "迭代2次 ， 求得方程组的解为：", "x(1)=2", "", "Jacobi迭代法解线性方程组"}));
    EXPECT_EQ(run.trace(), Lines({kTolerancePrompt, std::string(kCoarseQuestion) + "no", kTolerancePrompt,
                                  std::string(kCoarseQuestion) + "no", kTolerancePrompt, kOrderPrompt,
                                  InitialValuePrompt(1)}));
}

TEST(JacobiDie, ADivergingSystemFailsWithAnEmptyPane) {
    // Grows by about 1.22 a sweep: still finite when the sweep limit is passed.
    const auto slow = RunCommand(JacobiDie, {.editor = "1 1.5 2.5\r\n1 1 2", .replies = {"", "2"}, .previousReport = "old"});
    EXPECT_EQ(slow.report, "");
    EXPECT_EQ(slow.trace(), Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1), InitialValuePrompt(2),
                                   kNoConvergenceMessage}));

    // Overflows within the limit; its NaN changes would pass the test, but NaN is no solution.
    const auto overflowing = RunCommand(JacobiDie, {.editor = "1 3 4\r\n3 1 4", .replies = {"1E-05", "2"}});
    EXPECT_EQ(overflowing.report, "");
    EXPECT_EQ(overflowing.trace(), Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1), InitialValuePrompt(2),
                                          kNoConvergenceMessage}));
}

TEST(Gauss_SeidelDie, StartingFromTheSolutionEndsAfterOneSweep) {
    const auto run = RunCommand(Gauss_SeidelDie,
                                {.editor = "4 1 0 6\r\n1 5 2 17\r\n0 2 6 22", .replies = {"", "3", "1", "2", "3"}});
    EXPECT_EQ(run.report, CrLf({"  4  1  0  6", "  1  5  2  17", "  0  2  6  22", "", "迭代1次 ， 求得方程组的解为：",
                                "x(1)=1", "x(2)=2", "x(3)=3", "", "Gauss-Seidel迭代法解线性方程组"}));
    EXPECT_EQ(run.trace(), Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1), InitialValuePrompt(2),
                                  InitialValuePrompt(3)}));
}

TEST(SorDie, WithFactorOneItIsGaussSeidelAndAFactorNotAboveZeroReadsAsOne) {
    const std::string editor = "4 1 0 6\r\n1 5 2 17\r\n0 2 6 22";
    const auto seidel = RunCommand(Gauss_SeidelDie, {.editor = editor, .replies = {"1E-10", "3"}});
    const std::string lines = CrLf({"  4  1  0  6", "  1  5  2  17", "  0  2  6  22", ""});
    const std::string solution = CrLf({"迭代16次 ， 求得方程组的解为：", "x(1)=1", "x(2)=2", "x(3)=3", ""});
    EXPECT_EQ(seidel.report, lines + "\r\n" + solution + CrLf({"", "Gauss-Seidel迭代法解线性方程组"}));
    for (const std::string w : {"1", "", "0", "-2"}) {
        const auto run = RunCommand(SorDie, {.editor = editor, .replies = {"1E-10", "3", "", "", "", w}});
        EXPECT_EQ(run.report, lines + CrLf({"", "松弛因子 w=1", ""}) + solution + CrLf({"", "逐次超松弛(SOR)迭代法解线性方程组"}))
            << w;
        EXPECT_EQ(run.trace(), Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1), InitialValuePrompt(2),
                                      InitialValuePrompt(3), kRelaxationPrompt}));
    }
}

TEST(SorDie, ReportsTheFactorUnroundedAndFailsBeyondTwo) {
    const auto converging = RunCommand(SorDie, {.editor = "4 1 1\r\n1 3 2", .replies = {"", "2", "", "", "1.25"}, .digits = 2});
    EXPECT_EQ(converging.report, CrLf({"  4  1  1", "  1  3  2", "", "松弛因子 w=1.25", "迭代31次 ， 求得方程组的解为：",
                                       "x(1)=0.09", "x(2)=0.64", "", "逐次超松弛(SOR)迭代法解线性方程组"}));

    const auto failing = RunCommand(SorDie, {.editor = "4 1 1\r\n1 3 2", .replies = {"", "2", "", "", "2.5"}});
    EXPECT_EQ(failing.report, "");
    EXPECT_EQ(failing.trace(), Lines({kTolerancePrompt, kOrderPrompt, InitialValuePrompt(1), InitialValuePrompt(2),
                                      kRelaxationPrompt, kNoConvergenceMessage}));
}

TEST(IterateLinearSystem, TheLimitIsCheckedBeforeTheTestAndAChangeEqualToTheTolerancePasses) {
    Matrix a(2, 3);
    a(1, 1) = 1, a(1, 2) = 0.99, a(1, 3) = 1.99;
    a(2, 1) = 0.99, a(2, 2) = 1, a(2, 3) = 1.99;
    const auto atLimit = IterateLinearSystem(a, Vector(1, 2), ChangeAtSweep(a, 1000), 1, IterativeMethod::Jacobi);
    EXPECT_EQ(atLimit.outcome, IterationResult::Outcome::Converged);
    EXPECT_EQ(atLimit.sweeps, 1000);
    const auto pastLimit = IterateLinearSystem(a, Vector(1, 2), ChangeAtSweep(a, 1001), 1, IterativeMethod::Jacobi);
    EXPECT_EQ(pastLimit.outcome, IterationResult::Outcome::NoConvergence);
    EXPECT_EQ(pastLimit.sweeps, 1001);
}

// The fast sweeps read one array where the textbook reads two, and Gauss-Seidel runs as
// relaxation with w = 1: the solutions must still agree bit for bit.
TEST(IterateLinearSystem, AgreesBitForBitWithTheLiteralIterationOnGeneratedSystems) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> entry(-10, 10);
    std::uniform_int_distribution<int> order(1, 9);
    std::uniform_int_distribution<int> kind(0, 2);
    const double tolerances[] = {0, 1e-12, 1e-8, 1e-5, 0.01};
    const double factors[] = {0.5, 1, 1.1, 1.5, 1.9, 2.5};
    int outcomes[3] = {};
    for (int run = 0; run < 600; ++run) {
        const int n = order(random);
        Matrix a(n, n + 1);
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n + 1; ++j) a(i, j) = run % 3 == 0 ? std::round(entry(random)) : entry(random);
            // Mostly dominant diagonals, so that most runs converge; some zero ones.
            if (run % 5 != 0) a(i, i) = a(i, i) + (a(i, i) < 0 ? -1 : 1) * 10.0 * n;
        }
        Vector x0(1, n);
        for (int i = 1; i <= n; ++i) x0(i) = run % 2 == 0 ? 0 : entry(random);
        const auto method = static_cast<IterativeMethod>(kind(random));
        const double e = tolerances[run % 5];
        const double w = method == IterativeMethod::Relaxation ? factors[run % 6] : 1;
        const auto fast = IterateLinearSystem(a, x0, e, w, method);
        const auto literal = ReferenceIteration(a, x0, e, w, method);
        ASSERT_EQ(fast.outcome, literal.outcome) << run;
        ++outcomes[static_cast<int>(fast.outcome)];
        if (fast.outcome == IterationResult::Outcome::ZeroDiagonal) continue;
        ASSERT_EQ(fast.sweeps, literal.sweeps) << run;
        ASSERT_EQ(fast.changes, literal.changes) << run;
        if (fast.outcome != IterationResult::Outcome::Converged) continue;
        for (int i = 1; i <= n; ++i) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(fast.x(i)), std::bit_cast<std::uint64_t>(literal.x(i))) << run;
        }
    }
    EXPECT_GT(outcomes[static_cast<int>(IterationResult::Outcome::Converged)], 300);
    EXPECT_GT(outcomes[static_cast<int>(IterationResult::Outcome::ZeroDiagonal)], 0);
    EXPECT_GT(outcomes[static_cast<int>(IterationResult::Outcome::NoConvergence)], 20);
}

}  // namespace
}  // namespace koravin

namespace koravin {
namespace {

struct SweepRecorder : PictureSink {
    int runs = 0;
    std::string method;
    double relaxation = 0;
    int order = 0;
    std::vector<double> system;
    std::vector<double> changes;
    void mark(const IterateMark&) override {}
    void columns(std::span<const double>, std::string_view, std::span<const double>, std::string_view,
                 std::span<const double>) override {}
    void sweeps(const SweepRun& run) override {
        ++runs;
        method = run.method;
        relaxation = run.relaxation;
        order = run.order;
        system.assign(run.system.begin(), run.system.end());
        changes.assign(run.changes.begin(), run.changes.end());
    }
};

// Whatever the outcome, once the iteration has stopped the picture gets the system as read and
// each sweep's largest change, as the literal iteration makes them.
TEST(IterativeCommands, HandThePictureTheSystemAndEverySweepsChange) {
    struct Case {
        void (*command)(CommandContext&);
        const char* editor;
        std::vector<std::string> replies;
        const char* method;
        double w;
        IterativeMethod kind;
    };
    const char* dominant = "4 1 0 6\r\n1 5 2 17\r\n0 2 6 22";
    const Case cases[] = {
        {JacobiDie, dominant, {"1E-8", "3"}, "Jacobi", 1, IterativeMethod::Jacobi},
        {Gauss_SeidelDie, dominant, {"1E-8", "3", "1", "1", "1"}, "Gauss-Seidel", 1, IterativeMethod::GaussSeidel},
        {SorDie, dominant, {"1E-8", "3", "", "", "", "1.2"}, "SOR", 1.2, IterativeMethod::Relaxation},
        {SorDie, "4 1 1\r\n1 3 2", {"", "2", "", "", "2.5"}, "SOR", 2.5, IterativeMethod::Relaxation},
        {JacobiDie, "0 1 1\r\n1 3 2", {"", "2"}, "", 0, IterativeMethod::Jacobi},
    };
    for (const Case& c : cases) {
        StringPane pane;
        ScriptedInteraction user(c.replies, {});
        SweepRecorder picture;
        CommandContext context{c.editor, pane, user, 6, {}, {}, &picture};
        c.command(context);
        const int n = static_cast<int>(ReadLeadingNumber(c.replies[1]));
        Matrix a(n, n + 1);
        ReadAugmentedMatrix(c.editor, n, a);
        Vector x0(1, n);
        for (int i = 1; i <= n && i + 1 < static_cast<int>(c.replies.size()); ++i) x0(i) = ReadLeadingNumber(c.replies[i + 1]);
        const IterationResult literal = ReferenceIteration(a, x0, ReadLeadingNumber(c.replies[0]), c.w, c.kind);
        if (literal.outcome == IterationResult::Outcome::ZeroDiagonal) {
            EXPECT_EQ(picture.runs, 0) << c.editor;
            continue;
        }
        ASSERT_EQ(picture.runs, 1) << c.method;
        EXPECT_EQ(picture.method, c.method);
        EXPECT_EQ(picture.relaxation, c.w);
        EXPECT_EQ(picture.order, n);
        EXPECT_EQ(picture.system, std::vector<double>(a.row(1), a.row(1) + n * (n + 1)));
        EXPECT_EQ(picture.changes, literal.changes) << c.method << " w=" << c.w;
    }
}

}  // namespace
}  // namespace koravin
