#pragma once

// The one seam between a command and whoever answers it: a person at the windows, koravin-cli
// with its scripted replies, or a test. A command talks only to the Interaction and the Pane it
// is handed, and never knows which of them it is.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace koravin {

inline constexpr std::string_view kApplicationTitle = "Koravin";

struct Prompt {
    std::string text;
    std::string title;  // "" stands for the application's title
    std::string defaultReply;
};

class Interaction {
public:
    virtual ~Interaction() = default;
    // An input prompt; Cancel answers "".
    virtual std::string ask(const Prompt& prompt) = 0;
    // A message box with one OK button, no icon and the application's title.
    virtual void tell(std::string_view message) = 0;
    // A question with Yes and No, No being the default; true for Yes.
    virtual bool confirm(std::string_view question, std::string_view title) = 0;
};

// The result pane: a command empties it and appends; it never reads it back.
class Pane {
public:
    virtual ~Pane() = default;
    virtual void clear() = 0;
    virtual void append(std::string_view text) = 0;
};

// One step of a nonlinear method, as a picture beside the report draws it.
struct IterateMark {
    struct Point {
        double x;
        double y;
    };
    int index = 0;  // k of the iterate x_k, as the report numbers it
    double x = 0;   // the iterate: a numbered point on the x axis
    // The points of the curve whose line led to x: the tangent point of Newton's method, the two
    // points of the secant. The line is drawn from them to (x, 0).
    std::vector<Point> through{};
    // Bisection: the interval that holds the root after the step.
    std::optional<std::pair<double, double>> bracket{};
};

// A run of Jacobi, Gauss-Seidel or relaxation, for a picture of how fast its sweeps settled.
struct SweepRun {
    std::string_view method;          // "Jacobi", "Gauss-Seidel" or "SOR"
    double relaxation = 1;            // w; 1 for Jacobi and Gauss-Seidel
    int order = 0;                    // n
    std::span<const double> system;   // the augmented n x (n + 1) system as read, row by row
    std::span<const double> changes;  // max |x(k)_i - x(k-1)_i| over i, for k = 1, 2, ... in order
    double tolerance = 0;             // e
    std::span<const double> iterate;  // the last iterate x(1..n)
    bool converged = false;           // false: it passed the sweep limit or overflowed
};

// What a run hands to the picture beside its report; the windows collect it, koravin-cli does not.
// The report never depends on it.
class PictureSink {
public:
    virtual ~PictureSink() = default;
    virtual void mark(const IterateMark& mark) = 0;
    // The two columns of a differential-equation table against its nodes.
    virtual void columns(std::span<const double> x, std::string_view firstHeading, std::span<const double> first,
                         std::string_view secondHeading, std::span<const double> second) = 0;
    // The iteration function of x = φ(x), as typed, before the fixed-point family's marks.
    virtual void iterationFunction(std::string_view /*phi*/) {}
    // The sweeps of an iterative linear run, once it has stopped (converged or not).
    virtual void sweeps(const SweepRun& /*run*/) {}
};

// What a run leaves for the checks beside its report (defined with the checks' recording).
struct RunFacts;

struct CommandContext {
    std::string editorText;                    // the workspace's editor pane
    Pane& result;
    Interaction& user;
    int decimalDigits = 6;                     // the linear workspace's DecimalDigits
    std::map<std::string, std::string> fields; // the text fields of a form window (Text1, Text2, ...)
    std::string focusField;                    // set by a command that wants the focus moved there
    PictureSink* picture = nullptr;            // where the steps go for a picture, when anyone draws one
    RunFacts* facts = nullptr;                 // where the inputs as read and the answer go for the checks

    // Each goes to the picture and, while checks are asked for, into the facts.
    void mark(const IterateMark& step) const;
    void iterationFunction(std::string_view phi) const;
    void sweeps(const SweepRun& run) const;
    void columns(std::span<const double> x, std::string_view firstHeading, std::span<const double> first,
                 std::string_view secondHeading, std::span<const double> second) const;

    // For the checks only. The system as read (n x (n + 1), row by row) and the answer the report gave.
    void linearSystem(int n, std::span<const double> augmented) const;
    // The answer as the report rounded it, and as the method computed it.
    void linearSolution(std::span<const double> rounded, std::span<const double> computed) const;
    void linearInverse(std::span<const double> rounded, std::span<const double> computed) const;
    void linearDeterminant(double reported) const;
    void differentialEquation(std::string_view function, double a, double b, int divisions) const;
};

enum class Workspace { Linear, Nonlinear, DifferentialEquation };

struct CommandInfo {
    std::string_view name;     // the command's name, e.g. "Gauss_1"
    Workspace workspace;
    std::string_view caption;  // the Chinese menu caption
    void (*run)(CommandContext&);
};

std::string_view WorkspaceName(Workspace workspace);

}  // namespace koravin
