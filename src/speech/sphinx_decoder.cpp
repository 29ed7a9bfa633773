#include "speech/sphinx_decoder.h"

#include <pocketsphinx.h>
#include <sphinxbase/err.h>

#include <cstdlib>

#include "base/text_format.h"
#include "base/utf8_text.h"
#include "speech/speech_resampler.h"

namespace murmelix {

namespace {

cmd_ln_t* configFor(const SpeechModel& model, SpeechModel::Use use) {
    const std::string hmm = model.acousticModel();
    const std::string dict = model.dictionary();
    if (use == SpeechModel::Use::Words) {
        const std::string lm = model.wordModel();
        return cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmm.c_str(), "-dict", dict.c_str(),
                           "-lm", lm.c_str(), nullptr);
    }
    if (use == SpeechModel::Use::Phones) {
        // Narrow beams keep the phone decoder ahead of real time; a strong phone model weight.
        const std::string phones = model.phoneModel();
        return cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmm.c_str(), "-dict", dict.c_str(),
                           "-allphone", phones.c_str(), "-beam", "1e-10", "-pbeam", "1e-10", "-lw",
                           "2.0", nullptr);
    }
    // The phone alignment's grammar places the pauses itself.
    const char* fillers = use == SpeechModel::Use::PhoneAlignment ? "no" : "yes";
    return cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmm.c_str(), "-dict", dict.c_str(),
                       "-fsgusefiller", fillers, nullptr);
}

}  // namespace

SphinxDecoder::~SphinxDecoder() {
    if (decoder_ != nullptr) {
        ps_free(decoder_);
    }
    if (config_ != nullptr) {
        cmd_ln_free_r(config_);
    }
}

Result SphinxDecoder::open(const SpeechModel& model, SpeechModel::Use use,
                           std::unique_ptr<SphinxDecoder>& out) {
    // The library logs to standard error by default. Its "-logfn" option would open a file
    // that a second decoder on another thread closes again; switching the log off is a
    // plain store.
    err_set_logfp(nullptr);
    std::unique_ptr<SphinxDecoder> made(new SphinxDecoder());
    made->config_ = configFor(model, use);
    if (made->config_ != nullptr) {
        made->decoder_ = ps_init(made->config_);
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
        char* phones = ps_lookup_word(decoder_, entry.c_str());
        if (phones == nullptr) {
            return out;
        }
        out.emplace_back(phones);
        std::free(phones);
    }
}

Result SphinxDecoder::addWord(const std::string& word, const std::string& phones, bool last) {
    if (ps_add_word(decoder_, word.c_str(), phones.c_str(), last ? TRUE : FALSE) < 0) {
        return Result::failure(
            formatText("The phones '%s' are not in the speech model.", phones.c_str()));
    }
    return Result::success();
}

Result SphinxDecoder::useGrammar(const std::string& jsgf) {
    if (ps_set_jsgf_string(decoder_, "transcript", jsgf.c_str()) != 0 ||
        ps_set_search(decoder_, "transcript") != 0) {
        return Result::failure("The transcript could not be made into a grammar.");
    }
    return Result::success();
}

Result SphinxDecoder::decode(const AudioDocument& doc, const SpeechProgress& progress,
                             std::vector<Segment>& out) {
    out.clear();
    if (ps_start_utt(decoder_) < 0) {
        return Result::failure("The recogniser could not be started.");
    }
    SpeechResampler input(doc);
    std::vector<int16_t> block;
    for (bool more = doc.frameCount > 0; more;) {
        if (Result read = input.next(block, more); !read.ok()) {
            ps_end_utt(decoder_);
            return read;
        }
        if (!block.empty() &&
            ps_process_raw(decoder_, block.data(), block.size(), FALSE, FALSE) < 0) {
            ps_end_utt(decoder_);
            return Result::failure("The recogniser failed on the recording.");
        }
        if (progress && !progress(input.done(), doc.frameCount)) {
            ps_end_utt(decoder_);
            return Result::cancel();
        }
    }
    ps_end_utt(decoder_);
    // Posterior probabilities are worked out from the lattice on demand.
    ps_get_prob(decoder_);
    logmath_t* logmath = ps_get_logmath(decoder_);
    for (ps_seg_t* seg = ps_seg_iter(decoder_); seg != nullptr; seg = ps_seg_next(seg)) {
        Segment segment;
        segment.word = ps_seg_word(seg);
        int first = 0;
        int last = 0;
        ps_seg_frames(seg, &first, &last);
        segment.firstFrame = first;
        segment.endFrame = last + 1;
        int32 acoustic = 0;
        int32 language = 0;
        int32 backoff = 0;
        segment.confidence = logmath_exp(logmath, ps_seg_prob(seg, &acoustic, &language, &backoff));
        out.push_back(std::move(segment));
    }
    return Result::success();
}

}  // namespace murmelix
