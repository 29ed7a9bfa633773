#pragma once

#include <pocketsphinx.h>
#include <sphinxbase/err.h>
#include <sphinxbase/jsgf.h>

#include <string>

#include "base/shared_library.h"

namespace murmelix {

// The PocketSphinx and sphinxbase functions the recogniser uses, from the library opened on
// first use (see SharedLibrary; sphinxbase comes along with it). Every decoder starts with
// SphinxDecoder::open, which checks loaded() first.
class SphinxFunctions {
  public:
    // Opened by the first call, on whichever thread makes it.
    static const SphinxFunctions& get();

    bool loaded() const { return library_.loaded(); }
    const std::string& failure() const { return library_.failure(); }

    decltype(&::cmd_ln_init) cmd_ln_init = nullptr;
    decltype(&::cmd_ln_free_r) cmd_ln_free_r = nullptr;
    decltype(&::cmd_ln_float_r) cmd_ln_float_r = nullptr;
    decltype(&::err_set_logfp) err_set_logfp = nullptr;
    decltype(&::ps_args) ps_args = nullptr;
    decltype(&::ps_init) ps_init = nullptr;
    decltype(&::ps_free) ps_free = nullptr;
    decltype(&::ps_get_logmath) ps_get_logmath = nullptr;
    decltype(&::ps_lookup_word) ps_lookup_word = nullptr;
    decltype(&::ps_add_word) ps_add_word = nullptr;
    decltype(&::ps_set_fsg) ps_set_fsg = nullptr;
    decltype(&::ps_set_search) ps_set_search = nullptr;
    decltype(&::ps_start_stream) ps_start_stream = nullptr;
    decltype(&::ps_start_utt) ps_start_utt = nullptr;
    decltype(&::ps_process_raw) ps_process_raw = nullptr;
    decltype(&::ps_end_utt) ps_end_utt = nullptr;
    decltype(&::ps_get_prob) ps_get_prob = nullptr;
    decltype(&::ps_seg_iter) ps_seg_iter = nullptr;
    decltype(&::ps_seg_next) ps_seg_next = nullptr;
    decltype(&::ps_seg_word) ps_seg_word = nullptr;
    decltype(&::ps_seg_frames) ps_seg_frames = nullptr;
    decltype(&::ps_seg_prob) ps_seg_prob = nullptr;
    decltype(&::jsgf_parse_string) jsgf_parse_string = nullptr;
    decltype(&::jsgf_get_public_rule) jsgf_get_public_rule = nullptr;
    decltype(&::jsgf_build_fsg) jsgf_build_fsg = nullptr;
    decltype(&::jsgf_grammar_free) jsgf_grammar_free = nullptr;
    decltype(&::fsg_model_free) fsg_model_free = nullptr;
    decltype(&::logmath_exp) logmath_exp = nullptr;
    decltype(&::logmath_log_to_ln) logmath_log_to_ln = nullptr;

  private:
    SphinxFunctions();

    SharedLibrary library_{"libpocketsphinx.so.3"};
};

}  // namespace murmelix
