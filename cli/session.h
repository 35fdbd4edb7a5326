#pragma once

// What the commands of the command-line tool share: the streams, the
// options given before the command, the program state they load, and the
// output of a solved catalogue entry.

#include "circuits/solve.h"
#include "cli/solve_extras.h"
#include "cli/text_output.h"
#include "search/pair_table_cache.h"
#include "settings/discovery.h"

#include <optional>
#include <set>
#include <span>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ohmtrim::cli {

// A mistake in the command line: ends the tool with exit status 64 and this
// message on one line.
struct UsageError {
    std::string message;
};

// Input the tool cannot read (the directory of value sets): ends it with
// exit status 66 and this message on one line.
struct InputError {
    std::string message;
};

class Session {
public:
    // Everything the tool writes goes through the session's streams: text
    // for people made printable (no control characters from labels or file
    // names, no blanks at the end of a line), and a failed write noticed.
    Session(std::ostream& out, std::ostream& err);

    // The options given before the command.
    bool json = false;
    std::optional<std::string> dir;
    std::optional<std::string> relTol;
    // Is the error stream a terminal? Only then does a long search show
    // its progress line there.
    bool errIsTerminal = false;

    // Standard output: JSON as it is with --json, else text for people.
    std::ostream& out() { return json ? m_json : m_text; }
    // Standard output for text whatever --json says (the help).
    std::ostream& text() { return m_text; }
    // Standard error, text for people.
    std::ostream& err() { return m_errText; }

    // Checks the options given before the command (UsageError on a bad one).
    void CheckOptions();
    // Reads the settings and value sets of the directory; UsageError when
    // there is no directory to find, InputError when it cannot be read.
    const ProgramState& Load();
    // A loaded value set by its label: an exact match first, else a unique
    // match without regard to case; UsageError otherwise. When several sets
    // carry the label exactly, the first in list order is taken and standard
    // error says which.
    int FindSet(std::string_view label);

    // Hands on all output; returns status, or 74 with a line on standard
    // error when standard output could not take everything.
    int Finish(int status);

    // Reads the inputs of entry from texts, runs its search on the value
    // sets (indices into the loaded list, one per resistor) and prints the
    // outcome: as the solve command does when solveForm is set, else in the
    // shorter form of the nearest command, with the extras asked for when
    // the search found a combination. Returns the exit status.
    int RunEntry(const CatalogueEntry& entry, const std::vector<int>& sets,
                 const std::vector<InputText>& texts, bool solveForm,
                 const SolveExtras& extras = {});

private:
    // The extras of a found combination; may turn the outcome into an
    // aborted one (Ctrl-C while the alternatives' pair table was built).
    ExtrasOutcome WorkOutExtras(const CatalogueEntry& entry, const SolveInputs& in,
                                std::span<const ValueTable> tables, const SearchContext& ctx,
                                const SolveExtras& extras, SolveOutcome& outcome);
    void PrintHuman(const CatalogueEntry& entry, const SolveOutcome& outcome,
                    const ExtrasOutcome& extras);
    void PrintJson(const CatalogueEntry& entry, const SolveOutcome& outcome, bool solveForm,
                   const ExtrasOutcome& extras);

    std::ostream& m_out;
    // Standard error as given, for the progress line's carriage returns.
    std::ostream& m_err;
    OutputBuffer m_textBuffer;
    OutputBuffer m_jsonBuffer;
    OutputBuffer m_errBuffer;
    std::ostream m_text;
    std::ostream m_json;
    std::ostream m_errText;
    std::optional<double> m_relTol;
    ProgramState m_state;
    std::set<std::string, std::less<>> m_sharedLabelsNamed;
    // The pair tables of the fast searches, for as long as the tool runs.
    PairTableCache m_tables;
};

// Called just before each search starts, once Ctrl-C stops the search
// rather than the tool (tests interrupt a search here); null for none.
void SetSearchStartHook(void (*hook)());

// s padded with blanks to width characters.
std::string Pad(std::string s, std::size_t width);

} // namespace ohmtrim::cli
