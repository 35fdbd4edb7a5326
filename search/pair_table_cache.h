#pragma once

// The pair tables of the fast searches, kept for the program's lifetime per
// pair of value tables and operation. Value sets do not change after
// start-up, so a table is known by the addresses and counts of its value
// tables (and a few sample values, so that a freed table whose memory is
// reused is not taken for the old one). Memory is capped; the table used
// least recently goes first. Safe to use from several threads.

#include "search/pair_table.h"
#include "search/search_context.h"

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>

namespace ohmtrim {

class PairTableCache {
public:
    static constexpr std::size_t kDefaultByteLimit = std::size_t{64} << 20;

    explicit PairTableCache(std::size_t byteLimit = kDefaultByteLimit) : m_limit(byteLimit) {}

    // The cached table of (a, b) for op, now the most recently used; null
    // when there is none.
    std::shared_ptr<const PairTable> Find(PairOp op, const double* a, int na, const double* b,
                                          int nb);
    // Could a table of (a, b) be built and kept? Both value tables suitable
    // (ascending, fast-search range) and the table within the memory cap.
    bool CanHold(const double* a, int na, const double* b, int nb) const;
    // The cached table, or a new one built now (polling Escape in ctx) and
    // kept, evicting the least recently used tables to stay within the cap.
    // A search that holds a table keeps it alive after its eviction.
    PairTable::Outcome Obtain(PairOp op, const double* a, int na, const double* b, int nb,
                              const SearchContext& ctx, std::shared_ptr<const PairTable>& table);

    std::size_t Bytes() const;
    std::size_t Count() const;
    std::size_t ByteLimit() const { return m_limit; }
    void Clear();

private:
    std::size_t m_limit;
    mutable std::mutex m_mutex;
    std::list<std::shared_ptr<const PairTable>> m_tables; // most recently used first
    std::size_t m_bytes = 0;
};

} // namespace ohmtrim
