#pragma once
// A 1-based, column-major array of up to three dimensions: the first index varies
// fastest, so a whole array is one contiguous block in the order the tournament
// file stores it.

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

template <class T, int Rank> class Array {
    static_assert(Rank >= 1 && Rank <= 3, "Array has one to three dimensions");

public:
    // Allocates the array with the given extents and fills it with `init`. Returns
    // false (and leaves the array released) when an extent is not positive or the
    // memory cannot be had.
    template <class... Ext> bool allocate(Ext... extents) {
        static_assert(sizeof...(Ext) == Rank, "one extent per dimension");
        release();
        std::array<std::int64_t, Rank> e{static_cast<std::int64_t>(extents)...};
        std::int64_t total = 1;
        for (std::int64_t x : e) {
            if (x <= 0 || x > (std::int64_t{1} << 31)) return false;
            total *= x;
            if (total > (std::int64_t{1} << 33) / static_cast<std::int64_t>(sizeof(T))) return false;
        }
        try {
            data_.assign(static_cast<std::size_t>(total), T{});
        } catch (const std::bad_alloc&) {
            data_.clear();
            return false;
        }
        for (int d = 0; d < Rank; ++d) ext_[d] = static_cast<int>(e[d]);
        return true;
    }

    void release() {
        std::vector<T>().swap(data_);
        ext_.fill(0);
    }

    bool allocated() const { return !data_.empty(); }
    int extent(int dim) const { return ext_[dim - 1]; }
    std::size_t size() const { return data_.size(); }
    std::size_t bytes() const { return data_.size() * sizeof(T); }
    T* data() { return data_.data(); }
    const T* data() const { return data_.data(); }

    void fill(const T& v) {
        for (T& x : data_) x = v;
    }

    // Element access, 1-based; out-of-range indexes are caught in debug builds.
    T& operator()(int i) { return data_[index(i)]; }
    const T& operator()(int i) const { return data_[index(i)]; }
    T& operator()(int i, int j) { return data_[index(i, j)]; }
    const T& operator()(int i, int j) const { return data_[index(i, j)]; }
    T& operator()(int i, int j, int k) { return data_[index(i, j, k)]; }
    const T& operator()(int i, int j, int k) const { return data_[index(i, j, k)]; }

    // True when the indexes lie inside the extents.
    bool contains(int i) const { return Rank == 1 && i >= 1 && i <= ext_[0]; }
    bool contains(int i, int j) const {
        return Rank == 2 && i >= 1 && i <= ext_[0] && j >= 1 && j <= ext_[1];
    }
    bool contains(int i, int j, int k) const {
        return Rank == 3 && i >= 1 && i <= ext_[0] && j >= 1 && j <= ext_[1] && k >= 1 &&
               k <= ext_[2];
    }

private:
    std::size_t index(int i) const {
        assert(contains(i));
        return static_cast<std::size_t>(i - 1);
    }
    std::size_t index(int i, int j) const {
        assert(contains(i, j));
        return static_cast<std::size_t>(i - 1) +
               static_cast<std::size_t>(ext_[0]) * static_cast<std::size_t>(j - 1);
    }
    std::size_t index(int i, int j, int k) const {
        assert(contains(i, j, k));
        return static_cast<std::size_t>(i - 1) +
               static_cast<std::size_t>(ext_[0]) *
                   (static_cast<std::size_t>(j - 1) +
                    static_cast<std::size_t>(ext_[1]) * static_cast<std::size_t>(k - 1));
    }

    std::vector<T> data_;
    std::array<int, Rank> ext_{};
};
