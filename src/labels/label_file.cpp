#include "labels/label_file.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/atomic_file.h"
#include "base/input_file.h"
#include "labels/audacity_labels.h"
#include "labels/label_cues.h"
#include "labels/label_file_text.h"

namespace murmelix {

namespace {

bool endsWithNoCase(const std::string& text, std::string_view suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

bool looksLikeTextGrid(std::string_view bytes) {
    if (bytes.substr(0, 12) == "ooBinaryFile") {
        return true;
    }
    const std::string text = LabelFileText::decode(bytes.substr(0, 256));
    const size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string::npos && (text.compare(first, 9, "File type") == 0 ||
                                          text.compare(first, 11, "\"ooTextFile") == 0 ||
                                          text.compare(first, 13, "\"ooBinaryFile") == 0 ||
                                          text.compare(first, 20, "\"Praat chronological") == 0);
}

bool taken(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string reasonOf(int error) {
    return error != 0 ? ": " + InputFile::describeError(error) : std::string();
}

}  // namespace

std::vector<std::string> LabelFile::Contents::tierNames() const {
    std::vector<std::string> given;
    for (const TextGridTier& each : tiers) {
        given.push_back(each.name);
    }
    std::vector<std::string> names;
    for (const std::string& name : given) {
        std::string choice = name;
        // The second "Mary" is "Mary:2", unless the file has a tier of that name itself.
        for (int k = 2; taken(names, choice); ++k) {
            choice = name + ":" + std::to_string(k);
            while (taken(given, choice)) {
                choice = name + ":" + std::to_string(++k);
            }
        }
        names.push_back(std::move(choice));
    }
    return names;
}

const TextGridTier* LabelFile::Contents::tier(const std::optional<std::string>& name) const {
    if (name) {
        const std::vector<std::string> names = tierNames();
        const auto found = std::find(names.begin(), names.end(), *name);
        if (found != names.end()) {
            return &tiers[static_cast<size_t>(found - names.begin())];
        }
        if (!name->empty()) {
            return nullptr;
        }
    }
    const auto firstWith = [&](auto wanted) -> const TextGridTier* {
        const auto found = std::find_if(tiers.begin(), tiers.end(), wanted);
        return found == tiers.end() ? nullptr : &*found;
    };
    if (const TextGridTier* intervals = firstWith(
            [](const TextGridTier& each) { return !each.points && !each.labels.empty(); })) {
        return intervals;
    }
    if (const TextGridTier* labelled =
            firstWith([](const TextGridTier& each) { return !each.labels.empty(); })) {
        return labelled;
    }
    return tiers.empty() ? nullptr : &tiers.front();
}

LabelFile::Format LabelFile::formatOf(const std::string& path) {
    return endsWithNoCase(path, ".TextGrid") ? Format::TextGrid : Format::Audacity;
}

Result LabelFile::parse(std::string_view bytes, const std::string& name, Contents& contents) {
    contents = {};
    if (looksLikeTextGrid(bytes)) {
        contents.format = Format::TextGrid;
        return TextGrid::parse(bytes, name, contents.tiers);
    }
    contents.format = Format::Audacity;
    TextGridTier tier;
    const Result result = AudacityLabels::parse(bytes, name, tier.labels);
    if (result.ok()) {
        contents.tiers.push_back(std::move(tier));
    }
    return result;
}

Result LabelFile::read(const std::string& path, Contents& contents) {
    InputFile file;
    std::string bytes;
    if (!file.open(path) || !file.readAll(bytes)) {
        return Result::failure("Can't read label file '" + path + "'" + reasonOf(file.error()) +
                               ".");
    }
    return parse(bytes, path, contents);
}

Result LabelFile::cuesOf(const Contents& contents, const std::optional<std::string>& tierName,
                         const std::string& name, const AudioDocument& doc,
                         std::vector<CuePoint>& cues) {
    const TextGridTier* tier = contents.tier(tierName);
    if (tier == nullptr) {
        std::string known;
        for (const std::string& each : contents.tierNames()) {
            known += (known.empty() ? "'" : ", '") + each + "'";
        }
        return Result::failure(name + ": there is no tier '" + tierName.value_or("") + "'" +
                               (known.empty() ? "" : " (the file has " + known + ")"));
    }
    return LabelCues::toCues(tier->labels, name, doc.fileSampleRate, doc.frameCount, cues);
}

std::string LabelFile::format(Format format, const AudioDocument& doc) {
    auto labels = LabelCues::fromCues(doc.cues, doc.fileSampleRate, doc.frameCount);
    if (format == Format::Audacity) {
        return AudacityLabels::format(labels);
    }
    return TextGrid::format(LabelCues::textGridTiers(std::move(labels)), 0.0,
                            doc.durationSeconds());
}

Result LabelFile::write(const std::string& path, const AudioDocument& doc) {
    AtomicFile file(path);
    if (!file.open() || !file.write(format(formatOf(path), doc)) || !file.commit()) {
        return Result::failure("Can't write label file '" + path + "'" + reasonOf(file.error()) +
                               ".");
    }
    return Result::success();
}

}  // namespace murmelix
