#include "audio/aiff_marker_reader.h"

#include <algorithm>
#include <string_view>

#include "audio/cue_regions.h"
#include "audio/cue_text.h"
#include "base/byte_order.h"

namespace murmelix {

namespace {

constexpr uint64_t kMaxChunkSize = 1u << 20;  // MARK holds at most 65535 short entries

uint32_t be32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

uint16_t be16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

bool readChunk(ByteSource& source, uint64_t offset, uint64_t size, std::vector<uint8_t>& out) {
    const uint64_t have = offset < source.size() ? source.size() - offset : 0;
    out.resize(static_cast<size_t>(std::min({size, have, kMaxChunkSize})));
    return source.read(offset, out.data(), out.size());
}

std::vector<CuePoint> markers(const std::vector<uint8_t>& mark) {
    std::vector<CuePoint> cues;
    if (mark.size() < 2) {
        return cues;
    }
    const uint16_t count = be16(mark.data());
    size_t at = 2;
    for (uint16_t i = 0; i < count && mark.size() - at >= 7; ++i) {
        CuePoint cue;
        cue.identifier = be16(&mark[at]);
        cue.position = be32(&mark[at + 2]);
        const size_t length = std::min<size_t>(mark[at + 6], mark.size() - at - 7);
        cue.label =
            CueText::limit(std::string_view(reinterpret_cast<const char*>(&mark[at + 7]), length));
        cues.push_back(cue);
        const size_t text = 1 + mark[at + 6];
        at += 6 + text + (text & 1);
        if (at > mark.size()) {
            break;
        }
    }
    return cues;
}

// Loops name their begin and end markers; a loop gives its length to the marker it
// begins at.
void applyLoops(const std::vector<uint8_t>& inst, std::vector<CuePoint>& cues) {
    if (inst.size() < 20) {
        return;
    }
    const auto positionOf = [&](uint16_t id) -> const CuePoint* {
        const auto found = std::find_if(cues.begin(), cues.end(),
                                        [&](const CuePoint& cue) { return cue.identifier == id; });
        return found != cues.end() ? &*found : nullptr;
    };
    int number = 0;
    for (const size_t loop : {size_t{8}, size_t{14}}) {
        ++number;
        const uint16_t mode = be16(&inst[loop]);
        const CuePoint* begin = positionOf(be16(&inst[loop + 2]));
        const CuePoint* end = positionOf(be16(&inst[loop + 4]));
        if (mode == 0 || begin == nullptr || end == nullptr || end->position <= begin->position) {
            continue;
        }
        CueRegions::applyLoop(cues, begin->identifier, begin->position,
                              end->position - begin->position, number);
    }
}

}  // namespace

std::vector<CuePoint> AiffMarkerReader::read(ByteSource& source) {
    uint8_t header[12];
    if (source.size() < 12 || !source.read(0, header, sizeof header) ||
        loadU32LE(header) != fourCC("FORM") ||
        (loadU32LE(header + 8) != fourCC("AIFF") && loadU32LE(header + 8) != fourCC("AIFC"))) {
        return {};
    }
    std::vector<uint8_t> mark;
    std::vector<uint8_t> inst;
    const uint64_t end = source.size();
    uint64_t at = 12;
    while (at < end && end - at >= 8 && source.read(at, header, 8)) {
        const uint32_t id = loadU32LE(header);
        const uint64_t size = be32(header + 4);
        if (id == fourCC("MARK") && mark.empty()) {
            readChunk(source, at + 8, size, mark);
        } else if (id == fourCC("INST") && inst.empty()) {
            readChunk(source, at + 8, size, inst);
        }
        at += 8 + size + (size & 1);
    }
    std::vector<CuePoint> cues = markers(mark);
    applyLoops(inst, cues);
    return cues;
}

}  // namespace murmelix
