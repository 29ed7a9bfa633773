#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_document.h"
#include "base/result.h"
#include "labels/text_grid.h"

namespace murmelix {

// Label files beside a recording: Audacity label tracks (".txt") and Praat TextGrids
// (".TextGrid"), read into cue tables and written from them.
//
// Reading gives the file's tiers (an Audacity file has one, without a name); the caller
// lets the person choose one by name (tierNames()) and turns it into cue points with
// cuesOf(), which it either puts in place of the document's table or adds with
// CueIdentifiers::merged(). Every failure names the file, and for bad contents the line.
class LabelFile {
  public:
    enum class Format { Audacity, TextGrid };

    struct Contents {
        Format format = Format::Audacity;
        std::vector<TextGridTier> tiers;

        std::vector<std::string> tierNames() const;
        // The tier of that name; the first one with labels when `name` is empty.
        const TextGridTier* tier(const std::string& name) const;
    };

    // ".TextGrid" (any case) is a TextGrid; everything else an Audacity label file.
    static Format formatOf(const std::string& path);

    // The format is told by the contents: a TextGrid starts with its file type.
    static Result parse(std::string_view bytes, const std::string& name, Contents& contents);
    static Result read(const std::string& path, Contents& contents);

    // The cue points of one tier (empty name: the first with labels) for `doc`.
    static Result cuesOf(const Contents& contents, const std::string& tierName,
                         const std::string& name, const AudioDocument& doc,
                         std::vector<CuePoint>& cues);

    // The document's cue regions in the format's text. TextGrids get one interval tier
    // "labels", and more ("labels 2", ...) only where regions overlap.
    static std::string format(Format format, const AudioDocument& doc);
    // Written atomically: on failure the old file stays as it was.
    static Result write(const std::string& path, const AudioDocument& doc);
};

}  // namespace murmelix
