#include "audio/sound_importer.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "audio/aiff_marker_reader.h"
#include "audio/channel_mixer.h"
#include "audio/cue_regions.h"
#include "audio/cue_text.h"
#include "audio/riff_marker_reader.h"
#include "audio/sample_layout.h"
#include "audio/sample_quantizer.h"
#include "audio/sndfile_functions.h"
#include "audio/sndfile_stream.h"
#include "base/absolute_path.h"
#include "base/input_file.h"
#include "base/memory_advice.h"
#include "base/path_text.h"
#include "base/text_format.h"

namespace murmelix {

namespace {

const SndfileFunctions& sndfile() {
    return SndfileFunctions::get();
}

constexpr sf_count_t kBlockFrames = 8192;

Result refuse(const char* format, const std::string& name) {
    return Result::failure(formatText(format, name.c_str()));
}

bool isRiffFamily(const SoundFileInfo& info) {
    const int c = info.container();
    return c == SF_FORMAT_WAV || c == SF_FORMAT_WAVEX || c == SF_FORMAT_RF64;
}

// The checks on what the source is and what was asked; empty when the import can go on.
std::string problemWith(const SoundFileInfo& info, const SoundImportOptions& options,
                        const std::string& name) {
    if (info.channels < 1) {
        return formatText("Can't import '%s': it has no channels.", name.c_str());
    }
    if (info.channels > SoundImporter::kMaxChannels) {
        return formatText(
            "Can't import '%s': it has %d channels, and at most %d can be mixed "
            "down to stereo.",
            name.c_str(), info.channels, SoundImporter::kMaxChannels);
    }
    if (info.sampleRate <= 0) {
        return formatText("Can't import '%s': its sample rate (%d Hz) is not usable.", name.c_str(),
                          info.sampleRate);
    }
    const bool pair = options.left >= 0 || options.right >= 0;
    if (pair && (options.left < 0 || options.right < 0 || options.left >= info.channels ||
                 options.right >= info.channels)) {
        return formatText("Can't import channels %d and %d of '%s': it has %d channels.",
                          options.left + 1, options.right + 1, name.c_str(), info.channels);
    }
    return {};
}

std::vector<int> channelPositions(SNDFILE* file, int channels) {
    std::vector<int> positions(static_cast<size_t>(channels), 0);
    const int bytes = static_cast<int>(positions.size() * sizeof(int));
    if (sndfile().sf_command(file, SFC_GET_CHANNEL_MAP_INFO, positions.data(), bytes) != SF_TRUE) {
        positions.clear();
    }
    return positions;
}

ChannelMixer mixerFor(SNDFILE* file, const SoundFileInfo& info, const SoundImportOptions& options,
                      int outputs) {
    if (options.left >= 0) {
        return ChannelMixer::pick(info.channels, options.left, options.right, outputs);
    }
    const bool vorbis = info.container() == SF_FORMAT_OGG;
    return ChannelMixer::downmix(info.channels, channelPositions(file, info.channels), vorbis,
                                 outputs);
}

// Markers of the other containers, as far as libsndfile hands them out (cue points with
// their names, instrument loops).
std::vector<CuePoint> sndfileMarkers(SNDFILE* file) {
    std::vector<CuePoint> cues;
    uint32_t count = 0;
    if (sndfile().sf_command(file, SFC_GET_CUE_COUNT, &count, sizeof count) == SF_TRUE &&
        count > 0) {
        auto table = std::make_unique<SF_CUES>();
        if (sndfile().sf_command(file, SFC_GET_CUE, table.get(), sizeof(SF_CUES)) == SF_TRUE) {
            const uint32_t n = std::min<uint32_t>(table->cue_count, 100);
            for (uint32_t i = 0; i < n; ++i) {
                const auto& point = table->cue_points[i];
                CuePoint cue;
                cue.identifier = static_cast<uint32_t>(point.indx);
                cue.position = point.sample_offset;
                cue.label = CueText::limit(
                    std::string_view(point.name, strnlen(point.name, sizeof point.name)));
                cues.push_back(cue);
            }
        }
    }
    SF_INSTRUMENT instrument{};
    if (sndfile().sf_command(file, SFC_GET_INSTRUMENT, &instrument, sizeof instrument) == SF_TRUE) {
        const int loops = std::clamp(instrument.loop_count, 0, 16);
        for (int i = 0; i < loops; ++i) {
            const auto& loop = instrument.loops[i];
            if (loop.end > loop.start) {
                CueRegions::applyLoop(cues, 0, loop.start, loop.end - loop.start, i + 1);
            }
        }
    }
    return cues;
}

std::vector<CuePoint> markersOf(const SoundFileInfo& info, ByteSource& source, SNDFILE* file) {
    if (isRiffFamily(info)) {
        return RiffMarkerReader::read(source);
    }
    if (info.container() == SF_FORMAT_AIFF) {
        return AiffMarkerReader::read(source);
    }
    return sndfileMarkers(file);
}

// Room for `more` bytes, grown by an eighth at a time: a frame count that was only an
// estimate must not double the memory at the last block.
void makeRoom(std::vector<uint8_t>& data, size_t more) {
    const size_t needed = data.size() + more;
    if (needed > data.capacity()) {
        data.reserve(std::max(needed, data.capacity() + data.capacity() / 8));
        MemoryAdvice::preferHugePages(data.data(), data.capacity());
    }
}

// The source's samples, converted; Cancelled when progress said stop.
class SampleConverter {
  public:
    SampleConverter(SNDFILE* file, const ChannelMixer& mixer, SampleQuantizer& quantizer, int bits)
        : file_(file), mixer_(mixer), quantizer_(quantizer), bits_(bits) {}

