#include "cli/cli.h"

#include "settings/discovery.h"
#include "settings/settings.h"
#include "circuits/catalogue.h"
#include "circuits/format.h"
#include "circuits/solve.h"
#include "cli/json.h"
#include "valuesets/number.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <csignal>
#include <optional>
#include <sstream>

namespace ohmtrim {

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

struct UsageError {
    std::string message;
};

struct Options {
    std::optional<std::filesystem::path> dir;
    std::optional<double> relTol;
    bool json = false;
    std::vector<std::string> rest; // command and its arguments
};

constexpr const char* kUsage =
    "usage: ohmtrim-cli [--dir DIR] [--reltol X] [--json] COMMAND ...\n"
    "commands:\n"
    "  sets                         list the loaded value sets\n"
    "  values LABEL                 print a value set's table\n"
    "  nearest LABEL R              nearest standard value to R\n"
    "  solve ENTRY --sets L1,L2[,...] INPUTS\n"
    "                               run catalogue entry ENTRY's search; INPUTS are\n"
    "                               --target R (entries 1-7) or\n"
    "                               --u1 U --u2 U --u3 U --rmin R --rmax R (entries 8-12)";

Options ParseOptions(const std::vector<std::string>& args) {
    Options o;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            o.json = true;
        } else if (a == "--dir" || a == "--reltol") {
            if (i + 1 >= args.size())
                throw UsageError{"option " + a + " needs a value"};
            const std::string& v = args[++i];
            if (a == "--dir") {
                o.dir = std::filesystem::path(v);
            } else {
                double x = 0;
                if (ParseNumber(v, x) != NumberStatus::Number)
                    throw UsageError{"--reltol needs a number, not '" + v + "'"};
                o.relTol = ClampRelTol(x);
            }
        } else if (a.rfind("--", 0) == 0) {
            throw UsageError{"unknown option " + a};
        } else {
            break;
        }
    }
    o.rest.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    if (o.rest.empty())
        throw UsageError{"no command given"};
    return o;
}

std::string Lower(std::string_view s) {
    std::string r(s);
    for (auto& c : r)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

// A value set by its label: an exact match first, else a unique match
// without regard to case.
int FindSet(const ValueSetList& list, const std::string& label) {
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).label() == label)
            return i;
    int found = -1;
    for (int i = 0; i < list.size(); ++i) {
        if (Lower(list.at(i).label()) == Lower(label)) {
            if (found >= 0)
                throw UsageError{"value set '" + label + "' is ambiguous"};
            found = i;
        }
    }
    if (found < 0)
        throw UsageError{"unknown value set '" + label + "'"};
    return found;
}

// Human-readable name of a named result, padded like the window labels.
std::string ResultLabel(std::string_view name) {
    if (name == "nearest")
        return "Nearest value";
    if (name == "smaller")
        return "Smaller value";
    if (name == "bigger")
        return "Bigger value";
    if (name == "errorPercent")
        return "Error %";
    if (name == "resistance")
        return "R";
    if (name == "u2")
        return "U2";
    return std::string(name);
}

std::string Pad(std::string s, std::size_t width) {
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}

// The results each kind of entry reports, in display order; a result the
// outcome lacks (no smaller value, say) shows as empty / null.
std::vector<std::string_view> ResultNames(const CatalogueEntry& e) {
    switch (e.input) {
    case InputKind::NearestValue:
        return {"nearest", "smaller", "bigger", "errorPercent"};
    case InputKind::Resistance:
        return {"resistance", "errorPercent"};
    case InputKind::DividerVoltages:
        return {"resistance", "u2"};
    default:
        return {};
    }
}

// Each input of an entry is the option "--" + its name; only voltages may
// be left out (an empty box counts as 0 in the windows too).
std::string OptionOf(const InputField& field) {
    return "--" + std::string(field.name);
}

