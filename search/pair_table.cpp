#include "search/pair_table.h"

#include "search/fast_scan.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <new>
#include <utility>
#include <vector>

namespace ohmtrim {

namespace fast {

bool TableSuitable(const double* values, int count) {
    if (values == nullptr || count < 1)
        return false;
    for (int i = 0; i < count; ++i) {
        const double v = values[i];
        if (!(v >= kSmallestFastValue && v <= kLargestFastValue))
            return false;
        if (i > 0 && !(values[i - 1] <= v))
            return false;
    }
    return true;
}

} // namespace fast

namespace {

// Escape is looked at after about this many pair values: well under a
// millisecond of work.
constexpr std::size_t kEntriesPerPoll = std::size_t{1} << 15;

// A bucket of up to this many entries is searched by a plain scan.
constexpr std::uint32_t kScanLimit = 16;

std::uint64_t Bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// Asks for the memory at p ahead of its use, where the compiler can.
inline void Prefetch(const void* p) {
#if defined(__GNUC__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

// Counts entries between Escape polls; true when the build must stop.
class BuildPoll {
public:
    explicit BuildPoll(const SearchContext& ctx) : m_ctx(ctx) {}
    bool Aborted(std::size_t entriesDone) {
        m_sinceLast += entriesDone;
        if (m_sinceLast < kEntriesPerPoll)
            return false;
        m_sinceLast = 0;
        return m_ctx.EscapeDown();
    }

private:
    const SearchContext& m_ctx;
    std::size_t m_sinceLast = 0;
};

} // namespace

std::size_t PairTable::EntriesFor(const double* a, int na, const double* b, int nb) {
    const auto ca = static_cast<std::size_t>(na);
    const auto cb = static_cast<std::size_t>(nb);
    if (a == b && na == nb)
        return ca * (ca + 1) / 2;
    return ca * cb;
}

std::size_t PairTable::BytesFor(std::size_t entries) {
    // value, pair index and at most one bucket start per entry
    return entries * (sizeof(Entry) + sizeof(std::uint32_t)) + sizeof(PairTable);
}

bool PairTable::Matches(PairOp op, const double* a, int na, const double* b, int nb) const {
    return op == m_op && a == m_a && na == m_na && b == m_b && nb == m_nb &&
           Bits(a[0]) == Bits(m_samples[0]) && Bits(a[na / 2]) == Bits(m_samples[1]) &&
           Bits(a[na - 1]) == Bits(m_samples[2]) && Bits(b[0]) == Bits(m_samples[3]) &&
           Bits(b[nb / 2]) == Bits(m_samples[4]) && Bits(b[nb - 1]) == Bits(m_samples[5]);
}

PairTable::Outcome PairTable::Build(PairOp op, const double* a, int na, const double* b, int nb,
                                    const SearchContext& ctx, std::unique_ptr<PairTable>& table) {
    if (!fast::TableSuitable(a, na) || !fast::TableSuitable(b, nb))
        return Outcome::Unsuitable;
    // Pair positions row * nb + column must fit 32 bits.
    if (static_cast<std::uint64_t>(na) * static_cast<std::uint64_t>(nb) >
        std::numeric_limits<std::uint32_t>::max())
        return Outcome::Unsuitable;
    try {
        std::unique_ptr<PairTable> t(new PairTable());
        t->m_op = op;
        t->m_symmetric = a == b && na == nb;
        t->m_a = a;
        t->m_na = na;
        t->m_b = b;
        t->m_nb = nb;
        t->m_nbu = static_cast<std::uint32_t>(nb);
        const double samples[6] = {a[0], a[na / 2], a[na - 1], b[0], b[nb / 2], b[nb - 1]};
        std::copy(std::begin(samples), std::end(samples), t->m_samples);
        const std::size_t n = EntriesFor(a, na, b, nb);
        t->m_size = n;
        t->m_entries = std::make_unique_for_overwrite<Entry[]>(n);

        // Both operations grow with each argument, so in exact arithmetic the
        // first pair is the smallest and the last pair the largest; the
        // computed values stray from that by a few units of roundoff. The
        // bucket of a value outside the widened range is clamped, which keeps
        // the buckets in value order, so the range only affects balance.
        const double low = PairValue(op, a[0], b[0]) * (1 - 16 * fast::kUnitRoundoff);
        const double high = PairValue(op, a[na - 1], b[nb - 1]) * (1 + 16 * fast::kUnitRoundoff);
        t->m_keyMin = Bits(low);
        const std::uint64_t span = Bits(high) - t->m_keyMin;
        while ((span >> t->m_shift) >= std::max<std::uint64_t>(n, 16))
            ++t->m_shift;
        t->m_buckets = static_cast<std::size_t>(span >> t->m_shift) + 1;
        t->m_bucketStart = std::make_unique<std::uint32_t[]>(t->m_buckets + 1);
        std::uint32_t* start = t->m_bucketStart.get();

        BuildPoll poll(ctx);
        auto rowBegin = [&](int i) { return t->m_symmetric ? i : 0; };
        for (int i = 0; i < na; ++i) {
            const double ai = a[i];
            for (int j = rowBegin(i); j < nb; ++j)
                ++start[t->Bucket(PairValue(op, ai, b[j])) + 1];
            if (poll.Aborted(static_cast<std::size_t>(nb - rowBegin(i))))
                return Outcome::Aborted;
        }
        for (std::size_t q = 0; q < t->m_buckets; ++q)
            start[q + 1] += start[q];

        std::vector<std::uint32_t> fill(start, start + t->m_buckets);
        Entry* entries = t->m_entries.get();
        for (int i = 0; i < na; ++i) {
            const double ai = a[i];
            const std::uint32_t rowBase = static_cast<std::uint32_t>(i) * t->m_nbu;
            for (int j = rowBegin(i); j < nb; ++j) {
                const double v = PairValue(op, ai, b[j]);
                entries[fill[t->Bucket(v)]++] = {v, rowBase + static_cast<std::uint32_t>(j)};
            }
            if (poll.Aborted(static_cast<std::size_t>(nb - rowBegin(i))))
                return Outcome::Aborted;
        }

        // Every entry of a bucket is below every entry of the next, so one
        // insertion sort over the whole table sorts the buckets, moving
        // entries only inside their own. Most buckets hold an entry or two;
        // the large ones gather the many pairs (a, b) with b much larger than
        // a, whose values a // b crowd just below a (or a + b just above b),
        // and those arrive row after row already in order: the work is in
        // proportion to the disorder, which is small. Should there be much
        // of it, the buckets are sorted one by one in full instead.
        const std::uint64_t moveLimit = 8 * std::uint64_t{n} + 64;
        std::uint64_t moves = 0;
        for (std::size_t x = 1; x < n && moves <= moveLimit; ++x) {
            if (x % kEntriesPerPoll == 0 && poll.Aborted(kEntriesPerPoll))
                return Outcome::Aborted;
            const Entry e = entries[x];
            if (!(entries[x - 1].value > e.value))
                continue;
            std::size_t y = x;
            while (y > 0 && entries[y - 1].value > e.value) {
                entries[y] = entries[y - 1];
                --y;
            }
            entries[y] = e;
            moves += x - y;
        }
        if (moves > moveLimit) {
            auto byValue = [](const Entry& p, const Entry& q) { return p.value < q.value; };
            for (std::size_t q = 0; q < t->m_buckets; ++q) {
                std::sort(entries + start[q], entries + start[q + 1], byValue);
                if (poll.Aborted(start[q + 1] - start[q]))
                    return Outcome::Aborted;
            }
        }
        table = std::move(t);
        return Outcome::Built;
    } catch (const std::bad_alloc&) {
        return Outcome::OutOfMemory;
    }
}

std::size_t PairTable::Bucket(double x) const {
    const std::uint64_t key = Bits(x);
    if (key <= m_keyMin)
        return 0;
    const std::uint64_t q = (key - m_keyMin) >> m_shift;
    return q < m_buckets ? static_cast<std::size_t>(q) : m_buckets - 1;
}

std::size_t PairTable::Locate(double x) const {
    const Entry* e = m_entries.get();
    if (!(x > e[0].value))
        return x <= e[0].value ? 0 : m_size; // NaN fails both tests
    if (!(x <= e[m_size - 1].value))
        return m_size;
    // Bucket keys never decrease with the value, so every entry of an
    // earlier bucket is below x and every entry of a later one above it.
    const std::size_t q = Bucket(x);
    return FirstAtOrAbove(x, m_bucketStart[q], m_bucketStart[q + 1]);
}

std::size_t PairTable::FirstAtOrAbove(double x, std::uint32_t lo, std::uint32_t hi) const {
    const Entry* e = m_entries.get();
    if (hi - lo > kScanLimit)
        return static_cast<std::size_t>(
            std::lower_bound(e + lo, e + hi, x,
                             [](const Entry& p, double v) { return p.value < v; }) -
            e);
    while (lo < hi && e[lo].value < x)
        ++lo;
    return lo;
}

void PairTable::LocateMany(const double* x, std::size_t* k, int count) const {
    const Entry* e = m_entries.get();
    std::size_t q[kLocateBatch];
    for (int m = 0; m < count; ++m) {
        if (x[m] > e[0].value && x[m] <= e[m_size - 1].value) {
            q[m] = Bucket(x[m]);
            Prefetch(&m_bucketStart[q[m]]);
        } else {
            q[m] = m_buckets;
        }
    }
    for (int m = 0; m < count; ++m)
        if (q[m] < m_buckets)
            Prefetch(e + m_bucketStart[q[m]]);
    for (int m = 0; m < count; ++m)
        k[m] = q[m] < m_buckets ? FirstAtOrAbove(x[m], m_bucketStart[q[m]], m_bucketStart[q[m] + 1])
                                : Locate(x[m]);
}

} // namespace ohmtrim
