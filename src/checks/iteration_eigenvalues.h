#pragma once

// The eigenvalues of an iteration matrix B and how far a prediction may lean on them.
//
// B is first brought to block upper triangular form by reordering the unknowns (the strongly
// connected parts of its zero pattern, in an order where every coupling points forward). Its
// eigenvalues are exactly those of the diagonal blocks: a 1 x 1 block's is its entry, so a
// triangular B, however far from normal, has its eigenvalues exactly. B is then balanced (a
// diagonal similarity with powers of two, which leaves the zero pattern and the eigenvalues as
// they are and brings the norms of rows and columns together), each larger block reduced to
// Schur form, and the whole made upper triangular over the complex numbers: T = Qᴴ D⁻¹ Pᵀ B P D Q.
//
// From T the right and left eigenvectors x, y of each eigenvalue follow by substitution, and
// with them its condition number κ(λ) = ‖x‖·‖y‖ / |yᴴx|. A perturbation E of B moves λ by about
// κ(λ)·‖E‖, and the component of an error along x can grow by up to κ(λ) before it decays as |λ|ᵏ:
// a large κ means ρ(B)ᵏ says little about how the error of an iteration falls.

#include <complex>
#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

#include <Eigen/Core>

namespace koravin {

class IterationEigenvalues {
public:
    // Nothing when B is empty, not square, has an entry that is not finite, or the Schur
    // iteration fails.
    static std::optional<IterationEigenvalues> Of(const Eigen::MatrixXd& b);

    std::size_t size() const { return eigenvalues_.size(); }
    std::complex<double> eigenvalue(std::size_t k) const { return eigenvalues_[k]; }
    // ρ(B) = max |λ|.
    double radius() const { return radius_; }
    // Whether every diagonal block is 1 x 1: B is triangular once the unknowns are reordered.
    bool triangular() const { return triangular_; }
    // For a triangular B whose diagonal is zero: the least m with B^m = 0 that its zero pattern
    // guarantees (one more than the longest chain of couplings). Nothing otherwise.
    std::optional<int> nilpotencyBound() const { return nilpotencyBound_; }

    // Whether λ_k is the conjugate of λ_(k-1), its pair in a real B; it has the same |λ| and κ.
    bool conjugateOfPrevious(std::size_t k) const { return conjugateOfPrevious_[k]; }
    // κ(λ_k) of the balanced B; infinite when the eigenvectors are too close to parallel to
    // represent (a defective eigenvalue). Computed once, on the first call.
    double condition(std::size_t k) const;
    // How far the computed λ_k may be from the eigenvalue of B: about κ(λ_k) within its own
    // diagonal block times the rounding of that block. An eigenvalue of a 1 x 1 block is the
    // entry itself.
    double uncertainty(std::size_t k) const;

private:
    using ComplexRows = Eigen::Matrix<std::complex<double>, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    IterationEigenvalues() = default;
    // ‖x‖·‖y‖ for the eigenvectors of T's rows and columns first..last - 1, normalised so that yᴴx = 1.
    double conditionWithin(std::size_t k, std::size_t first, std::size_t last) const;

    ComplexRows t_;
    std::vector<std::complex<double>> eigenvalues_;
    std::vector<std::size_t> blockFirst_;  // per eigenvalue: where its diagonal block begins in T
    std::vector<std::size_t> blockLast_;   // and one past where it ends
    std::vector<double> blockNorm_;        // per eigenvalue: ‖its block‖_F
    std::vector<bool> conjugateOfPrevious_;
    mutable std::vector<double> conditions_;  // NaN until computed
    double radius_ = 0;
    bool triangular_ = true;
    std::optional<int> nilpotencyBound_;
};

}  // namespace koravin
