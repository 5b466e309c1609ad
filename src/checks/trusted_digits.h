#pragma once

// How many significant digits of a printed answer (a solution, an inverse) the evidence
// supports, and which piece of evidence stops it there.
//
// Digits are counted as the textbooks count them: a value whose leading digit stands at 10^m
// has n correct significant digits when its error is at most ½·10^(m-n+1). Three limits apply,
// and the verdict is the least of them over every printed entry that is not 0:
//   printed      a value rounded to d decimal places carries d + m + 1 digits, and a report
//                writes at most 15 (a double holds about 15.9);
//   residual     the residual of the printed answer gives a lower bound of its error, which
//                caps the digits of the largest entry, and so of the least accurate one;
//   computation  an upper bound of the error of each entry of the answer as the method computed
//                it: the rounding it applied, amplified by the condition of the problem.

#include <cstddef>
#include <span>

namespace koravin {

inline constexpr int kMostPrintedDigits = 15;

// The decimal exponent of the leading digit of x as the reports write it (15 significant digits).
int LeadingExponent(double x);

// The significant digits of `value` that an error of at most `error` leaves correct; may be 0 or
// negative. Unbounded (a large number) for an error of 0.
int CorrectDigits(double value, double error);

// The significant digits a value printed to `places` decimal places carries.
int PrintedDigits(double printed, int places);

enum class DigitsLimit { Printed, PrintLength, Residual, Computation };

struct DigitsVerdict {
    int digits = 0;  // at least 0
    DigitsLimit limit = DigitsLimit::Printed;
    std::size_t entry = 0;  // the entry that sets the limit, for Printed and Computation
};

struct DigitsEvidence {
    std::span<const double> printed;  // the answer as the report wrote it, every entry finite
    int places = 0;                   // its decimal places
    // Some entry of the printed answer is off by at least this much (0: no such bound).
    double errorAtLeast = 0;
    // Entry by entry, how far the answer as computed can be off at most (Inf: no such bound).
    std::span<const double> errorAtMost;
};

// The verdict over the entries that are not 0; at least one must be.
DigitsVerdict TrustedDigits(const DigitsEvidence& evidence);

}  // namespace koravin
