#include "cli/session.h"

#include "circuits/format.h"
#include "cli/cli.h"
#include "cli/json.h"
#include "cli/progress_line.h"
#include "settings/settings.h"
#include "valuesets/number.h"
#include "valuesets/text.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <system_error>
#include <sstream>

namespace ohmtrim::cli {

namespace {

// Set by Ctrl-C while a search runs; the searches read it as their Escape key.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
    g_interrupted.store(true, std::memory_order_relaxed);
}

// Installs the Ctrl-C handler for the lifetime of a search.
class InterruptScope {
public:
    InterruptScope() {
        g_interrupted.store(false);
        m_previous = std::signal(SIGINT, OnInterrupt);
    }
    ~InterruptScope() { std::signal(SIGINT, m_previous == SIG_ERR ? SIG_DFL : m_previous); }
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;

private:
    void (*m_previous)(int) = SIG_DFL;
};

// "R1" for the first chosen value. (Built by appending: "R" + a temporary
// string trips a false -Wrestrict warning of g++ 12 at -O3.)
std::string ValueName(std::size_t i) {
    std::string name = "R";
    name.append(std::to_string(i + 1));
    return name;
}

void (*g_searchStartHook)() = nullptr;

} // namespace

void SetSearchStartHook(void (*hook)()) {
    g_searchStartHook = hook;
}

std::string Pad(std::string s, std::size_t width) {
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}

Session::Session(std::ostream& out, std::ostream& err)
    : m_out(out), m_err(err), m_textBuffer(out.rdbuf(), true), m_jsonBuffer(out.rdbuf(), false),
      m_errBuffer(err.rdbuf(), true), m_text(&m_textBuffer), m_json(&m_jsonBuffer),
      m_errText(&m_errBuffer) {}

void Session::CheckOptions() {
    if (!relTol)
        return;
    double x = 0;
    switch (ParseNumber(*relTol, x)) {
    case NumberStatus::Number:
        m_relTol = ClampRelTol(x);
        break;
    case NumberStatus::Overflow:
        // Beyond a double is beyond the range too, and clamped like it.
        m_relTol = ClampRelTol(TrimBlanksAndControls(*relTol).starts_with('-') ? -1 : 1);
        break;
    case NumberStatus::NotANumber:
        throw UsageError{"--reltol needs a number, not '" + *relTol + "'"};
    }
}

const ProgramState& Session::Load() {
    const std::filesystem::path directory = dir ? std::filesystem::path(*dir) : ProgramDirectory();
    if (directory.empty())
        throw UsageError{"cannot find the program directory; give --dir"};
    // A directory that is not there would otherwise read as one without
    // value sets, and every later command would blame the label.
    std::error_code ec;
    const std::filesystem::directory_iterator probe(directory, ec);
    if (ec)
        throw InputError{"cannot read the directory " + directory.string() + ": " + ec.message()};
    // --dir names exactly the directory to read; the program's own may be
    // an installed copy with per-user files.
    m_state = dir ? LoadProgramState(directory) : LoadProgramState(LocateProgramFiles(directory));
    if (m_relTol)
        m_state.settings.relTol = *m_relTol;
    return m_state;
}

int Session::FindSet(std::string_view label) {
    const ValueSetList& list = m_state.valueSets;
    int exact = -1;
    int sharing = 0;
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).label() == label) {
            exact = exact < 0 ? i : exact;
            ++sharing;
        }
    }
    if (exact >= 0) {
        if (sharing > 1 && m_sharedLabelsNamed.insert(std::string(label)).second)
            err() << kToolName << ": " << sharing << " value sets are labelled '" << label
                  << "'; using the one in " << list.sets[static_cast<std::size_t>(exact)].file
                  << "\n";
        return exact;
    }
    int found = -1;
    for (int i = 0; i < list.size(); ++i) {
        if (EqualNoCase(list.at(i).label(), label)) {
            if (found >= 0)
                throw UsageError{"value set '" + std::string(label) + "' is ambiguous"};
            found = i;
        }
    }
    if (found < 0)
        throw UsageError{"unknown value set '" + std::string(label) + "'"};
    return found;
}

int Session::RunEntry(const CatalogueEntry& entry, const std::vector<int>& sets,
                      const std::vector<InputText>& texts, bool solveForm,
                      const SolveExtras& extras) {
    std::vector<ValueTable> tables;
    for (int s : sets)
        tables.push_back(TableOf(m_state.valueSets.at(s)));

    SolveInputs in;
    SolveOutcome outcome;
    ExtrasOutcome worked;
    if (ParseInputs(entry, texts, in)) {
        InterruptScope interrupt;
        std::atomic<double> progress{0.0};
        SearchContext ctx;
        ctx.relTol = m_state.settings.relTol;
        ctx.escape = &g_interrupted;
        ctx.tables = &m_tables;
        ctx.threads = SearchThreads();
        ctx.progress = &progress;
        // Wiped before anything else is printed.
        ProgressLine line(m_err, errIsTerminal, progress);
        if (g_searchStartHook != nullptr)
            g_searchStartHook();
        outcome = Solve(entry, in, tables, ctx);
        if (outcome.status == SearchStatus::Found)
            worked = WorkOutExtras(entry, in, tables, ctx, extras, outcome);
    }
    const FamilyDescription& family = FamilyOf(entry);
    if (json)
        PrintJson(entry, outcome, solveForm, worked);
    else if (outcome.status == SearchStatus::Found)
        PrintHuman(entry, outcome, worked);
    const std::string_view message = FailureText(family, outcome.status).text;
    if (!message.empty())
        err() << message << "\n";
    return static_cast<int>(outcome.status);
}

