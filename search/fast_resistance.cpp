#include "search/fast_searches.h"

#include "search/fast_pair.h"
#include "search/fast_triple.h"
#include "search/pair_searches.h"
#include "search/table_source.h"
#include "search/triple_searches.h"

namespace ohmtrim::fast {

namespace {

using PlainPair = int (*)(double, double, const double*, int, const double*, int, double&, double&);
using CountedPair = bool (*)(double, double, const double*, int, const double*, int, WorkBudget&,
                             double&, double&, PairScanPlace*);
using PairOverTable = void (*)(double, double, const PairTable&, RowMarks&, double&, double&);

// A single pair search is cheaper than building its table: it only uses a
// cached one. After the start budget it begins again over the table, which
// costs less than the rows it repeats; without one it goes on plainly from
// where it stopped.
SearchStatus RunPair(PairOp op, PlainPair plain, CountedPair counted, PairOverTable overTable,
                     double target, const double* a, int na, const double* b, int nb, double& outA,
                     double& outB, const SearchContext& ctx) {
    if (ctx.tables == nullptr) {
        plain(target, ctx.relTol, a, na, b, nb, outA, outB);
    } else {
        TableSource source(ctx, op, a, na, b, nb, false);
        PairScanPlace place;
        if (!counted(target, ctx.relTol, a, na, b, nb, source.Budget(), outA, outB, &place)) {
            if (source.Advance() == TableSource::Next::Fast) {
                RowMarks marks;
                overTable(target, ctx.relTol, *source.Table(), marks, outA, outB);
            } else {
                WorkBudget unlimited = WorkBudget::Unlimited();
                counted(target, ctx.relTol, a, na, b, nb, unlimited, outA, outB, &place);
            }
        }
    }
    ctx.ReportProgress(1.0);
    return SearchStatus::Found;
}

using PlainTriple = int (*)(double, double, const double*, int, const double*, int, const double*,
                            int, double&, double&, double&);

SearchStatus RunTriple(TripleKind kind, PlainTriple plain, double target, const double* a, int na,
                       const double* b, int nb, const double* c, int nc, double& outA, double& outB,
                       double& outC, const SearchContext& ctx) {
    if (ctx.tables == nullptr) {
        plain(target, ctx.relTol, a, na, b, nb, c, nc, outA, outB, outC);
        return SearchStatus::Found;
    }
    TripleSearch search(kind, target, ctx.relTol, a, na, b, nb, c, nc);
    TableSource source(ctx, NestedOp(kind), b, nb, c, nc);
    source.AlsoNeeds(a, na);
    double done = 0;
    source.SetProgress(&done);
    while (!search.ScanPlain(source.Budget())) {
        done = search.DoneFraction();
        const TableSource::Next next =
            source.Advance([&](std::int64_t limit) { return search.CertainRows(limit); });
        if (next == TableSource::Next::Aborted)
            return SearchStatus::Aborted;
        if (next == TableSource::Next::Fast) {
            TripleScratch scratch;
            search.ScanFast(*source.Table(), scratch);
            break;
        }
        ctx.ReportProgress(search.DoneFraction());
    }
    ctx.ReportProgress(1.0);
    const TripleSearch::Values& v = search.Result();
    outA = v[0];
    outB = v[1];
    outC = v[2];
    return SearchStatus::Found;
}

} // namespace

SearchStatus FindSeriesPair(double target, const double* a, int na, const double* b, int nb,
                            double& outA, double& outB, const SearchContext& ctx) {
    return RunPair(PairOp::Series, &ohmtrim::FindSeriesPair, &SeriesPairCounted,
                   &SeriesPairOverTable, target, a, na, b, nb, outA, outB, ctx);
}

SearchStatus FindParallelPair(double target, const double* a, int na, const double* b, int nb,
                              double& outA, double& outB, const SearchContext& ctx) {
    return RunPair(PairOp::Parallel, &ohmtrim::FindParallelPair, &ParallelPairCounted,
                   &ParallelPairOverTable, target, a, na, b, nb, outA, outB, ctx);
}

SearchStatus FindSeriesTriple(double target, const double* a, int na, const double* b, int nb,
                              const double* c, int nc, double& outA, double& outB, double& outC,
                              const SearchContext& ctx) {
    return RunTriple(TripleKind::Series, &ohmtrim::FindSeriesTriple, target, a, na, b, nb, c, nc,
                     outA, outB, outC, ctx);
}

SearchStatus FindParallelTriple(double target, const double* a, int na, const double* b, int nb,
                                const double* c, int nc, double& outA, double& outB, double& outC,
                                const SearchContext& ctx) {
    return RunTriple(TripleKind::Parallel, &ohmtrim::FindParallelTriple, target, a, na, b, nb, c,
                     nc, outA, outB, outC, ctx);
}

SearchStatus FindParallelSeries(double target, const double* a, int na, const double* b, int nb,
                                const double* c, int nc, double& outA, double& outB, double& outC,
                                const SearchContext& ctx) {
    return RunTriple(TripleKind::ParallelSeries, &ohmtrim::FindParallelSeries, target, a, na, b, nb,
                     c, nc, outA, outB, outC, ctx);
}

SearchStatus FindSeriesParallel(double target, const double* a, int na, const double* b, int nb,
                                const double* c, int nc, double& outA, double& outB, double& outC,
                                const SearchContext& ctx) {
    return RunTriple(TripleKind::SeriesParallel, &ohmtrim::FindSeriesParallel, target, a, na, b, nb,
                     c, nc, outA, outB, outC, ctx);
}

} // namespace ohmtrim::fast
