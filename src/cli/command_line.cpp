#include "cli/command_line.h"

#include <charconv>
#include <functional>

#include <CLI/CLI.hpp>

namespace murmelix::cli {

namespace {

// What is wrong with text as a whole number in [min, max]; empty when nothing is. Decimal
// only: "010" is ten, as it has always been.
std::string integerProblem(const std::string& text, long long min, long long max) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return "expects a whole number, not '" + text + "'";
    }
    if (value < min || value > max) {
        return "must be between " + std::to_string(min) + " and " + std::to_string(max);
    }
    return {};
}

std::string numberProblem(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return "expects a number, not '" + text + "'";
    }
    return {};
}

// Lets CLI11 take the one option declare() adds out of the arguments; everything else
// stays, in its order, for the options asked for later and for the plain arguments. Given
// twice, the last one counts.
void takeOut(std::vector<std::string>& arguments, const std::string& name,
             const std::function<void(CLI::App&)>& declare) {
    CLI::App app;
    app.allow_extras();
    app.set_help_flag();
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    declare(app);
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ArgumentMismatch&) {
        throw UsageError("option " + name + " needs a value");
    } catch (const CLI::ParseError& error) {
        throw UsageError(error.what());
    }
    arguments = app.remaining();
}

}  // namespace

CommandLine::CommandLine(std::vector<std::string> arguments) : arguments_(std::move(arguments)) {}

bool CommandLine::flag(const std::string& name) {
    bool given = false;
    takeOut(arguments_, name, [&](CLI::App& app) { app.add_flag(name, given); });
    return given;
}

std::optional<std::string> CommandLine::value(const std::string& name) {
    std::optional<std::string> found;
    takeOut(arguments_, name, [&](CLI::App& app) {
        app.add_option_function<std::string>(name, [&](const std::string& text) { found = text; });
    });
    return found;
}

std::optional<long long> CommandLine::integer(const std::string& name, long long min,
                                              long long max) {
    const CLI::Validator wholeNumber(
        [min, max](const std::string& text) { return integerProblem(text, min, max); },
        "INT in [" + std::to_string(min) + " - " + std::to_string(max) + "]");
    std::optional<std::string> found;
    takeOut(arguments_, name, [&](CLI::App& app) {
        app.add_option_function<std::string>(name, [&](const std::string& text) { found = text; })
            ->check(wholeNumber);
    });
    if (!found) {
        return std::nullopt;
    }
    return parseInteger(name, *found, min, max);
}

std::optional<double> CommandLine::number(const std::string& name) {
    const CLI::Validator number([](const std::string& text) { return numberProblem(text); },
                                "NUMBER");
    std::optional<std::string> found;
    takeOut(arguments_, name, [&](CLI::App& app) {
        app.add_option_function<std::string>(name, [&](const std::string& text) { found = text; })
            ->check(number);
    });
    if (!found) {
        return std::nullopt;
    }
    return parseNumber(name, *found);
}

std::vector<std::string> CommandLine::positionals() const {
    for (const auto& arg : arguments_) {
        if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            throw UsageError("unknown option " + arg);
        }
    }
    return arguments_;
}

long long parseInteger(const std::string& option, const std::string& text, long long min,
                       long long max) {
    if (const std::string problem = integerProblem(text, min, max); !problem.empty()) {
        throw UsageError(option + " " + problem);
    }
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

double parseNumber(const std::string& option, const std::string& text) {
    if (const std::string problem = numberProblem(text); !problem.empty()) {
        throw UsageError(option + " " + problem);
    }
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace murmelix::cli
