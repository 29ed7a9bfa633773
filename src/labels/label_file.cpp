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
    const std::string text = LabelFileText::decode(bytes.substr(0, 256));
    const size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string::npos && (text.compare(first, 9, "File type") == 0 ||
                                          text.compare(first, 11, "\"ooTextFile") == 0 ||
                                          text.compare(first, 13, "\"ooBinaryFile") == 0);
}

std::string reasonOf(int error) {
    return error != 0 ? ": " + InputFile::describeError(error) : std::string();
}

}  // namespace

std::vector<std::string> LabelFile::Contents::tierNames() const {
    std::vector<std::string> names;
    for (const TextGridTier& each : tiers) {
        names.push_back(each.name);
    }
    return names;
}

const TextGridTier* LabelFile::Contents::tier(const std::string& name) const {
    for (const TextGridTier& each : tiers) {
        if (name.empty() ? !each.labels.empty() : each.name == name) {
            return &each;
        }
    }
    return name.empty() && !tiers.empty() ? &tiers.front() : nullptr;
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

Result LabelFile::cuesOf(const Contents& contents, const std::string& tierName,
                         const std::string& name, const AudioDocument& doc,
                         std::vector<CuePoint>& cues) {
    const TextGridTier* tier = contents.tier(tierName);
    if (tier == nullptr) {
        std::string known;
        for (const std::string& each : contents.tierNames()) {
            known += (known.empty() ? "'" : ", '") + each + "'";
        }
        return Result::failure(name + ": there is no tier '" + tierName + "'" +
                               (known.empty() ? "" : " (the file has " + known + ")"));
    }
    return LabelCues::toCues(tier->labels, name, doc.fileSampleRate, doc.frameCount, cues);
}

std::string LabelFile::format(Format format, const AudioDocument& doc) {
    const bool textGrid = format == Format::TextGrid;
    auto labels = LabelCues::fromCues(doc.cues, doc.fileSampleRate, doc.frameCount, textGrid);
    if (!textGrid) {
        return AudacityLabels::format(labels);
    }
    return TextGrid::format(LabelCues::tiersWithoutOverlap(std::move(labels)), 0.0,
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
