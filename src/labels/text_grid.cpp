#include "labels/text_grid.h"

#include <algorithm>
#include <optional>

#include "labels/label_file_text.h"
#include "labels/label_number.h"
#include "labels/praat_tokens.h"

namespace murmelix {

namespace {

constexpr const char* kBinary =
    "binary TextGrid files cannot be read; save it as a text file in Praat";
constexpr const char* kChronologicalType = "Praat chronological TextGrid text file";
constexpr const char* kChronological =
    "chronological TextGrid files cannot be read; save it as a text file in Praat";
constexpr const char* kBlanks = " \t\r\n";
// An interval without text is a gap; a region whose label is empty is written with this.
constexpr const char* kEmptyRegionText = " ";

// Reads the values of a TextGrid one after the other and says where one is missing.
class TextGridReader {
  public:
    TextGridReader(PraatTokens& tokens, const std::string& name) : tokens_(tokens), name_(name) {}

    Result read(std::vector<TextGridTier>& tiers) {
        std::string fileType;
        std::string objectClass;
        if (!text(fileType, "the file type \"ooTextFile\"")) {
            return failure();
        }
        if (fileType.rfind("ooTextFile", 0) != 0) {
            problem_ = fileType.rfind("ooBinaryFile", 0) == 0 ? kBinary
                       : fileType == kChronologicalType
                           ? kChronological
                           : "file type '" + LabelFileText::forMessage(fileType) +
                                 "' is not \"ooTextFile\"";
            return failure();
        }
        if (!text(objectClass, "the object class \"TextGrid\"")) {
            return failure();
        }
        if (objectClass != "TextGrid") {
            problem_ =
                "object class '" + LabelFileText::forMessage(objectClass) + "' is not \"TextGrid\"";
            return failure();
        }
        double xmin = 0.0;
        double xmax = 0.0;
        if (!number(xmin, "the start time of the TextGrid") ||
            !number(xmax, "the end time of the TextGrid")) {
            return failure();
        }
        const PraatTokens::Token* flag = tokens_.peek();
        if (flag != nullptr && flag->kind == PraatTokens::Kind::Flag) {
            tokens_.take();
            if (flag->value == "<absent>") {
                return Result::success();
            }
            if (flag->value != "<exists>") {
                line_ = flag->line;
                problem_ = "'" + LabelFileText::forMessage(flag->value) +
                           "' stands where <exists> or <absent> should";
                return failure();
            }
        }
        double count = 0.0;
        if (!number(count, "the number of tiers")) {
            return failure();
        }
        for (int index = 1; index <= count; ++index) {
            TextGridTier tier;
            if (!readTier(index, tier)) {
                return failure();
            }
            tiers.push_back(std::move(tier));
        }
        return Result::success();
    }

  private:
    Result failure() const {
        return Result::failure(name_ + ", line " + std::to_string(line_) + ": " + problem_);
    }

    const PraatTokens::Token* expect(PraatTokens::Kind kind, const std::string& what) {
        line_ = tokens_.line();
        const PraatTokens::Token* token = tokens_.take();
        if (token == nullptr) {
            problem_ = "the file ends where " + what + " should follow";
            return nullptr;
        }
        if (token->kind != kind) {
            problem_ =
                what + " is missing (found '" + LabelFileText::forMessage(token->value) + "')";
            return nullptr;
        }
        return token;
    }

    bool text(std::string& out, const std::string& what) {
        const PraatTokens::Token* token = expect(PraatTokens::Kind::Text, what);
        if (token != nullptr) {
            out = token->value;
        }
        return token != nullptr;
    }

    bool number(double& out, const std::string& what) {
        const PraatTokens::Token* token = expect(PraatTokens::Kind::Number, what);
        if (token == nullptr) {
            return false;
        }
        const auto value = LabelNumber::parse(token->value);
        if (!value) {
            problem_ = what + " '" + LabelFileText::forMessage(token->value) + "' is not a number";
            return false;
        }
        out = *value;
        return true;
    }

    bool readTier(int index, TextGridTier& tier) {
        const std::string which = "tier " + std::to_string(index);
        std::string kind;
        if (!text(kind, "the class of " + which)) {
            return false;
        }
        if (kind != "IntervalTier" && kind != "TextTier") {
            problem_ = which + " is of class '" + LabelFileText::forMessage(kind) +
                       "', not \"IntervalTier\" or \"TextTier\"";
            return false;
        }
        tier.points = kind == "TextTier";
        double xmin = 0.0;
        double xmax = 0.0;
        double count = 0.0;
        if (!text(tier.name, "the name of " + which) ||
            !number(xmin, "the start time of " + which) ||
            !number(xmax, "the end time of " + which) ||
            !number(count, "the number of labels of " + which)) {
            return false;
        }
        for (int item = 1; item <= count; ++item) {
            if (!readLabel(tier, item)) {
                return false;
            }
        }
        return true;
    }

