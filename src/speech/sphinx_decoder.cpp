#include "speech/sphinx_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/text_format.h"
#include "base/utf8_text.h"
#include "speech/speech_resampler.h"
#include "speech/sphinx_functions.h"

namespace murmelix {

namespace {

const SphinxFunctions& sphinx() {
    return SphinxFunctions::get();
}

// Every search hears every frame: the library's voice activity filter, meant for live
// listening, drops frames it takes for silence and then numbers the frames after them wrongly
// (a second of quiet noise before the speech moved every word about a second late).
cmd_ln_t* configFor(const SpeechModel& model, SpeechModel::Use use) {
    const std::string hmm = model.acousticModel();
    const std::string dict = model.dictionary();
    if (use == SpeechModel::Use::Words) {
        // A cap on the active models per frame: a quarter faster, with the same word error
        // rate on read speech (narrower beams doubled it).
        const std::string lm = model.wordModel();
        return sphinx().cmd_ln_init(nullptr, sphinx().ps_args(), TRUE, "-hmm", hmm.c_str(), "-dict",
                                    dict.c_str(), "-lm", lm.c_str(), "-maxhmmpf", "5000",
                                    "-remove_silence", "no", nullptr);
    }
    if (use == SpeechModel::Use::Phones) {
        // Narrow beams keep the phone decoder ahead of real time; a strong phone model weight.
        const std::string phones = model.phoneModel();
        return sphinx().cmd_ln_init(nullptr, sphinx().ps_args(), TRUE, "-hmm", hmm.c_str(), "-dict",
                                    dict.c_str(), "-allphone", phones.c_str(), "-beam", "1e-10",
                                    "-pbeam", "1e-10", "-lw", "2.0", "-remove_silence", "no",
                                    nullptr);
    }
    // The alignment grammar places the pauses itself. A grammar that allows one sentence
    // leaves few paths: very wide beams keep the right one even where the speaker sounds
    // unlike the model (narrower ones lose it and the grammar's end is never reached), and a
    // cap on the active models per frame keeps long recordings fast. Dither keeps digital
    // silence from confusing the feature normalization.
    return sphinx().cmd_ln_init(nullptr, sphinx().ps_args(), TRUE, "-hmm", hmm.c_str(), "-dict",
                                dict.c_str(), "-fsgusefiller", "no", "-dither", "yes", "-seed", "1",
                                "-beam", "1e-200", "-pbeam", "1e-200", "-wbeam", "1e-200",
                                "-maxhmmpf", "3000", "-remove_silence", "no", nullptr);
}

}  // namespace

SphinxDecoder::~SphinxDecoder() {
    if (decoder_ != nullptr) {
        sphinx().ps_free(decoder_);
    }
    if (config_ != nullptr) {
        sphinx().cmd_ln_free_r(config_);
    }
}

Result SphinxDecoder::open(const SpeechModel& model, SpeechModel::Use use,
                           std::unique_ptr<SphinxDecoder>& out) {
    if (!sphinx().loaded()) {
        return Result::failure(sphinx().failure());
    }
    // The library logs to standard error by default. Its "-logfn" option would open a file
    // that a second decoder on another thread closes again; switching the log off is a
    // plain store.
    sphinx().err_set_logfp(nullptr);
    std::unique_ptr<SphinxDecoder> made(new SphinxDecoder());
    made->config_ = configFor(model, use);
    // Free recognition has no grammar end to miss: heard without the warm-up it is as right
    // on read speech, finds more of the words after silence, and takes half the time.
    made->warmUp_ = use != SpeechModel::Use::Words;
    if (made->config_ != nullptr) {
        made->decoder_ = sphinx().ps_init(made->config_);
    }
    if (made->decoder_ == nullptr) {
        return Result::failure(formatText("The speech model in '%s' could not be loaded.",
                                          Utf8Text::fromBytes(model.folder()).c_str()));
    }
    out = std::move(made);
    return Result::success();
}

std::vector<std::string> SphinxDecoder::pronunciations(const std::string& word) const {
    std::vector<std::string> out;
    for (int n = 1;; ++n) {
        const std::string entry = n == 1 ? word : formatText("%s(%d)", word.c_str(), n);
        char* phones = sphinx().ps_lookup_word(decoder_, entry.c_str());
        if (phones == nullptr) {
            return out;
        }
        out.emplace_back(phones);
        std::free(phones);
    }
}

Result SphinxDecoder::addWord(const std::string& word, const std::string& phones, bool last) {
    if (sphinx().ps_add_word(decoder_, word.c_str(), phones.c_str(), last ? TRUE : FALSE) < 0) {
        return Result::failure(
            formatText("The phones '%s' are not in the speech model.", phones.c_str()));
    }
    return Result::success();
}

Result SphinxDecoder::useGrammar(const std::string& jsgf) {
    // Built here rather than by ps_set_jsgf_string, which never frees the parsed grammar.
    jsgf_t* grammar = sphinx().jsgf_parse_string(jsgf.c_str(), nullptr);
    jsgf_rule_t* rule = grammar != nullptr ? sphinx().jsgf_get_public_rule(grammar) : nullptr;
    fsg_model_t* fsg =
        rule != nullptr
            ? sphinx().jsgf_build_fsg(grammar, rule, sphinx().ps_get_logmath(decoder_),
                                      static_cast<float32>(sphinx().cmd_ln_float_r(config_, "-lw")))
            : nullptr;
    const bool set = fsg != nullptr && sphinx().ps_set_fsg(decoder_, "transcript", fsg) == 0 &&
                     sphinx().ps_set_search(decoder_, "transcript") == 0;
    grammar_ = grammar_ || set;
    if (fsg != nullptr) {
        sphinx().fsg_model_free(fsg);
    }
    if (grammar != nullptr) {
        sphinx().jsgf_grammar_free(grammar);
    }
    return set ? Result::success()
               : Result::failure("The transcript could not be made into a grammar.");
}

Result SphinxDecoder::hear(const AudioDocument& doc, int64_t first, int64_t frames,
                           const Report& report) {
    // The decoder counts frames on from earlier hearings until a new stream starts; each
    // hearing is a stream of its own, so its frames count from its own first.
    // (The feature mean, which the warm-up is for, is kept across streams.)
    if (sphinx().ps_start_stream(decoder_) < 0 || sphinx().ps_start_utt(decoder_) < 0) {
        return Result::failure("The recogniser could not be started.");
    }
    SpeechResampler input(doc, first, frames);
    std::vector<int16_t> block;
    for (bool more = frames > 0; more;) {
        if (Result read = input.next(block, more); !read.ok()) {
            sphinx().ps_end_utt(decoder_);
            return read;
        }
        if (!block.empty() &&
            sphinx().ps_process_raw(decoder_, block.data(), block.size(), FALSE, FALSE) < 0) {
            sphinx().ps_end_utt(decoder_);
            return Result::failure("The recogniser failed on the recording.");
        }
        if (!report(input.done())) {
            sphinx().ps_end_utt(decoder_);
            return Result::cancel();
        }
    }
    // The last word must have ended for the grammar to be through: a recording that stops
    // on it gets a little silence after it. Free recognition has no end to reach.
    if (grammar_) {
        const std::vector<int16_t> silence(SpeechResampler::kRate / 4, 0);
        sphinx().ps_process_raw(decoder_, silence.data(), silence.size(), FALSE, FALSE);
    }
    sphinx().ps_end_utt(decoder_);
    return Result::success();
}

Result SphinxDecoder::decode(const AudioDocument& doc, const SpeechProgress& progress,
                             std::vector<Segment>& out) {
    return decode(doc, 0, doc.frameCount, progress, out);
}

Result SphinxDecoder::decode(const AudioDocument& doc, int64_t first, int64_t frames,
                             const SpeechProgress& progress, std::vector<Segment>& out) {
    out.clear();
    first = std::clamp<int64_t>(first, 0, doc.frameCount);
    frames = std::clamp<int64_t>(frames, 0, doc.frameCount - first);
    // The decoder normalizes its features by a running mean that starts from a guess; on
    // the first seconds of a recording unlike that guess a grammar's end can be missed. A
    // first hearing of the start sets the mean; its result is thrown away.
    const int64_t warmUp =
        warmUp_
            ? std::min<int64_t>(frames, static_cast<int64_t>(kWarmUpSeconds) * doc.fileSampleRate)
            : 0;
    const int64_t work = warmUp + frames;
    const auto scaled = [&](int64_t done) {
        return !progress || progress(work > 0 ? done * frames / work : 0, frames);
    };
    if (warmUp > 0) {
        if (Result warmed = hear(doc, first, warmUp, scaled); !warmed.ok()) {
            return warmed;
        }
    }
    if (Result heard =
            hear(doc, first, frames, [&](int64_t done) { return scaled(warmUp + done); });
        !heard.ok()) {
        return heard;
    }
    collect(out);
    return Result::success();
}

void SphinxDecoder::collect(std::vector<Segment>& out) {
    // Posterior probabilities are worked out from the lattice on demand.
    sphinx().ps_get_prob(decoder_);
    logmath_t* logmath = sphinx().ps_get_logmath(decoder_);
    for (ps_seg_t* seg = sphinx().ps_seg_iter(decoder_); seg != nullptr;
         seg = sphinx().ps_seg_next(seg)) {
        Segment segment;
        segment.word = sphinx().ps_seg_word(seg);
        int first = 0;
        int last = 0;
        sphinx().ps_seg_frames(seg, &first, &last);
        segment.firstFrame = first;
        segment.endFrame = last + 1;
        int32 acoustic = 0;
        int32 language = 0;
        int32 backoff = 0;
        segment.confidence = sphinx().logmath_exp(
            logmath, sphinx().ps_seg_prob(seg, &acoustic, &language, &backoff));
        // Acoustic scores are kept relative to each frame's best sound, in units 2^10 times
        // the log base's (the library's fixed senone score shift).
        constexpr double kSenoneScoreScale = 1024.0;
        segment.fit = std::exp(sphinx().logmath_log_to_ln(logmath, acoustic) * kSenoneScoreScale /
                               std::max(1, segment.endFrame - segment.firstFrame));
        out.push_back(std::move(segment));
    }
}

}  // namespace murmelix