    // expected: the frames to make room for at once (the file's count, as far as it is
    // believable).
    Result run(std::vector<uint8_t>& data, int64_t maxFrames, int64_t expected, int64_t total,
               const SoundImporter::Progress& progress) {
        const int inputs = mixer_.inputs();
        const int outputs = mixer_.outputs();
        const size_t frameSize = static_cast<size_t>(outputs * bits_ / 8);
        data.reserve(static_cast<size_t>(std::min(expected, maxFrames)) * frameSize);
        MemoryAdvice::preferHugePages(data.data(), data.capacity());
        std::vector<double> block(static_cast<size_t>(kBlockFrames * inputs));
        std::vector<uint8_t> converted;
        double mixed[2] = {};
        while (frames_ < maxFrames) {
            const sf_count_t want = std::min<int64_t>(kBlockFrames, maxFrames - frames_);
            const sf_count_t got = sndfile().sf_readf_double(file_, block.data(), want);
            if (got <= 0) {
                break;
            }
            // Converted into a small buffer first: growing the document by resize would
            // zero every byte before it is written.
            converted.resize(static_cast<size_t>(got) * frameSize);
            uint8_t* out = converted.data();
            for (sf_count_t f = 0; f < got; ++f) {
                mixer_.mix(&block[static_cast<size_t>(f * inputs)], mixed);
                for (int c = 0; c < outputs; ++c) {
                    const int value = quantizer_.quantize(mixed[c]);
                    if (bits_ == 8) {
                        SampleLayout::encode<8>(out, value);
                        out += 1;
                    } else {
                        SampleLayout::encode<16>(out, value);
                        out += 2;
                    }
                }
            }
            makeRoom(data, converted.size());
            data.insert(data.end(), converted.begin(), converted.end());
            frames_ += got;
            if (progress && !progress(frames_, total)) {
                return Result::cancel();
            }
        }
        return Result::success();
    }

    // Frames past the document's limit, read only to be counted.
    int64_t countRest(const SoundImporter::Progress& progress, int64_t total) {
        std::vector<double> block(static_cast<size_t>(kBlockFrames * mixer_.inputs()));
        int64_t rest = 0;
        for (sf_count_t got;
             (got = sndfile().sf_readf_double(file_, block.data(), kBlockFrames)) > 0;) {
            rest += got;
            if (progress && !progress(frames_ + rest, total)) {
                break;
            }
        }
        return rest;
    }

    int64_t frames() const { return frames_; }

