#pragma once

// What a run leaves for the checks beside its report: the inputs as the command read them
// (before any rounding to decimal places) and the answer its report gave. A command fills it
// through CommandContext's recording calls, which do nothing when no one asked for checks.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace koravin {

struct RunFacts {
    // The linear workspace. The system is the augmented n x (n + 1) matrix, row by row; the
    // tridiagonal chase records the banded system it actually solves.
    int order = 0;
    std::vector<double> system;
    std::vector<double> solution;       // x(1..n) in the typed order, as the report rounded it
    std::vector<double> methodSolution; // the same before the report rounded it to its places
    std::vector<double> inverse;        // n x n, row by row, as the report rounded it
    std::vector<double> methodInverse;  // the same before the report rounded it to its places
    std::optional<double> determinant;  // as the report gave it

    // Jacobi, Gauss-Seidel and relaxation, once their sweeps have stopped.
    std::string iterativeMethod;  // "Jacobi", "Gauss-Seidel" or "SOR"; empty when none ran
    double relaxation = 1;
    double tolerance = 0;
    int sweeps = 0;
    double lastChange = 0;  // max |x(k)_i - x(k-1)_i| of the last sweep
    bool converged = false;
    std::vector<double> finalIterate;

    // The nonlinear methods: x_0, x_1, ... as the report numbers them, and φ as typed.
    std::vector<double> iterates;
    std::optional<std::string> iterationFunction;
    // Bisection: the interval typed, and the one that holds the root after the last step.
    std::optional<std::pair<double, double>> firstBracket;
    std::optional<std::pair<double, double>> lastBracket;

    // The differential-equation windows: the equation as read and the table's two columns.
    struct Equation {
        std::string function;  // f(x, y) as typed
        double a = 0;
        double b = 0;
        int divisions = 0;
    };
    std::optional<Equation> equation;
    std::vector<double> nodes;
    std::string firstHeading;
    std::vector<double> first;
    std::string secondHeading;
    std::vector<double> second;

    // Whether the run told the person a message (a failure, a method that did not fit).
    bool toldMessage = false;
};

}  // namespace koravin
