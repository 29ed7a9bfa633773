#include "cli/commands.h"

namespace murmelix::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
    };
    return all;
}

}  // namespace murmelix::cli