class Cli {
public:
    Cli(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    int Run(const std::vector<std::string>& args) {
        try {
            m_opt = ParseOptions(args);
            const std::string& cmd = m_opt.rest[0];
            if (cmd == "sets")
                return Sets();
            if (cmd == "values")
                return Values();
            if (cmd == "nearest")
                return Nearest();
            if (cmd == "solve")
                return SolveCommand();
            throw UsageError{"unknown command '" + cmd + "'"};
        } catch (const UsageError& e) {
            m_err << "ohmtrim-cli: " << e.message << "\n" << kUsage << "\n";
            return kExitUsage;
        }
    }

private:
    void Load() {
        std::filesystem::path dir = m_opt.dir ? *m_opt.dir : ProgramDirectory();
        if (dir.empty())
            throw UsageError{"cannot find the program directory; give --dir"};
        m_state = LoadProgramState(dir);
        if (m_opt.relTol)
            m_state.settings.relTol = *m_opt.relTol;
    }

    void ExpectArgs(std::size_t n, const char* what) {
        if (m_opt.rest.size() != n + 1)
            throw UsageError{std::string(m_opt.rest[0]) + " takes " + what};
    }

    int Sets() {
        ExpectArgs(0, "no arguments");
        Load();
        const auto& list = m_state.valueSets;
        const std::string preselected =
            m_state.preselected >= 0 ? list.at(m_state.preselected).label() : "";
        if (m_opt.json) {
            std::ostringstream o;
            o << "{\"sets\":[";
            for (int i = 0; i < list.size(); ++i) {
                const auto& s = list.at(i);
                o << (i ? "," : "") << "{\"label\":" << json::String(s.label())
                  << ",\"count\":" << s.count()
                  << ",\"hasShortCircuit\":" << (s.hasShortCircuit() ? "true" : "false")
                  << ",\"hasOpenCircuit\":" << (s.hasOpenCircuit() ? "true" : "false")
                  << ",\"file\":" << json::String(list.sets[static_cast<std::size_t>(i)].file)
                  << "}";
            }
            o << "],\"failures\":[";
            for (std::size_t i = 0; i < list.failures.size(); ++i)
                o << (i ? "," : "") << "{\"file\":" << json::String(list.failures[i].file)
                  << ",\"error\":" << json::String(list.failures[i].error) << "}";
            o << "],\"preselected\":"
              << (m_state.preselected >= 0 ? json::String(preselected) : "null")
              << ",\"relTol\":" << json::Number(m_state.settings.relTol) << "}\n";
            m_out << o.str();
            return kExitOk;
        }
        m_out << "Value sets in " << m_state.directory.string() << " (list order):\n";
        for (int i = 0; i < list.size(); ++i) {
            const auto& s = list.at(i);
            std::string extras;
            if (s.hasShortCircuit())
                extras += " short";
            if (s.hasOpenCircuit())
                extras += " open";
            m_out << "  " << Pad(s.label(), 6) << Pad(std::to_string(s.count()) + " values", 12)
                  << Pad(extras.empty() ? "" : extras.substr(1), 12)
                  << list.sets[static_cast<std::size_t>(i)].file << "\n";
        }
        if (list.size() == 0)
            m_out << "  (none)\n";
        if (!list.failures.empty()) {
            m_out << "Files that failed to load:\n";
            for (const auto& f : list.failures)
                m_out << "  " << f.file << ": " << f.error << "\n";
        }
        m_out << "Preselected: " << (m_state.preselected >= 0 ? preselected : "(none)") << "\n";
        m_out << "Relative tolerance: " << FormatValue(m_state.settings.relTol) << "\n";
        return kExitOk;
    }

    int Values() {
        ExpectArgs(1, "one argument: LABEL");
        Load();
        const auto& set = m_state.valueSets.at(FindSet(m_state.valueSets, m_opt.rest[1]));
        if (m_opt.json) {
            std::ostringstream o;
            o << "{\"label\":" << json::String(set.label()) << ",\"values\":[";
            for (int i = 0; i < set.count(); ++i)
                o << (i ? "," : "") << json::Number(set.values()[i]);
            o << "]}\n";
            m_out << o.str();
            return kExitOk;
        }
        for (int i = 0; i < set.count(); ++i)
            m_out << FormatValue(set.values()[i]) << "\n";
        return kExitOk;
    }

    int Nearest() {
        ExpectArgs(2, "two arguments: LABEL R");
        Load();
        const int set = FindSet(m_state.valueSets, m_opt.rest[1]);
        return RunEntry(CatalogueAt(1), {set}, {{"target", m_opt.rest[2]}}, false);
    }

    int SolveCommand() {
        if (m_opt.rest.size() < 2)
            throw UsageError{"solve needs a catalogue entry"};
        int index = -1;
        if (!ParseIndex(m_opt.rest[1], index) || index < 0 || index >= kCatalogueSize)
            throw UsageError{"no catalogue entry '" + m_opt.rest[1] + "' (0 to 23)"};
        const CatalogueEntry& entry = CatalogueAt(index);
        const auto fields = InputFields(entry.input);
        if (fields.empty())
            throw UsageError{"entry " + std::to_string(index) + " (" + std::string(entry.circuit) +
                             ") cannot be solved from the command line yet"};
        std::string setsArg;
        std::vector<std::pair<std::string, std::string>> given; // option -> text
        for (std::size_t i = 2; i < m_opt.rest.size(); ++i) {
            const std::string& a = m_opt.rest[i];
            if (i + 1 >= m_opt.rest.size())
                throw UsageError{"option " + a + " needs a value"};
            const std::string& v = m_opt.rest[++i];
            if (a == "--sets") {
                setsArg = v;
                continue;
            }
            const bool known = std::any_of(fields.begin(), fields.end(),
                                           [&](const InputField& f) { return OptionOf(f) == a; });
            if (!known)
                throw UsageError{"entry " + std::to_string(index) + " takes no option " + a};
            for (const auto& g : given)
                if (g.first == a)
                    throw UsageError{"option " + a + " given twice"};
            given.emplace_back(a, v);
        }
        std::vector<std::pair<std::string, std::string>> texts; // input name -> text
        for (const auto& f : fields) {
            auto it = std::find_if(given.begin(), given.end(),
                                   [&](const auto& g) { return g.first == OptionOf(f); });
            if (it == given.end()) {
                if (f.rule != InputRule::Voltage)
                    throw UsageError{"entry " + std::to_string(index) + " needs " + OptionOf(f)};
                continue;
            }
            texts.emplace_back(std::string(f.name), it->second);
        }
        if (setsArg.empty())
            throw UsageError{"solve needs --sets with one value set per resistor"};
        Load();
        std::vector<int> sets;
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = setsArg.find(',', start);
            sets.push_back(FindSet(m_state.valueSets, setsArg.substr(start, comma - start)));
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        if (static_cast<int>(sets.size()) != entry.resistors)
            throw UsageError{"entry " + std::to_string(index) + " needs " +
                             std::to_string(entry.resistors) + " value sets, one per resistor"};
        return RunEntry(entry, sets, texts, true);
    }

    static bool ParseIndex(const std::string& s, int& out) {
        if (s.empty() || s.size() > 3)
            return false;
        out = 0;
        for (char c : s) {
            if (c < '0' || c > '9')
                return false;
            out = out * 10 + (c - '0');
        }
        return true;
    }

    int RunEntry(const CatalogueEntry& entry, const std::vector<int>& sets,
                 const std::vector<std::pair<std::string, std::string>>& texts, bool solveForm) {
        std::vector<InputText> inputs;
        for (const auto& t : texts)
            inputs.push_back({t.first, t.second});
        std::vector<ValueTable> tables;
        for (int s : sets)
            tables.push_back(TableOf(m_state.valueSets.at(s)));

        SolveInputs in;
        SolveOutcome outcome;
        if (ParseInputs(entry, inputs, in)) {
            InterruptScope interrupt;
            SearchContext ctx;
            ctx.relTol = m_state.settings.relTol;
            ctx.escape = &g_interrupted;
            outcome = Solve(entry, in, tables, ctx);
        }
        const int status = static_cast<int>(outcome.status);
        const std::string_view message = StatusMessage(outcome.status);
        if (m_opt.json)
            PrintJson(entry, outcome, solveForm);
        else if (outcome.status == SearchStatus::Found)
            PrintHuman(entry, outcome);
        if (!message.empty())
            m_err << message << "\n";
        return status;
    }

    void PrintHuman(const CatalogueEntry& entry, const SolveOutcome& outcome) {
        if (entry.input != InputKind::NearestValue)
            for (std::size_t i = 0; i < outcome.values.size(); ++i)
                m_out << Pad("R" + std::to_string(i + 1), 15) << FormatValue(outcome.values[i])
                      << "\n";
        for (const auto name : ResultNames(entry)) {
            std::string text;
            if (outcome.HasResult(name))
                text = name == "errorPercent" ? FormatError(outcome.Result(name))
                                              : FormatValue(outcome.Result(name));
            m_out << Pad(ResultLabel(name), 15) << text << "\n";
        }
    }

    void PrintJson(const CatalogueEntry& entry, const SolveOutcome& outcome, bool solveForm) {
        const bool found = outcome.status == SearchStatus::Found;
        const std::string_view message = StatusMessage(outcome.status);
        std::ostringstream o;
        o << "{";
        if (solveForm)
            o << "\"entry\":" << entry.index << ",";
        o << "\"status\":" << static_cast<int>(outcome.status);
        if (solveForm || !found)
            o << ",\"message\":" << (message.empty() ? "null" : json::String(message));
        auto result = [&](std::string_view name) {
            return outcome.HasResult(name) ? json::Number(outcome.Result(name)) : "null";
        };
        if (solveForm) {
            if (found) {
                o << ",\"values\":[";
                for (std::size_t i = 0; i < outcome.values.size(); ++i)
                    o << (i ? "," : "") << json::Number(outcome.values[i]);
                o << "],\"results\":{";
                bool first = true;
                for (const auto name : ResultNames(entry)) {
                    o << (first ? "" : ",") << json::String(name) << ":" << result(name);
                    first = false;
                }
                o << "}";
            } else {
                o << ",\"values\":null,\"results\":null";
            }
        } else if (found) {
            for (const auto name : ResultNames(entry))
                o << "," << json::String(name) << ":" << result(name);
        }
        o << "}\n";
        m_out << o.str();
    }

    std::ostream& m_out;
    std::ostream& m_err;
    Options m_opt;
    ProgramState m_state;
};

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return Cli(out, err).Run(args);
}

} // namespace ohmtrim
