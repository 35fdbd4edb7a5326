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
#include <cstdint>
#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

namespace ohmtrim {

class PairTableCache {
public:
    // How the fast searches use the cache. The defaults are the measured
    // ones; tests shrink the budgets to run the fast paths on small tables.
    struct Options {
        // Memory the tables may take together.
        std::size_t byteLimit = std::size_t{64} << 20;
        // Plain rows a search scans before it looks at the cache: a few
        // microseconds, so that the look-up and its checks cost a few per
        // cent of the search at most.
        std::int64_t startRows = 256;
        // Plain rows (one table lookup each) that cost about as much as
        // building one pair entry: the budget of the plain scan before a
        // missing table is built is this times the table's entries.
        // Measured on E192 side by side: about 17 to 27 ns a row of a plain
        // scan; 10 to 14 ns an entry of a build into memory used before, 15
        // to 22 ns into fresh memory (the first build of a program).
        double plainRowsPerEntry = 0.8;
        // An enumeration of pairs goes on more threads (where the context
        // allows them) after this many pairs on one with the table at hand:
        // most searches with a tolerance have ended by then.
        double pairsForThreads = 20000;
    };

    PairTableCache() = default;
    explicit PairTableCache(const Options& options) : m_options(options) {}
    const Options& GetOptions() const { return m_options; }

    // The cached table of (a, b) for op, now the most recently used; null
    // when there is none.
    std::shared_ptr<const PairTable> Find(PairOp op, const double* a, int na, const double* b,
                                          int nb);
    // Is a value table ascending and within the fast searches' range
    // (fast::TableSuitable)? The answer is kept per table, like the tables.
    bool Suitable(const double* v, int n);
    // Would a table of (a, b) stay within the memory cap?
    bool Fits(const double* a, int na, const double* b, int nb) const;
    // The cached table, or a new one built now (polling Escape in ctx) and
    // kept, evicting the least recently used tables to stay within the cap.
    // A search that holds a table keeps it alive after its eviction. When
    // another thread is building the same table, this waits for it (polling
    // Escape) instead of building it a second time.
    PairTable::Outcome Obtain(PairOp op, const double* a, int na, const double* b, int nb,
                              const SearchContext& ctx, std::shared_ptr<const PairTable>& table);

    // Builds the tables the searches want when every resistor takes values
    // from v (the series and the parallel table of v with itself), as the
    // windows start with the main value set. Stops early when ctx's Escape
    // poll says so (a program that ends cancels it that way).
    void Prebuild(const double* v, int n, const SearchContext& ctx);

    std::size_t Bytes() const;
    std::size_t Count() const;
    void Clear();

private:
    Options m_options;
    mutable std::mutex m_mutex;
    std::list<std::shared_ptr<const PairTable>> m_tables; // most recently used first
    std::size_t m_bytes = 0;
    struct Verdict {
        const double* values;
        int count;
        double samples[3];
        bool suitable;
    };
    std::list<Verdict> m_verdicts; // most recent first, a few dozen at most
    // The tables being built now, by what Find knows them by.
    struct Building {
        PairOp op;
        const double* a;
        int na;
        const double* b;
        int nb;
    };
    std::vector<Building> m_building;
    std::condition_variable m_built;
};

} // namespace ohmtrim
