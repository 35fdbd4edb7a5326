#include "search/table_source.h"

#include <algorithm>

namespace ohmtrim::fast {

TableSource::Next TableSource::Advance(const CertainRows& certainRows) {
    PairTableCache& cache = *m_ctx.tables;
    switch (m_stage) {
    case Stage::Start: {
        // A cached table was built from suitable tables; the others are
        // checked when they matter: before the fast path reads them, or
        // before a build.
        m_table = cache.Find(m_op, m_a, m_na, m_b, m_nb);
        if (m_table != nullptr) {
            if (!AlsoSuitable()) {
                m_table.reset();
                break;
            }
            m_stage = Stage::Fast;
            return Next::Fast;
        }
        if (!m_mayBuild || !cache.Fits(m_a, m_na, m_b, m_nb))
            break;
        m_stage = Stage::Building;
        const double entries = static_cast<double>(PairTable::EntriesFor(m_a, m_na, m_b, m_nb));
        const auto buildRows =
            static_cast<std::int64_t>(entries * cache.GetOptions().plainRowsPerEntry);
        // With half a build's worth of plain work still certain, a build now
        // costs at most about twice what the plain scan would: no worse than
        // the budget's own worst case, and usually far better.
        if (certainRows && certainRows(buildRows / 2) >= buildRows / 2) {
            m_certain = true;
            return Advance();
        }
        m_buildBudgetLeft = buildRows;
        GrantStretch();
        return Next::Plain;
    }
    case Stage::Building: {
        // The budget comes in stretches with an Escape poll between them;
        // another search may have built the table meanwhile.
        if (m_buildBudgetLeft > 0) {
            if (m_ctx.EscapeDown())
                return Next::Aborted;
            m_table = cache.Find(m_op, m_a, m_na, m_b, m_nb);
            if (m_table != nullptr && AlsoSuitable()) {
                m_stage = Stage::Fast;
                return Next::Fast;
            }
            m_table.reset();
            GrantStretch();
            return Next::Plain;
        }
        if (!AlsoSuitable() || !cache.Suitable(m_a, m_na) || !cache.Suitable(m_b, m_nb))
            break;
        // A scan that has come more than half way looks nearly done: if what
        // is left of it, at the pace so far, is less than a build, it goes on
        // plainly (once). Before half way the pace says too little.
        const double done = m_done != nullptr ? *m_done : 0;
        if (!m_extended && !m_certain && done >= 0.5 && done < 1) {
            const double left = static_cast<double>(m_granted) * (1 - done) / done;
            const double entries = static_cast<double>(PairTable::EntriesFor(m_a, m_na, m_b, m_nb));
            if (left < entries * cache.GetOptions().plainRowsPerEntry) {
                m_extended = true;
                m_buildBudgetLeft =
                    static_cast<std::int64_t>(left * 1.25) + cache.GetOptions().startRows;
                GrantStretch();
                return Next::Plain;
            }
        }
        std::shared_ptr<const PairTable> table;
        switch (cache.Obtain(m_op, m_a, m_na, m_b, m_nb, m_ctx, table)) {
        case PairTable::Outcome::Built:
            m_table = std::move(table);
            m_stage = Stage::Fast;
            return Next::Fast;
        case PairTable::Outcome::Aborted:
            return Next::Aborted;
        case PairTable::Outcome::Unsuitable:
        case PairTable::Outcome::OutOfMemory:
            break;
        }
        break;
    }
    case Stage::Fast:
        return Next::Fast;
    case Stage::PlainOnly:
        if (m_ctx.EscapeDown())
            return Next::Aborted;
        break;
    }
    m_stage = Stage::PlainOnly;
    Grant(kPlainRowsPerPoll);
    return Next::Plain;
}

bool TableSource::AlsoSuitable() const {
    for (int k = 0; k < 2; ++k)
        if (m_also[k] != nullptr && !m_ctx.tables->Suitable(m_also[k], m_alsoCount[k]))
            return false;
    return true;
}

void TableSource::GrantStretch() {
    const std::int64_t rows = std::min(m_buildBudgetLeft, kPlainRowsPerPoll);
    m_buildBudgetLeft -= rows;
    Grant(rows);
}

void TableSource::Grant(std::int64_t rows) {
    m_budget = WorkBudget(rows);
    m_granted += rows;
}

} // namespace ohmtrim::fast
