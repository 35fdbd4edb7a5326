#include "search/pair_table_cache.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <utility>

namespace ohmtrim {

std::shared_ptr<const PairTable> PairTableCache::Find(PairOp op, const double* a, int na,
                                                      const double* b, int nb) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_tables.begin(); it != m_tables.end(); ++it) {
        if ((*it)->Matches(op, a, na, b, nb)) {
            m_tables.splice(m_tables.begin(), m_tables, it);
            return m_tables.front();
        }
    }
    return nullptr;
}

namespace {

constexpr std::size_t kVerdictsKept = 64;

bool SameBits(double x, double y) {
    return std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y);
}

} // namespace

bool PairTableCache::Suitable(const double* v, int n) {
    if (v == nullptr || n < 1)
        return false;
    const double samples[3] = {v[0], v[n / 2], v[n - 1]};
    const std::lock_guard<std::mutex> lock(m_mutex);
    for (const Verdict& d : m_verdicts)
        if (d.values == v && d.count == n && SameBits(d.samples[0], samples[0]) &&
            SameBits(d.samples[1], samples[1]) && SameBits(d.samples[2], samples[2]))
            return d.suitable;
    const bool suitable = fast::TableSuitable(v, n);
    m_verdicts.push_front({v, n, {samples[0], samples[1], samples[2]}, suitable});
    if (m_verdicts.size() > kVerdictsKept)
        m_verdicts.pop_back();
    return suitable;
}

bool PairTableCache::Fits(const double* a, int na, const double* b, int nb) const {
    return PairTable::BytesFor(PairTable::EntriesFor(a, na, b, nb)) <= m_options.byteLimit;
}

PairTable::Outcome PairTableCache::Obtain(PairOp op, const double* a, int na, const double* b,
                                          int nb, const SearchContext& ctx,
                                          std::shared_ptr<const PairTable>& table) {
    table = Find(op, a, na, b, nb);
    if (table != nullptr)
        return PairTable::Outcome::Built;
    if (!Fits(a, na, b, nb))
        return PairTable::Outcome::Unsuitable;
    const auto same = [&](const Building& k) {
        return k.op == op && k.a == a && k.na == na && k.b == b && k.nb == nb;
    };
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (std::any_of(m_building.begin(), m_building.end(), same)) {
            // Another thread is building it: a millisecond at a time, so
            // that Escape is seen.
            m_built.wait_for(lock, std::chrono::milliseconds(1));
            lock.unlock();
            const bool escape = ctx.EscapeDown();
            lock.lock();
            if (escape)
                return PairTable::Outcome::Aborted;
        }
        for (auto it = m_tables.begin(); it != m_tables.end(); ++it) {
            if ((*it)->Matches(op, a, na, b, nb)) {
                m_tables.splice(m_tables.begin(), m_tables, it);
                table = m_tables.front();
                return PairTable::Outcome::Built;
            }
        }
        m_building.push_back({op, a, na, b, nb});
    }
    // Built outside the lock: other searches may use the cache meanwhile.
    std::unique_ptr<PairTable> built;
    const PairTable::Outcome outcome = PairTable::Build(op, a, na, b, nb, ctx, built);
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_building.erase(std::find_if(m_building.begin(), m_building.end(), same));
    m_built.notify_all();
    if (outcome != PairTable::Outcome::Built)
        return outcome;
    std::shared_ptr<const PairTable> fresh(std::move(built));
    m_bytes += fresh->Bytes();
    m_tables.push_front(fresh);
    while (m_bytes > m_options.byteLimit && m_tables.size() > 1) {
        m_bytes -= m_tables.back()->Bytes();
        m_tables.pop_back();
    }
    table = std::move(fresh);
    return outcome;
}

void PairTableCache::Prebuild(const double* v, int n, const SearchContext& ctx) {
    for (const PairOp op : {PairOp::Parallel, PairOp::Series}) {
        std::shared_ptr<const PairTable> table;
        if (Obtain(op, v, n, v, n, ctx, table) == PairTable::Outcome::Aborted)
            return;
    }
}

std::size_t PairTableCache::Bytes() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes;
}

std::size_t PairTableCache::Count() const {
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_tables.size();
}

void PairTableCache::Clear() {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_tables.clear();
    m_bytes = 0;
    m_verdicts.clear();
}

} // namespace ohmtrim
