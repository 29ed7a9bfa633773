#include "cli/commands.h"

#include "cli/effect_command.h"
#include "cli/info_command.h"
#include "cli/join_command.h"
#include "cli/random_command.h"
#include "cli/session_command.h"

namespace murmelix::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> all = {
        {"info", "info FILE.wav [--json]", &runInfo},
        {"effect",
         "effect reverse|echo|normalize IN.wav OUT.wav [--delay MS] [--decay PERCENT]",
         &runEffect},
        {"join", "join -o OUT.wav IN1.wav IN2.wav ...", &runJoin},
        {"random",
         "random [--source pseudo|fractal|file|soundcard] [--seed N] [--absolute] [--r R] "
         "[--x X] [--file F.pcm] [--no-loop] [--device N] [--count N] [--bound B] [--numbers] "
         "[-o OUT.txt]",
         &runRandom},
        {"session", "session show FILE.oqt [--json]", &runSession},
    };
    return all;
}

}  // namespace murmelix::cli