    bool readLabel(TextGridTier& tier, int item) {
        const std::string which = (tier.points ? "point " : "interval ") + std::to_string(item) +
                                  " of tier '" + tier.name + "'";
        TimedLabel label;
        label.line = tokens_.line();
        if (!number(label.start,
                    "the " + std::string(tier.points ? "time" : "start time") + " of " + which)) {
            return false;
        }
        label.end = label.start;
        if (!tier.points && !number(label.end, "the end time of " + which)) {
            return false;
        }
        if (!text(label.text, "the text of " + which)) {
            return false;
        }
        if (label.start < 0.0) {
            problem_ = which + " starts at a negative time";
            line_ = label.line;
            return false;
        }
        if (label.end < label.start) {
            problem_ = which + " ends before it starts";
            line_ = label.line;
            return false;
        }
        if (tier.points) {
            tier.labels.push_back(std::move(label));  // a point tier has no gaps
        } else if (!label.text.empty()) {
            if (label.text.find_first_not_of(kBlanks) == std::string::npos) {
                label.text.clear();  // how the export writes a region with an empty label
            }
            tier.labels.push_back(std::move(label));
        }
        return true;
    }

    PraatTokens& tokens_;
    const std::string& name_;
    std::string problem_;
    int line_ = 1;
};

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + '"';
}

void appendInterval(std::string& out, int& index, double start, double end,
                    const std::string& text) {
    out += "        intervals [" + std::to_string(++index) + "]:\n";
    out += "            xmin = " + LabelNumber::shortest(start) + " \n";
    out += "            xmax = " + LabelNumber::shortest(end) + " \n";
    out += "            text = " + quoted(text) + " \n";
}

std::string intervalItems(const TextGridTier& tier, double xmin, double xmax, int& count) {
    std::string out;
    double at = xmin;
    for (const TimedLabel& label : tier.labels) {
        if (label.start > at) {
            appendInterval(out, count, at, label.start, "");
        }
        const bool blank = label.text.find_first_not_of(kBlanks) == std::string::npos;
        appendInterval(out, count, label.start, label.end, blank ? kEmptyRegionText : label.text);
        at = label.end;
    }
    if (at < xmax || count == 0) {
        appendInterval(out, count, at, xmax, "");
    }
    return out;
}

std::string pointItems(const TextGridTier& tier, int& count) {
    std::string out;
    for (const TimedLabel& label : tier.labels) {
        out += "        points [" + std::to_string(++count) + "]:\n";
        out += "            number = " + LabelNumber::shortest(label.start) + " \n";
        out += "            mark = " + quoted(label.text) + " \n";
    }
    return out;
}

}  // namespace

Result TextGrid::parse(std::string_view bytes, const std::string& name,
                       std::vector<TextGridTier>& tiers) {
    tiers.clear();
    // Praat's binary form starts with these bytes, without a quote, and holds raw numbers.
    if (bytes.substr(0, 12) == "ooBinaryFile") {
        return Result::failure(name + ": " + kBinary);
    }
    PraatTokens tokens;
    std::string problem;
    int line = 1;
    if (!tokens.scan(LabelFileText::decode(bytes), problem, line)) {
        return Result::failure(name + ", line " + std::to_string(line) + ": " + problem);
    }
    std::vector<TextGridTier> found;
    const Result result = TextGridReader(tokens, name).read(found);
    if (result.ok()) {
        tiers = std::move(found);
    }
    return result;
}

std::string TextGrid::format(const std::vector<TextGridTier>& tiers, double xmin, double xmax) {
    for (const TextGridTier& tier : tiers) {
        if (!tier.labels.empty()) {
            xmin = std::min(xmin, tier.labels.front().start);
            xmax = std::max(xmax, tier.labels.back().end);
        }
    }
    std::string out = "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n";
    out += "xmin = " + LabelNumber::shortest(xmin) + " \n";
    out += "xmax = " + LabelNumber::shortest(xmax) + " \n";
    out += tiers.empty() ? "tiers? <absent> \n" : "tiers? <exists> \n";
    if (tiers.empty()) {
        return out;
    }
    out += "size = " + std::to_string(tiers.size()) + " \nitem []: \n";
    for (size_t t = 0; t < tiers.size(); ++t) {
        const TextGridTier& tier = tiers[t];
        int count = 0;
        const std::string items =
            tier.points ? pointItems(tier, count) : intervalItems(tier, xmin, xmax, count);
        out += "    item [" + std::to_string(t + 1) + "]:\n";
        out += std::string("        class = ") +
               (tier.points ? "\"TextTier\"" : "\"IntervalTier\"") + " \n";
        out += "        name = " + quoted(tier.name) + " \n";
        out += "        xmin = " + LabelNumber::shortest(xmin) + " \n";
        out += "        xmax = " + LabelNumber::shortest(xmax) + " \n";
        out += std::string(tier.points ? "        points: size = " : "        intervals: size = ") +
               std::to_string(count) + " \n" + items;
    }
    return out;
}

}  // namespace murmelix
