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
//
// Cue points of length 0 are point labels in both formats: Audacity labels whose start and
// end are equal, and the points of a TextGrid's point tier ("TextTier"). (In the WAV file and
// for playback such a cue is a region reaching to the end of the data; a label file says
// what the person meant, a point.)
class LabelFile {
  public:
    enum class Format { Audacity, TextGrid };

    struct Contents {
        Format format = Format::Audacity;
        std::vector<TextGridTier> tiers;

        // What the person chooses a tier by, one a tier in the file's order: its name, and
        // for the second and later tiers of one name that name with ":2", ":3", ... ("Mary",
        // "Mary:2", "Mary:3"; a name the file itself has is skipped). A window's tier list
        // shows these and hands the chosen one to tier() or cuesOf().
        std::vector<std::string> tierNames() const;
        // The tier chosen by one of tierNames(). Without a name (or with an empty one that
        // no tier has, for a caller that offers no choice) the default: the first interval
        // tier with labels, else the first tier with labels, else the first tier.
        const TextGridTier* tier(const std::optional<std::string>& name) const;
    };

    // ".TextGrid" (any case) is a TextGrid; everything else an Audacity label file.
    static Format formatOf(const std::string& path);

    // The format is told by the contents: a TextGrid starts with its file type.
    static Result parse(std::string_view bytes, const std::string& name, Contents& contents);
    static Result read(const std::string& path, Contents& contents);

    // The cue points of one tier (chosen as tier() does) for `doc`.
    static Result cuesOf(const Contents& contents, const std::optional<std::string>& tierName,
                         const std::string& name, const AudioDocument& doc,
                         std::vector<CuePoint>& cues);

    // The document's cue regions in the format's text. TextGrids get one interval tier
    // "labels", more ("labels 2", ...) only where regions overlap, and the points in a point
    // tier "points" after them.
    static std::string format(Format format, const AudioDocument& doc);
    // Written atomically: on failure the old file stays as it was.
    static Result write(const std::string& path, const AudioDocument& doc);
};

}  // namespace murmelix
