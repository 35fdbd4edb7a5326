#include "search/fast_searches.h"

#include "search/fast_budget.h"
#include "search/fast_pair.h"
#include "search/fast_triple.h"
#include "search/pair_searches.h"
#include "search/pair_table_cache.h"
#include "search/triple_searches.h"

#include <memory>

namespace ohmtrim::fast {

namespace {

void Write(const TripleSearch::Values& v, double& outA, double& outB, double& outC) {
    outA = v[0];
    outB = v[1];
    outC = v[2];
}

using PlainTriple = int (*)(double, double, const double*, int, const double*, int, const double*,
                            int, double&, double&, double&);

PlainTriple PlainFunction(TripleKind kind) {
    switch (kind) {
    case TripleKind::Series:
        return &ohmtrim::FindSeriesTriple;
    case TripleKind::Parallel:
        return &ohmtrim::FindParallelTriple;
    case TripleKind::ParallelSeries:
        return &ohmtrim::FindParallelSeries;
    case TripleKind::SeriesParallel:
        break;
    }
    return &ohmtrim::FindSeriesParallel;
}

SearchStatus RunTriple(TripleKind kind, double target, const double* a, int na, const double* b,
                       int nb, const double* c, int nc, double& outA, double& outB, double& outC,
                       const SearchContext& ctx) {
    const PairOp op = NestedOp(kind);
    PairTableCache* cache = ctx.tables;
    std::shared_ptr<const PairTable> table;
    if (cache != nullptr && TableSuitable(a, na))
        table = cache->Find(op, b, nb, c, nc);
    if (table == nullptr &&
        (cache == nullptr || !TableSuitable(a, na) || !cache->CanHold(b, nb, c, nc))) {
        PlainFunction(kind)(target, ctx.relTol, a, na, b, nb, c, nc, outA, outB, outC);
        return SearchStatus::Found;
    }
    TripleSearch search(kind, target, ctx.relTol, a, na, b, nb, c, nc);
    if (table == nullptr) {
        WorkBudget budget = BudgetForBuilding(PairTable::EntriesFor(b, nb, c, nc));
        if (!search.ScanPlain(budget)) {
            switch (ObtainTable(*cache, op, b, nb, c, nc, ctx, table)) {
            case TableOutcome::Ready:
                break;
            case TableOutcome::Aborted:
                return SearchStatus::Aborted;
            case TableOutcome::Unavailable: {
                WorkBudget unlimited = WorkBudget::Unlimited();
                search.ScanPlain(unlimited);
                break;
            }
            }
        }
    }
    if (!search.Finished()) {
        TripleScratch scratch;
        search.ScanFast(*table, scratch);
    }
    ctx.ReportProgress(1.0);
    Write(search.Result(), outA, outB, outC);
    return SearchStatus::Found;
}

} // namespace

SearchStatus FindSeriesPair(double target, const double* a, int na, const double* b, int nb,
                            double& outA, double& outB, const SearchContext& ctx) {
    // A single pair search is cheaper than building its table: only a cached
    // table is used.
    std::shared_ptr<const PairTable> table;
    if (ctx.tables != nullptr)
        table = ctx.tables->Find(PairOp::Series, a, na, b, nb);
    if (table == nullptr) {
        ohmtrim::FindSeriesPair(target, ctx.relTol, a, na, b, nb, outA, outB);
    } else {
        RowMarks marks;
        SeriesPairOverTable(target, ctx.relTol, *table, marks, outA, outB);
    }
    return SearchStatus::Found;
}

SearchStatus FindParallelPair(double target, const double* a, int na, const double* b, int nb,
                              double& outA, double& outB, const SearchContext& ctx) {
    std::shared_ptr<const PairTable> table;
    if (ctx.tables != nullptr)
        table = ctx.tables->Find(PairOp::Parallel, a, na, b, nb);
    if (table == nullptr) {
        ohmtrim::FindParallelPair(target, ctx.relTol, a, na, b, nb, outA, outB);
    } else {
        RowMarks marks;
        ParallelPairOverTable(target, ctx.relTol, *table, marks, outA, outB);
    }
    return SearchStatus::Found;
}

SearchStatus FindSeriesTriple(double target, const double* a, int na, const double* b, int nb,
                              const double* c, int nc, double& outA, double& outB, double& outC,
                              const SearchContext& ctx) {
    return RunTriple(TripleKind::Series, target, a, na, b, nb, c, nc, outA, outB, outC, ctx);
}

SearchStatus FindParallelTriple(double target, const double* a, int na, const double* b, int nb,
                                const double* c, int nc, double& outA, double& outB, double& outC,
                                const SearchContext& ctx) {
    return RunTriple(TripleKind::Parallel, target, a, na, b, nb, c, nc, outA, outB, outC, ctx);
}

SearchStatus FindParallelSeries(double target, const double* a, int na, const double* b, int nb,
                                const double* c, int nc, double& outA, double& outB, double& outC,
                                const SearchContext& ctx) {
    return RunTriple(TripleKind::ParallelSeries, target, a, na, b, nb, c, nc, outA, outB, outC,
                     ctx);
}

SearchStatus FindSeriesParallel(double target, const double* a, int na, const double* b, int nb,
                                const double* c, int nc, double& outA, double& outB, double& outC,
                                const SearchContext& ctx) {
    return RunTriple(TripleKind::SeriesParallel, target, a, na, b, nb, c, nc, outA, outB, outC,
                     ctx);
}

} // namespace ohmtrim::fast
