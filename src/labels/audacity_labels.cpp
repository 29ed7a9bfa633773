#include "labels/audacity_labels.h"

#include <algorithm>
#include <optional>

#include "labels/label_file_text.h"
#include "labels/label_number.h"

namespace murmelix {

namespace {

std::string lineMessage(const std::string& name, int line, const std::string& what) {
    return name + ", line " + std::to_string(line) + ": " + what;
}

// A time as Audacity reads it: with a decimal point or, as older versions wrote in many
// locales, a decimal comma.
std::optional<double> timeOf(std::string_view text) {
    std::string withPoint(text);
    std::replace(withPoint.begin(), withPoint.end(), ',', '.');
    return LabelNumber::parse(withPoint);
}

// The label of one line; an empty text on failure with `problem` set.
std::optional<TimedLabel> parseLine(std::string_view line, int number, std::string& problem) {
    const size_t firstTab = line.find('\t');
    const std::string_view startText = line.substr(0, firstTab);
    const auto start = timeOf(startText);
    if (!start) {
        problem = "start time '" + LabelFileText::forMessage(startText) + "' is not a number";
        return std::nullopt;
    }
    TimedLabel label{*start, *start, {}, number};
    if (firstTab == std::string_view::npos) {
        return label;
    }
    const std::string_view rest = line.substr(firstTab + 1);
    const size_t secondTab = rest.find('\t');
    const auto end = timeOf(rest.substr(0, secondTab));
    if (!end) {
        label.text = std::string(rest);
        return label;
    }
    label.end = *end;
    if (secondTab != std::string_view::npos) {
        label.text = std::string(rest.substr(secondTab + 1));
    }
    if (label.start < 0.0) {
        problem = "start time " + LabelNumber::shortest(label.start) + " is negative";
        return std::nullopt;
    }
    if (label.end < label.start) {
        problem = "end time " + LabelNumber::shortest(label.end) + " lies before start time " +
                  LabelNumber::shortest(label.start);
        return std::nullopt;
    }
    return label;
}

}  // namespace

Result AudacityLabels::parse(std::string_view bytes, const std::string& name,
                             std::vector<TimedLabel>& labels) {
    labels.clear();
    const std::string text = LabelFileText::decode(bytes);
    std::string_view rest = text;
    std::vector<TimedLabel> found;
    for (int number = 1; !rest.empty(); ++number) {
        const size_t newline = rest.find('\n');
        std::string_view line = rest.substr(0, newline);
        rest = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.find_first_not_of(" \t") == std::string_view::npos || line.front() == '\\') {
            continue;
        }
        std::string problem;
        auto label = parseLine(line, number, problem);
        if (!label) {
            return Result::failure(lineMessage(name, number, problem));
        }
        if (label->start < 0.0) {
            return Result::failure(
                lineMessage(name, number,
                            "start time " + LabelNumber::shortest(label->start) + " is negative"));
        }
        found.push_back(std::move(*label));
    }
    labels = std::move(found);
    return Result::success();
}

std::string AudacityLabels::format(const std::vector<TimedLabel>& labels) {
    std::string out;
    for (const TimedLabel& label : labels) {
        // A line break would start a new label when the file is read back.
        std::string text = label.text;
        for (char& c : text) {
            c = c == '\n' || c == '\r' ? ' ' : c;
        }
        out += LabelNumber::fixed6(label.start) + '\t' + LabelNumber::fixed6(label.end) + '\t' +
               text + '\n';
    }
    return out;
}

}  // namespace murmelix
