#include "audio/riff_marker_reader.h"

#include <algorithm>
#include <span>
#include <unordered_map>
#include <utility>

#include "audio/cue_regions.h"
#include "audio/cue_text.h"
#include "base/byte_order.h"

namespace murmelix {

namespace {

constexpr size_t kCuePointSize = 24;
constexpr size_t kLoopSize = 24;
constexpr size_t kSamplerHeaderSize = 36;
constexpr uint32_t kUnknownSize = 0xFFFFFFFFu;

// Chunk identifiers are compared as the four bytes they are, whatever the byte order of
// the numbers.
uint32_t idOf(const uint8_t* bytes) {
    return loadU32LE(bytes);
}

class Walker {
  public:
    Walker(ByteSource& source, bool bigEndian) : source_(source), big_(bigEndian) {}

    uint32_t u32(const uint8_t* p) const {
        return big_ ? (uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3])
                    : loadU32LE(p);
    }
    uint64_t u64LE(const uint8_t* p) const {
        return loadU32LE(p) | static_cast<uint64_t>(loadU32LE(p + 4)) << 32;
    }

    // The chunk's bytes, cut to what the source has and to the reader's limit.
    bool bytes(uint64_t offset, uint64_t size, std::vector<uint8_t>& out) const {
        const uint64_t have = offset < source_.size() ? source_.size() - offset : 0;
        out.resize(static_cast<size_t>(std::min({size, have, RiffMarkerReader::kMaxChunkSize})));
        return source_.read(offset, out.data(), out.size());
    }

  private:
    ByteSource& source_;
    bool big_;
};

struct Found {
    std::vector<uint8_t> cue;
    std::vector<std::vector<uint8_t>> lists;  // adtl bodies, after the list type
    std::vector<uint8_t> sampler;
    bool lowercaseList = false;
};

std::vector<CuePoint> cuePoints(const Walker& w, const std::vector<uint8_t>& chunk) {
    std::vector<CuePoint> cues;
    if (chunk.size() < 4) {
        return cues;
    }
    const size_t room = (chunk.size() - 4) / kCuePointSize;
    const size_t count = std::min<size_t>(w.u32(chunk.data()), room);
    cues.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = chunk.data() + 4 + i * kCuePointSize;
        CuePoint cue;
        cue.identifier = w.u32(p);
        cue.position = w.u32(p + 20);  // the sample offset, as the WAV reader takes it
        cues.push_back(cue);
    }
    return cues;
}

std::string textOf(std::span<const uint8_t> data) {
    return CueText::limit({reinterpret_cast<const char*>(data.data()) + 4, data.size() - 4});
}

void applyList(const Walker& w, const std::vector<uint8_t>& list, std::vector<CuePoint>& cues,
               const std::unordered_map<uint32_t, size_t>& first) {
    size_t at = 0;
    while (at < list.size() && list.size() - at >= 8) {
        const uint32_t id = idOf(&list[at]);
        const uint64_t declared = w.u32(&list[at + 4]);
        const size_t size = static_cast<size_t>(std::min<uint64_t>(declared, list.size() - at - 8));
        const std::span<const uint8_t> data(&list[at + 8], size);
        CuePoint* cue = nullptr;
        if (size >= 4) {
            const auto found = first.find(w.u32(data.data()));
            cue = found != first.end() ? &cues[found->second] : nullptr;
        }
        if (cue != nullptr && id == fourCC("ltxt") && size >= 8) {
            cue->length = w.u32(data.data() + 4);
        } else if (cue != nullptr && id == fourCC("labl")) {
            cue->label = textOf(data);
        } else if (cue != nullptr && id == fourCC("note")) {
            cue->note = textOf(data);
        }
        at += 8 + size + (size & 1);
    }
}

void applyLoops(const Walker& w, const std::vector<uint8_t>& sampler, std::vector<CuePoint>& cues) {
    if (sampler.size() < kSamplerHeaderSize) {
        return;
    }
    const size_t room = (sampler.size() - kSamplerHeaderSize) / kLoopSize;
    const size_t count = std::min<size_t>(w.u32(sampler.data() + 28), room);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = sampler.data() + kSamplerHeaderSize + i * kLoopSize;
        const uint32_t start = w.u32(p + 8);
        const uint32_t end = w.u32(p + 12);  // the loop's last frame
        if (end >= start && end - start < UINT32_MAX) {
            CueRegions::applyLoop(cues, w.u32(p), start, end - start + 1, static_cast<int>(i) + 1);
        }
    }
}

