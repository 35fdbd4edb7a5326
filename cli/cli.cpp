#include "cli/cli.h"

namespace ohmtrim {

int RunCli(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    err << "ohmtrim-cli: no command given (" << args.size() << " arguments)\n";
    return kExitUsage;
}

} // namespace ohmtrim
