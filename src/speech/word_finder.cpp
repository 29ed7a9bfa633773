#include "speech/word_finder.h"

#include <algorithm>
#include <memory>
#include <sstream>

#include "base/text_format.h"
#include "speech/alignment_grammar.h"
#include "speech/level_meter.h"
#include "speech/loud_sound.h"
#include "speech/misheard_silence.h"
#include "speech/phone_spelling.h"
#include "speech/speech_regions.h"
#include "speech/sphinx_decoder.h"
#include "speech/transcript.h"

namespace murmelix {

namespace {

using Segment = SphinxDecoder::Segment;

// Phones become words of their own for the phone alignment, under names no dictionary word
// has.
const std::string kPhonePrefix = "phone_";
// Silence only between words: an optional pause word around each word, and no fillers of
// the decoder's own (which it lets into words, taking a fading end or a phone for silence).
const std::string kPause = "pause_between_words";

int64_t documentFrame(int decoderFrame, const AudioDocument& doc) {
    const int64_t frame =
        static_cast<int64_t>(decoderFrame) * doc.fileSampleRate / SphinxDecoder::kFramesPerSecond;
    return std::clamp<int64_t>(frame, 0, doc.frameCount);
}

FrameSpan spanOf(const Segment& segment, const AudioDocument& doc) {
    return {documentFrame(segment.firstFrame, doc), documentFrame(segment.endFrame, doc), {}, {}};
}

std::vector<Segment> spoken(const std::vector<Segment>& segments) {
    std::vector<Segment> out;
    std::copy_if(segments.begin(), segments.end(), std::back_inserter(out), [](const Segment& s) {
        return !PhoneSpelling::isFiller(s.word) && s.word != kPause;
    });
    return out;
}

std::vector<std::string> split(const std::string& phones) {
    std::istringstream in(phones);
    std::vector<std::string> out;
    for (std::string phone; in >> phone;) {
        out.push_back(phone);
    }
    return out;
}

std::string phoneLabel(const std::string& phone, const RecognitionSettings& settings) {
    return settings.ipa ? PhoneSpelling::ipa(phone) : phone;
}

Result openDecoder(const RecognitionSettings& settings, SpeechModel::Use use,
                   std::unique_ptr<SphinxDecoder>& decoder) {
    SpeechModel model;
    if (Result found = SpeechModel::locate(settings.modelDir, use, model); !found.ok()) {
        return found;
    }
    return SphinxDecoder::open(model, use, decoder);
}

// What a free-running decoder of that kind hears in the whole document.
Result hear(const AudioDocument& doc, const RecognitionSettings& settings, SpeechModel::Use use,
            const SpeechProgress& progress, std::vector<Segment>& segments) {
    std::unique_ptr<SphinxDecoder> decoder;
    if (Result opened = openDecoder(settings, use, decoder); !opened.ok()) {
        return opened;
    }
    return decoder->decode(doc, progress, segments);
}

// The transcript's words with every pronunciation the dictionary has for them; fails naming
// the words it does not know.
Result pronounce(const SphinxDecoder& decoder, const std::vector<Transcript::Word>& words,
                 std::vector<std::vector<std::string>>& out) {
    out.clear();
    std::string unknown;
    int unknownCount = 0;
    for (const Transcript::Word& word : words) {
        out.push_back(decoder.pronunciations(word.key));
        if (out.back().empty() && unknownCount++ < 10) {
            unknown += (unknown.empty() ? "'" : ", '") + word.written + "'";
        }
    }
    if (words.empty()) {
        return Result::failure("The transcript holds no words.");
    }
    if (unknownCount > 0) {
        return Result::failure(formatText(
            "The speech model's dictionary does not know %s%s: write %s as %s.", unknown.c_str(),
            unknownCount > 10 ? formatText(" and %d more", unknownCount - 10).c_str() : "",
            unknownCount == 1 ? "it" : "them",
            unknownCount == 1 ? "a word it knows or leave it out"
                              : "words it knows or leave them out"));
    }
    return Result::success();
}

Result notAligned(size_t found, size_t expected) {
    return Result::failure(
        formatText("The recording could not be aligned to the transcript: %zu of its %zu "
                   "words were heard. Check that the transcript is what was said.",
                   found, expected));
}

// Only `items` in their order can be heard, with pauses between them.
Result useSequence(SphinxDecoder& decoder,
                   const std::vector<std::vector<AlignmentGrammar::Alternative>>& items) {
    if (Result added = decoder.addWord(kPause, "SIL", true); !added.ok()) {
        return added;
    }
    const std::vector<AlignmentGrammar::Alternative> optionalPause = {{}, {kPause}};
    std::vector<std::vector<AlignmentGrammar::Alternative>> paused = {optionalPause};
    for (const auto& item : items) {
        paused.push_back(item);
        paused.push_back(optionalPause);
    }
    return decoder.useGrammar(AlignmentGrammar::of(paused));
}

// A decoder for aligning to the transcript's words, with their pronunciations.
Result openAligner(const RecognitionSettings& settings, const std::vector<Transcript::Word>& words,
                   std::unique_ptr<SphinxDecoder>& decoder,
                   std::vector<std::vector<std::string>>& pronunciations) {
    if (Result opened = openDecoder(settings, SpeechModel::Use::Alignment, decoder); !opened.ok()) {
        return opened;
    }
    return pronounce(*decoder, words, pronunciations);
}

// What the decoder hears in the document when only `items` in order may be said: the
// spoken segments, without the pauses.
Result hearInOrder(const AudioDocument& doc, SphinxDecoder& decoder,
                   const std::vector<std::vector<AlignmentGrammar::Alternative>>& items,
                   const SpeechProgress& progress, std::vector<Segment>& segments) {
    if (Result set = useSequence(decoder, items); !set.ok()) {
        return set;
    }
    std::vector<Segment> all;
    if (Result heard = decoder.decode(doc, progress, all); !heard.ok()) {
        return heard;
    }
    segments = spoken(all);
    return Result::success();
}

Result alignWords(const AudioDocument& doc, const RecognitionSettings& settings,
                  const SpeechProgress& progress, std::vector<FrameSpan>& out) {
    const auto words = Transcript::words(settings.transcript);
    std::unique_ptr<SphinxDecoder> decoder;
    std::vector<std::vector<std::string>> pronunciations;
    if (Result opened = openAligner(settings, words, decoder, pronunciations); !opened.ok()) {
        return opened;
    }
    std::vector<std::vector<AlignmentGrammar::Alternative>> items;
    for (const auto& word : words) {
        items.push_back({{word.key}});
    }
    std::vector<Segment> segments;
    if (Result heard = hearInOrder(doc, *decoder, items, progress, segments); !heard.ok()) {
        return heard;
    }
    if (segments.size() != words.size()) {
        return notAligned(segments.size(), words.size());
    }
    for (size_t i = 0; i < words.size(); ++i) {
        FrameSpan span = spanOf(segments[i], doc);
        span.label = words[i].written;
        span.note = SpeechRegions::fitNote(segments[i].fit);
        out.push_back(std::move(span));
    }
    return Result::success();
}

// The decoder's words for a sentence's start and end and for pauses: its fillers for noise
// are not silence.
bool isSilence(const std::string& word) {
    return word == "<s>" || word == "</s>" || word == "<sil>";
}

// What a decoder heard from document frame `first` on, as document frames within
// [first, last): the words as regions, the silences apart.
void placeHeard(const std::vector<Segment>& segments, const AudioDocument& doc, int64_t first,
                int64_t last, std::vector<FrameSpan>& words, std::vector<FrameSpan>& silences) {
    for (const Segment& segment : segments) {
        FrameSpan span = spanOf(segment, doc);
        span.start = std::min(first + span.start, last);
        span.end = std::min(first + span.end, last);
        if (isSilence(segment.word)) {
            silences.push_back(std::move(span));
        } else if (!PhoneSpelling::isFiller(segment.word)) {
            span.label = PhoneSpelling::dictionaryWord(segment.word);
            span.note = formatText("confidence %.2f", segment.confidence);
            words.push_back(std::move(span));
        }
    }
}

// The work after the decoder has heard the whole document is short: the progress has
// reached its end and only tells Cancel.
SpeechProgress cancelOnly(const AudioDocument& doc, const SpeechProgress& progress) {
    return [&doc, progress](int64_t, int64_t) {
        return !progress || progress(doc.frameCount, doc.frameCount);
    };
}

// The document's level per block of SpeechRegions::blockFrames.
Result measureLevels(const AudioDocument& doc, const SpeechProgress& progress,
                     std::vector<float>& levels) {
    return LevelMeter::levels(doc, SpeechRegions::blockFrames(doc), progress, levels);
}

// Hears again, each on its own, the loud stretches of what it took for silence; the second
// hearings' silences get one more, for words that were run together with the one found.
Result hearMisheardSilences(const AudioDocument& doc, SphinxDecoder& decoder,
                            const SpeechProgress& progress, std::vector<FrameSpan> silences,
                            std::vector<FrameSpan>& words) {
    constexpr int kRounds = 2;
    std::vector<float> levels;
    if (Result measured = measureLevels(doc, progress, levels); !measured.ok()) {
        return measured;
    }
    const int64_t hop = SpeechRegions::blockFrames(doc);
    for (int round = 0; round < kRounds && !silences.empty(); ++round) {
        const auto stretches = MisheardSilence::stretches(silences, levels, hop);
        silences.clear();
        for (const FrameSpan& stretch : stretches) {
            std::vector<Segment> again;
            if (Result heard = decoder.decode(doc, stretch.start, stretch.end - stretch.start,
                                              progress, again);
                !heard.ok()) {
                return heard;
            }
            placeHeard(again, doc, stretch.start, stretch.end, words, silences);
        }
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const FrameSpan& a, const FrameSpan& b) { return a.start < b.start; });
    return Result::success();
}

Result recogniseWords(const AudioDocument& doc, const RecognitionSettings& settings,
                      const SpeechProgress& progress, std::vector<FrameSpan>& out) {
    std::unique_ptr<SphinxDecoder> decoder;
    if (Result opened = openDecoder(settings, SpeechModel::Use::Words, decoder); !opened.ok()) {
        return opened;
    }
    std::vector<Segment> segments;
    if (Result heard = decoder->decode(doc, progress, segments); !heard.ok()) {
        return heard;
    }
    std::vector<FrameSpan> silences;
    placeHeard(segments, doc, 0, doc.frameCount, out, silences);
    return hearMisheardSilences(doc, *decoder, cancelOnly(doc, progress), std::move(silences), out);
}

// The phone words of one pronunciation.
AlignmentGrammar::Alternative phoneWords(const std::string& pronunciation) {
    AlignmentGrammar::Alternative out;
    for (const std::string& phone : split(pronunciation)) {
        out.push_back(kPhonePrefix + phone);
    }
    return out;
}

Result addPhoneWords(SphinxDecoder& decoder,
                     const std::vector<std::vector<std::string>>& pronunciations) {
    std::vector<std::string> phones;
    for (const auto& alternatives : pronunciations) {
        for (const std::string& pronunciation : alternatives) {
            for (const std::string& phone : split(pronunciation)) {
                if (std::find(phones.begin(), phones.end(), phone) == phones.end()) {
                    phones.push_back(phone);
                }
            }
        }
    }
    for (const std::string& phone : phones) {
        if (Result added = decoder.addWord(kPhonePrefix + phone, phone, false); !added.ok()) {
            return added;
        }
    }
    return Result::success();
}

// How many of `heard`, from `at` on, one of the word's pronunciations covers (the longest
// that fits); 0 when none does.
size_t matchWord(const std::vector<Segment>& heard, size_t at,
                 const std::vector<std::string>& pronunciations) {
    size_t best = 0;
    for (const std::string& pronunciation : pronunciations) {
        const auto phones = split(pronunciation);
        if (phones.size() <= best || at + phones.size() > heard.size()) {
            continue;
        }
        bool fits = true;
        for (size_t p = 0; p < phones.size() && fits; ++p) {
            fits = heard[at + p].word == kPhonePrefix + phones[p];
        }
        if (fits) {
            best = phones.size();
        }
    }
    return best;
}

Result alignPhonemes(const AudioDocument& doc, const RecognitionSettings& settings,
                     const SpeechProgress& progress, std::vector<FrameSpan>& out) {
    const auto words = Transcript::words(settings.transcript);
    std::unique_ptr<SphinxDecoder> decoder;
    std::vector<std::vector<std::string>> pronunciations;
    if (Result opened = openAligner(settings, words, decoder, pronunciations); !opened.ok()) {
        return opened;
    }
    if (Result added = addPhoneWords(*decoder, pronunciations); !added.ok()) {
        return added;
    }
    std::vector<std::vector<AlignmentGrammar::Alternative>> items;
    for (const auto& alternatives : pronunciations) {
        items.emplace_back();
        for (const std::string& pronunciation : alternatives) {
            items.back().push_back(phoneWords(pronunciation));
        }
    }
    std::vector<Segment> heard;
    if (Result done = hearInOrder(doc, *decoder, items, progress, heard); !done.ok()) {
        return done;
    }
    size_t at = 0;
    for (size_t w = 0; w < words.size(); ++w) {
        const size_t count = matchWord(heard, at, pronunciations[w]);
        if (count == 0) {
            return notAligned(w, words.size());
        }
        for (size_t p = at; p < at + count; ++p) {
            FrameSpan span = spanOf(heard[p], doc);
            span.label = phoneLabel(heard[p].word.substr(kPhonePrefix.size()), settings);
            span.note = words[w].written;
            out.push_back(std::move(span));
        }
        at += count;
    }
    return at == heard.size() ? Result::success() : notAligned(words.size(), words.size());
}

Result recognisePhonemes(const AudioDocument& doc, const RecognitionSettings& settings,
                         const SpeechProgress& progress, std::vector<FrameSpan>& out) {
    std::vector<Segment> segments;
    if (Result heard = hear(doc, settings, SpeechModel::Use::Phones, progress, segments);
        !heard.ok()) {
        return heard;
    }
    for (const Segment& segment : spoken(segments)) {
        FrameSpan span = spanOf(segment, doc);
        span.label = phoneLabel(segment.word, settings);
        out.push_back(std::move(span));
    }
    return Result::success();
}

// Neighbouring segments of the decoder share no frame, but two may round to the same
// document frame; an empty region is no region.
void dropEmpty(std::vector<FrameSpan>& spans) {
    std::erase_if(spans, [](const FrameSpan& s) { return s.end <= s.start; });
}

using Find = Result (*)(const AudioDocument&, const RecognitionSettings&, const SpeechProgress&,
                        std::vector<FrameSpan>&);

// Aligned to the transcript when there is one, else recognised; an alignment's regions then
// take the loud sound next to them that it gave to a pause: with the transcript said, that
// sound belongs to the neighbouring word.
Result find(const AudioDocument& doc, const RecognitionSettings& settings,
            const SpeechProgress& progress, Find align, Find recognise,
            std::vector<FrameSpan>& out) {
    out.clear();
    const bool aligned = !Transcript::words(settings.transcript).empty();
    const Result result = (aligned ? align : recognise)(doc, settings, progress, out);
    dropEmpty(out);
    if (!result.ok() || !aligned) {
        return result;
    }
    std::vector<float> levels;
    if (Result measured = measureLevels(doc, cancelOnly(doc, progress), levels); !measured.ok()) {
        return measured;
    }
    LoudSound::claimLoudEdges(out, levels, SpeechRegions::blockFrames(doc), doc.frameCount);
    return result;
}

}  // namespace

Result WordFinder::words(const AudioDocument& doc, const RecognitionSettings& settings,
                         const SpeechProgress& progress, std::vector<FrameSpan>& out) {
    return find(doc, settings, progress, alignWords, recogniseWords, out);
}

Result WordFinder::phonemes(const AudioDocument& doc, const RecognitionSettings& settings,
                            const SpeechProgress& progress, std::vector<FrameSpan>& out) {
    return find(doc, settings, progress, alignPhonemes, recognisePhonemes, out);
}

}  // namespace murmelix
