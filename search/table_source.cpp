#include "search/table_source.h"

namespace ohmtrim::fast {

TableSource::Next TableSource::Advance(const CertainRows& certainRows) {
    PairTableCache& cache = *m_ctx.tables;
    switch (m_stage) {
    case Stage::Start: {
        bool suitable = cache.Suitable(m_a, m_na) && cache.Suitable(m_b, m_nb);
        for (int k = 0; k < 2; ++k)
            if (m_also[k] != nullptr)
                suitable = suitable && cache.Suitable(m_also[k], m_alsoCount[k]);
        if (suitable) {
            m_table = cache.Find(m_op, m_a, m_na, m_b, m_nb);
            if (m_table != nullptr) {
                m_stage = Stage::Fast;
                return Next::Fast;
            }
        }
        if (!suitable || !m_mayBuild || !cache.Fits(m_a, m_na, m_b, m_nb))
            break;
        m_stage = Stage::Building;
        const double entries = static_cast<double>(PairTable::EntriesFor(m_a, m_na, m_b, m_nb));
        const auto buildRows =
            static_cast<std::int64_t>(entries * cache.GetOptions().plainRowsPerEntry);
        if (certainRows && certainRows(buildRows) >= buildRows)
            return Advance(); // the plain scan could not end before a build pays
        m_budget = WorkBudget(buildRows);
        return Next::Plain;
    }
    case Stage::Building: {
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
    m_budget = WorkBudget(kPlainRowsPerPoll);
    return Next::Plain;
}

} // namespace ohmtrim::fast
