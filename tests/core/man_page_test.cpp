// The manual page of the command-line tool lists the same options, command
// by command, as the tool's --help.
#include "cli/cli.h"
#include "tests/core/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace ohmtrim {
namespace {

// Options by command; "" holds the options of the tool itself.
using OptionLists = std::map<std::string, std::set<std::string>>;

std::string Help(std::vector<std::string> args) {
    args.push_back("--help");
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(args, out, err), kExitOk) << err.str();
    return out.str();
}

// The lines of a help text's section ("Options:") up to the blank line
// that ends it.
std::vector<std::string> HelpSection(const std::string& help, const std::string& title) {
    std::istringstream in(help);
    std::vector<std::string> lines;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line == title)
            inside = true;
        else if (line.empty())
            inside = false;
        else if (inside)
            lines.push_back(line);
    }
    return lines;
}

// "  -h,--help   Print..." gives -h and --help.
std::set<std::string> HelpOptions(const std::string& help) {
    std::set<std::string> options;
    for (const auto& line : HelpSection(help, "Options:")) {
        std::istringstream names(line.substr(0, line.find(' ', line.find('-'))));
        for (std::string name; std::getline(names >> std::ws, name, ',');)
            options.insert(name);
    }
    return options;
}

OptionLists OptionsOfHelp() {
    OptionLists lists;
    const std::string help = Help({});
    lists[""] = HelpOptions(help);
    for (const auto& line : HelpSection(help, "Subcommands:")) {
        std::string command;
        std::istringstream(line) >> command;
        auto options = HelpOptions(Help({command}));
        // Every command takes --help; the page lists it once, for the tool.
        options.erase("-h");
        options.erase("--help");
        lists[command] = options;
    }
    return lists;
}

// The options on the tag lines (the line after .TP) of section OPTIONS, and
// of each command's subsection (.SS) in section COMMANDS.
OptionLists OptionsOfManPage(const std::string& page) {
    static const std::regex option(R"(\\-(\\-)?[a-z0-9][a-z0-9-]*)");
    OptionLists lists;
    std::istringstream in(page);
    std::string section;
    std::string command;
    bool tag = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(".SH ")) {
            section = line.substr(4);
            command.clear();
        } else if (line.starts_with(".SS ") && section == "COMMANDS") {
            std::istringstream words(line.substr(4));
            words >> command;
            if (command.starts_with("\""))
                command.erase(0, 1);
            lists[command];
        } else if (tag && (section == "OPTIONS" || (section == "COMMANDS" && !command.empty()))) {
            for (std::sregex_iterator it(line.begin(), line.end(), option), end; it != end; ++it)
                lists[section == "OPTIONS" ? "" : command].insert(
                    std::regex_replace(it->str(), std::regex(R"(\\-)"), "-"));
        }
        tag = line == ".TP";
    }
    return lists;
}

TEST(ManPage, ListsTheOptionsOfTheHelp) {
    const std::string page = testing::ReadFile(OHMTRIM_SOURCE_DIR "/man/ohmtrim-cli.1");
    ASSERT_FALSE(page.empty());
    const OptionLists help = OptionsOfHelp();
    const OptionLists man = OptionsOfManPage(page);
    ASSERT_GE(help.size(), 2u) << "the help lists no command";

    const auto where = [](const std::string& command) {
        return command.empty() ? std::string("the tool") : "command " + command;
    };
    std::string differences;
    for (const auto& [command, options] : help) {
        const auto it = man.find(command);
        if (it == man.end()) {
            differences += "ohmtrim-cli.1 has no section for " + where(command) + "\n";
            continue;
        }
        for (const auto& o : options)
            if (!it->second.contains(o))
                differences += "ohmtrim-cli.1 lacks " + o + " of " + where(command) + "\n";
    }
    for (const auto& [command, options] : man) {
        const auto it = help.find(command);
        if (it == help.end()) {
            differences +=
                "ohmtrim-cli.1 describes " + where(command) + ", which --help does not\n";
            continue;
        }
        for (const auto& o : options)
            if (!it->second.contains(o))
                differences += "ohmtrim-cli.1 lists " + o + " of " + where(command) +
                               ", which --help does not\n";
    }
    EXPECT_EQ(differences, "");
}

} // namespace
} // namespace ohmtrim
