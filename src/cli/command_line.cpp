#include "cli/command_line.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>

namespace murmelix::cli {

CommandLine::CommandLine(std::vector<std::string> arguments) : arguments_(std::move(arguments)) {}

bool CommandLine::flag(const std::string& name) {
    for (auto it = arguments_.begin(); it != arguments_.end(); ++it) {
        if (*it == name) {
            arguments_.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<std::string> CommandLine::value(const std::string& name) {
    std::optional<std::string> found;
    for (size_t i = 0; i < arguments_.size();) {
        const std::string& arg = arguments_[i];
        if (arg == name) {
            if (i + 1 >= arguments_.size()) {
                throw UsageError("option " + name + " needs a value");
            }
            found = arguments_[i + 1];
            arguments_.erase(arguments_.begin() + static_cast<long>(i),
                             arguments_.begin() + static_cast<long>(i) + 2);
        } else if (arg.rfind(name + "=", 0) == 0) {
            found = arg.substr(name.size() + 1);
            arguments_.erase(arguments_.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    return found;
}

std::optional<long long> CommandLine::integer(const std::string& name, long long min,
                                              long long max) {
    const auto text = value(name);
    if (!text) {
        return std::nullopt;
    }
    return parseInteger(name, *text, min, max);
}

std::optional<double> CommandLine::number(const std::string& name) {
    const auto text = value(name);
    if (!text) {
        return std::nullopt;
    }
    return parseNumber(name, *text);
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
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        throw UsageError(option + " expects a whole number, not '" + text + "'");
    }
    if (value < min || value > max) {
        throw UsageError(option + " must be between " + std::to_string(min) + " and " +
                         std::to_string(max));
    }
    return value;
}

double parseNumber(const std::string& option, const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        throw UsageError(option + " expects a number, not '" + text + "'");
    }
    return value;
}

}  // namespace murmelix::cli
