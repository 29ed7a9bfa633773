#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace murmelix::cli {

// A mistake in how the tool was called; the tool prints it with the usage and exits 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The arguments of one subcommand. Options are taken out as they are asked for; what is
// left at the end must be plain arguments, otherwise the call was wrong.
class CommandLine {
  public:
    explicit CommandLine(std::vector<std::string> arguments);

    bool flag(const std::string& name);
    std::optional<std::string> value(const std::string& name);
    std::optional<long long> integer(const std::string& name, long long min, long long max);
    std::optional<double> number(const std::string& name);
    // The remaining arguments; throws UsageError for an option nobody asked for.
    std::vector<std::string> positionals() const;

  private:
    std::vector<std::string> arguments_;
};

long long parseInteger(const std::string& option, const std::string& text, long long min,
                       long long max);
double parseNumber(const std::string& option, const std::string& text);

}  // namespace murmelix::cli