int Session::Finish(int status) {
    m_textBuffer.Finish();
    m_jsonBuffer.Finish();
    // What the streams below still buffer is written now: errno tells why
    // it failed only when cleared first.
    errno = 0;
    m_out.flush();
    const int flushError = errno;
    if (!m_textBuffer.failed() && !m_jsonBuffer.failed() && m_out.good()) {
        m_errBuffer.Finish();
        return status;
    }
    int error = m_textBuffer.failed() ? m_textBuffer.error() : m_jsonBuffer.error();
    if (error == 0)
        error = flushError;
    err() << kToolName << ": cannot write the output";
    if (error != 0)
        err() << ": " << std::generic_category().message(error);
    err() << "\n";
    m_errBuffer.Finish();
    return kExitIoError;
}

ExtrasOutcome Session::WorkOutExtras(const CatalogueEntry& entry, const SolveInputs& in,
                                     std::span<const ValueTable> tables, const SearchContext& ctx,
                                     const SolveExtras& extras, SolveOutcome& outcome) {
    ExtrasOutcome worked;
    if (extras.tolerance) {
        worked.percent = *extras.tolerance;
        worked.ranges = ToleranceCorners(entry, in, outcome.values, *extras.tolerance);
    }
    if (extras.top) {
        worked.ranked = true;
        switch (RankAlternatives(entry, in, tables, *extras.top, ctx, worked.alternatives)) {
        case AlternativesStatus::Found:
            break;
        case AlternativesStatus::Aborted:
            outcome.status = SearchStatus::Aborted;
            outcome.results.clear();
            break;
        case AlternativesStatus::InvalidInput:
            // The search took the same input: only the tables can be at fault.
            throw UsageError{"no ranked alternatives for these value sets"};
        case AlternativesStatus::TooLarge:
            throw UsageError{"too many pairs in these value sets for --top"};
        }
    }
    return worked;
}

void Session::PrintHuman(const CatalogueEntry& entry, const SolveOutcome& outcome,
                         const ExtrasOutcome& extras) {
    const FamilyDescription& family = FamilyOf(entry);
    if (family.listsChosenValues)
        for (std::size_t i = 0; i < outcome.values.size(); ++i)
            out() << Pad(ValueName(i), 15) << FormatValue(outcome.values[i]) << "\n";
    // A result the outcome lacks (no smaller value, say) shows as empty.
    for (const ResultId id : family.results) {
        const ResultInfo& info = Info(id);
        const auto value = outcome.Result(id);
        out() << Pad(std::string(info.label), 15)
              << (value ? FormatNumber(*value, info.format) + HumanRange(extras, id)
                        : std::string())
              << "\n";
    }
    PrintAlternatives(out(), extras, entry.resistors);
}

void Session::PrintJson(const CatalogueEntry& entry, const SolveOutcome& outcome, bool solveForm,
                        const ExtrasOutcome& extras) {
    const FamilyDescription& family = FamilyOf(entry);
    const bool found = outcome.status == SearchStatus::Found;
    const std::string_view message = FailureText(family, outcome.status).text;
    std::ostringstream o;
    o << "{";
    if (solveForm)
        o << "\"entry\":" << entry.index << ",";
    o << "\"status\":" << static_cast<int>(outcome.status);
    if (solveForm || !found)
        o << ",\"message\":" << (message.empty() ? "null" : json::String(message));
    // A result the outcome lacks is null.
    const auto result = [&](ResultId id) {
        const auto value = outcome.Result(id);
        return json::String(Info(id).key) + ":" + (value ? json::Number(*value) : "null");
    };
    if (solveForm) {
        // The values a search wrote also without finding (the node chains
        // clear theirs to 0.0, a star scan that found nothing writes 0.0 to
        // every one); null where it wrote none; results only with a found one.
        if (!outcome.values.empty()) {
            o << ",\"values\":[";
            for (std::size_t i = 0; i < outcome.values.size(); ++i)
                o << (i ? "," : "") << json::Number(outcome.values[i]);
            o << "]";
        } else {
            o << ",\"values\":null";
        }
        if (found) {
            o << ",\"results\":{";
            for (std::size_t i = 0; i < family.results.size(); ++i)
                o << (i ? "," : "") << result(family.results[i]);
            o << "}" << ExtrasJson(extras, family);
        } else {
            o << ",\"results\":null";
        }
    } else if (found) {
        for (const ResultId id : family.results)
            o << "," << result(id);
    }
    o << "}\n";
    out() << o.str();
}

} // namespace ohmtrim::cli
