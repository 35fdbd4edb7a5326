#pragma once

// Sorted table of every pair value of two value tables, for the fast
// searches. The values are computed with the very expressions the searches
// use (a + b, a*b/(a+b), a from the first table, b from the second), so a
// table value is bit for bit the value a search computes for that pair.

#include "search/pair_searches.h"
#include "search/search_context.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ohmtrim {

namespace fast {
// Values the fast searches accept: their rounding arguments need sums,
// products and quotients of table values that neither overflow nor
// underflow. Real value sets hold 1e-15 to 1e15.
inline constexpr double kSmallestFastValue = 1e-100;
inline constexpr double kLargestFastValue = 1e100;

// Ascending, and every value within the range above (NaN fails).
bool TableSuitable(const double* values, int count);
} // namespace fast

class PairTable {
public:
    enum class Outcome { Built, Aborted, Unsuitable, OutOfMemory };

    // Entries a table of these value tables holds: all pairs, or only the
    // pairs (i, j) with i <= j when both are the same table (a*b and a+b are
    // commutative in IEEE arithmetic, so (j, i) has the very same value).
    static std::size_t EntriesFor(const double* a, int na, const double* b, int nb);
    // Memory a table of that many entries takes.
    static std::size_t BytesFor(std::size_t entries);

    // Builds the table of (a, b) for op. Polls Escape in ctx about every
    // millisecond and gives up with Aborted when it is down; Unsuitable
    // when a table is not ascending, holds values the fast searches do not
    // take, or has too many pairs for 32-bit positions.
    static Outcome Build(PairOp op, const double* a, int na, const double* b, int nb,
                         const SearchContext& ctx, std::unique_ptr<PairTable>& table);

    PairOp Op() const { return m_op; }
    bool Symmetric() const { return m_symmetric; }
    const double* A() const { return m_a; }
    int CountA() const { return m_na; }
    const double* B() const { return m_b; }
    int CountB() const { return m_nb; }
    // Built from these tables (same arrays, counts and a few sample values)?
    bool Matches(PairOp op, const double* a, int na, const double* b, int nb) const;

    std::size_t Size() const { return m_size; }
    double Value(std::size_t k) const { return m_entries[k].value; }
    // Index into A and into B of entry k (in a symmetric table the entry also
    // stands for the swapped pair).
    int Row(std::size_t k) const { return static_cast<int>(m_entries[k].pair / m_nbu); }
    int Column(std::size_t k) const { return static_cast<int>(m_entries[k].pair % m_nbu); }
    // First entry whose value is >= x; Size() when there is none or x is NaN.
    std::size_t Locate(double x) const;
    // Locate for up to kLocateBatch values at once. A table larger than the
    // processor's cache makes each lookup wait for memory; started together,
    // the waits overlap.
    static constexpr int kLocateBatch = 16;
    void LocateMany(const double* x, std::size_t* k, int count) const;
    std::size_t Bytes() const { return BytesFor(m_size); }

private:
    PairTable() = default;
    std::size_t Bucket(double x) const;
    std::size_t FirstAtOrAbove(double x, std::uint32_t lo, std::uint32_t hi) const;

    PairOp m_op = PairOp::Series;
    bool m_symmetric = false;
    const double* m_a = nullptr;
    const double* m_b = nullptr;
    int m_na = 0;
    int m_nb = 0;
    std::uint32_t m_nbu = 1;
    double m_samples[6] = {};
    std::size_t m_size = 0;
    // One entry: its value and its pair as row * count of B + column, side
    // by side, so that the build writes each entry to one place.
    struct Entry {
        double value;
        std::uint32_t pair;
    };
    std::unique_ptr<Entry[]> m_entries;
    // Bucket q holds entries [m_bucketStart[q], m_bucketStart[q + 1]). The
    // buckets cut the range of the values' bit patterns (positive doubles
    // order like their bit patterns) into about one bucket per entry.
    std::unique_ptr<std::uint32_t[]> m_bucketStart;
    std::size_t m_buckets = 0;
    std::uint64_t m_keyMin = 0;
    int m_shift = 0;
};

} // namespace ohmtrim
