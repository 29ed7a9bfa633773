#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/console_user_interface.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "device/chatter_filter.h"

namespace {

using murmelix::cli::Command;

void printUsage(FILE* out) {
    std::fprintf(out, "usage: murmelix-cli COMMAND [ARGUMENTS]\n\ncommands:\n");
    for (const Command& command : murmelix::cli::commands()) {
        std::fprintf(out, "  %s\n", command.usage);
    }
    std::fprintf(out,
                 "\nExit status: 0 done, 1 refused or failed (the reason on stderr), "
                 "2 wrong usage.\n");
}

}  // namespace

int main(int argc, char** argv) {
    const murmelix::ChatterFilter chatterFilter;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        printUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    for (const Command& command : murmelix::cli::commands()) {
        if (name != command.name) {
            continue;
        }
        std::vector<std::string> arguments(argv + 2, argv + argc);
        for (const auto& arg : arguments) {
            if (arg == "--help" || arg == "-h") {
                std::printf("usage: murmelix-cli %s\n", command.usage);
                return 0;
            }
        }
        try {
            murmelix::cli::CommandLine line(std::move(arguments));
            murmelix::ConsoleUserInterface ui;
            return command.run(line, ui);
        } catch (const murmelix::cli::UsageError& error) {
            std::fprintf(stderr, "murmelix-cli %s: %s\nusage: murmelix-cli %s\n", command.name,
                         error.what(), command.usage);
            return 2;
        }
    }
    std::fprintf(stderr, "murmelix-cli: unknown command '%s'\n\n", name.c_str());
    printUsage(stderr);
    return 2;
}
