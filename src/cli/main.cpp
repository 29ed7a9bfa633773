#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/explaining_user_interface.h"
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
        // CLI11 answers --help anywhere among the arguments with the command's usage and
        // hands every other argument on, in its order, to the command.
        CLI::App app(command.usage, std::string("murmelix-cli ") + command.name);
        app.allow_extras();
        app.formatter_fn([](const CLI::App* self, const std::string&, CLI::AppFormatMode) {
            return "usage: murmelix-cli " + self->get_description() + "\n";
        });
        std::vector<std::string> reversed(argv + 2, argv + argc);
        std::reverse(reversed.begin(), reversed.end());
        try {
            app.parse(reversed);
        } catch (const CLI::CallForHelp& help) {
            return app.exit(help);
        } catch (const CLI::ParseError& error) {
            std::fprintf(stderr, "murmelix-cli %s: %s\nusage: murmelix-cli %s\n", command.name,
                         error.what(), command.usage);
            return 2;
        }
        std::vector<std::string> arguments = app.remaining();
        try {
            murmelix::cli::CommandLine line(std::move(arguments));
            murmelix::cli::ExplainingUserInterface ui;
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
