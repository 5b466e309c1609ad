#pragma once

// Dense matrices and vectors indexed from 1 (vectors from a chosen lower bound), as the
// formulas of the methods are written. Zero-filled on creation.

#include <cassert>
#include <cstddef>
#include <vector>

namespace koravin {

class Matrix {
public:
    Matrix() = default;
    Matrix(int rows, int cols)
        : rows_(rows), cols_(cols), data_(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0.0) {}

    int rows() const { return rows_; }
    int cols() const { return cols_; }

    double& operator()(int i, int j) { return data_[index(i, j)]; }
    double operator()(int i, int j) const { return data_[index(i, j)]; }

    // Row i as contiguous storage: row(i)[j - 1] is (i, j).
    double* row(int i) { return data_.data() + index(i, 1); }
    const double* row(int i) const { return data_.data() + index(i, 1); }

private:
    std::size_t index(int i, int j) const {
        assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
        return static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(j - 1);
    }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<double> data_;
};

class Vector {
public:
    Vector() = default;
    // Entries lower..upper; Vector(1, n) is the usual x(1..n).
    Vector(int lower, int upper)
        : lower_(lower), data_(upper >= lower ? static_cast<std::size_t>(upper - lower + 1) : 0, 0.0) {}

    int lower() const { return lower_; }
    int upper() const { return lower_ + static_cast<int>(data_.size()) - 1; }
    int size() const { return static_cast<int>(data_.size()); }

    double& operator()(int i) { return data_[index(i)]; }
    double operator()(int i) const { return data_[index(i)]; }

private:
    std::size_t index(int i) const {
        assert(i >= lower_ && i <= upper());
        return static_cast<std::size_t>(i - lower_);
    }

    int lower_ = 1;
    std::vector<double> data_;
};

}  // namespace koravin