// Sizes an RF64 file gives in its ds64 chunk instead of in the chunk headers.
struct LargeSizes {
    uint64_t riff = 0;
    uint64_t data = 0;
    std::unordered_map<uint32_t, uint64_t> table;
};

LargeSizes readDs64(const Walker& w, ByteSource& source) {
    LargeSizes sizes;
    uint8_t header[8];
    if (!source.read(12, header, sizeof header) || idOf(header) != fourCC("ds64")) {
        return sizes;
    }
    std::vector<uint8_t> body;
    if (!w.bytes(20, w.u32(header + 4), body) || body.size() < 24) {
        return sizes;
    }
    sizes.riff = w.u64LE(body.data());
    sizes.data = w.u64LE(body.data() + 8);
    if (body.size() < 28) {
        return sizes;
    }
    const size_t entries = std::min<size_t>(w.u32(body.data() + 24), (body.size() - 28) / 12);
    for (size_t i = 0; i < entries; ++i) {
        const uint8_t* p = body.data() + 28 + i * 12;
        sizes.table.emplace(idOf(p), w.u64LE(p + 4));
    }
    return sizes;
}

Found findChunks(const Walker& w, ByteSource& source, bool large) {
    Found found;
    const LargeSizes sizes = large ? readDs64(w, source) : LargeSizes{};
    const uint64_t end = source.size();
    uint64_t at = 12;
    uint8_t header[12];
    while (end - at >= 8 && source.read(at, header, 8)) {
        const uint32_t id = idOf(header);
        uint64_t size = w.u32(header + 4);
        if (large && size == kUnknownSize) {
            const auto entry = sizes.table.find(id);
            size = id == fourCC("data")         ? sizes.data
                   : entry != sizes.table.end() ? entry->second
                                                : end - at - 8;
        }
        const uint64_t data = at + 8;
        if (id == fourCC("cue ") && found.cue.empty()) {
            w.bytes(data, size, found.cue);
        } else if (id == fourCC("smpl") && found.sampler.empty()) {
            w.bytes(data, size, found.sampler);
        } else if ((id == fourCC("LIST") || id == fourCC("list")) && size >= 4 &&
                   source.read(data, header + 8, 4) && idOf(header + 8) == fourCC("adtl")) {
            found.lists.emplace_back();
            found.lowercaseList = found.lowercaseList || id == fourCC("list");
            w.bytes(data + 4, size - 4, found.lists.back());
        }
        const uint64_t next = data + size + (size & 1);
        if (next <= at || next > end) {
            break;
        }
        at = next;
    }
    return found;
}

}  // namespace

std::vector<CuePoint> RiffMarkerReader::read(ByteSource& source, bool* listInLowercase) {
    uint8_t header[12];
    if (source.size() < 12 || !source.read(0, header, sizeof header) ||
        idOf(header + 8) != fourCC("WAVE")) {
        return {};
    }
    const uint32_t form = idOf(header);
    const bool large = form == fourCC("RF64") || form == fourCC("BW64");
    if (form != fourCC("RIFF") && form != fourCC("RIFX") && !large) {
        return {};
    }
    const Walker w(source, form == fourCC("RIFX"));
    const Found found = findChunks(w, source, large);
    if (listInLowercase != nullptr) {
        *listInLowercase = found.lowercaseList;
    }
    std::vector<CuePoint> cues = cuePoints(w, found.cue);
    std::unordered_map<uint32_t, size_t> first;
    for (size_t i = 0; i < cues.size(); ++i) {
        if (cues[i].identifier != 0) {
            first.emplace(cues[i].identifier, i);
        }
    }
    for (const auto& list : found.lists) {
        applyList(w, list, cues, first);
    }
    applyLoops(w, found.sampler, cues);
    return cues;
}

}  // namespace murmelix