  private:
    SNDFILE* file_;
    const ChannelMixer& mixer_;
    SampleQuantizer& quantizer_;
    int bits_;
    int64_t frames_ = 0;
};

std::string proposedNameFor(const std::string& name) {
    return PathText::withoutExtension(name) + ".wav";
}

}  // namespace

Result SoundImporter::importFile(const std::string& path, const SoundImportOptions& options,
                                 const Progress& progress, ImportedSound& out) {
    const std::string name = AbsolutePath::of(path);
    InputFile file;
    if (!file.open(path)) {
        return Result::failure(
            formatText("Can't open sound file '%s' (%s).", name.c_str(), file.reason().c_str()));
    }
    return importSource(file, name, options, progress, out);
}

Result SoundImporter::importSource(ByteSource& source, const std::string& name,
                                   const SoundImportOptions& options, const Progress& progress,
                                   ImportedSound& out, size_t maxDataSize) {
    SndfileStream stream(source);
    const auto unreadable = [&] {
        return Result::failure(
            formatText("Can't read sound file '%s' (%s).", name.c_str(), stream.failure().c_str()));
    };
    if (!stream.open()) {
        if (!stream.failure().empty()) {
            return unreadable();
        }
        return Result::failure(stream.openFailure(name));
    }
    const SoundFileInfo info = SoundFileInfo::of(stream.info());
    if (const std::string problem = problemWith(info, options, name); !problem.empty()) {
        return Result::failure(problem);
    }
    const int outputs = options.channels != 0 ? options.channels : std::min(info.channels, 2);
    const int bits = options.bits != 0 ? options.bits : (info.integerBits() == 8 ? 8 : 16);
    if ((outputs != 1 && outputs != 2) || (bits != 8 && bits != 16)) {
        return refuse("Can't import '%s': only mono or stereo with 8 or 16 bits can be made.",
                      name);
    }
    const ChannelMixer mixer = mixerFor(stream.handle(), info, options, outputs);
    const bool exact = mixer.isCopy() && info.integerBits() != 0 && info.integerBits() <= bits;
    SampleQuantizer quantizer(bits, !exact, options.ditherSeed);

    ImportedSound imported;
    AudioDocument& doc = imported.document;
    doc.format = WaveFormat::pcm(static_cast<uint32_t>(info.sampleRate),
                                 static_cast<uint16_t>(outputs), static_cast<uint16_t>(bits));
    const int64_t frameSize = outputs * bits / 8;
    const int64_t maxFrames = static_cast<int64_t>(maxDataSize) / frameSize;
    const bool lengthKnown = info.frames > 0 && info.frames < SF_COUNT_MAX / 2;
    const int64_t total = lengthKnown ? info.frames : 0;

    // A header may claim any length; no codec packs more than this many bytes of document
    // into one byte of file, so a small hostile file cannot make us set aside gigabytes.
    constexpr int64_t kMaxExpansion = 4096;
    const int64_t believable =
        static_cast<int64_t>(std::min<uint64_t>(source.size(), INT64_MAX / kMaxExpansion)) *
        kMaxExpansion / frameSize;
    SampleConverter converter(stream.handle(), mixer, quantizer, bits);
    try {
        const Result converted =
            converter.run(doc.data, maxFrames, std::min(total, believable), total, progress);
        if (!converted.ok()) {
            return converted;
        }
    } catch (const std::bad_alloc&) {
        return Result::failure(
            formatText("Can't import '%s': there is not enough memory for its "
                       "%lld frames.",
                       name.c_str(), static_cast<long long>(total)));
    }
    if (converter.frames() == maxFrames) {
        imported.framesLeftOut = converter.countRest(progress, total);
    }
    if (!stream.failure().empty()) {
        return unreadable();
    }
    doc.cues = markersOf(info, source, stream.handle());
    if (!source.failure().empty()) {
        return Result::failure(
            formatText("Can't read sound file '%s' (%s).", name.c_str(), source.failure().c_str()));
    }
    doc.commit("");
    doc.changed = true;
    CueRegions::fitTo(doc.cues, static_cast<uint32_t>(doc.frameCount));
    imported.source = info;
    imported.description = "Imported: " + info.describe();
    imported.proposedName = proposedNameFor(name);
    imported.clippedSamples = quantizer.clipped();
    out = std::move(imported);
    return Result::success();
}

}  // namespace murmelix
