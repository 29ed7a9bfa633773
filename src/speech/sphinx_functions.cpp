#include "speech/sphinx_functions.h"

namespace murmelix {

const SphinxFunctions& SphinxFunctions::get() {
    static const SphinxFunctions functions;
    return functions;
}

SphinxFunctions::SphinxFunctions() {
    library_.bind(cmd_ln_init, "cmd_ln_init");
    library_.bind(cmd_ln_free_r, "cmd_ln_free_r");
    library_.bind(cmd_ln_float_r, "cmd_ln_float_r");
    library_.bind(err_set_logfp, "err_set_logfp");
    library_.bind(ps_args, "ps_args");
    library_.bind(ps_init, "ps_init");
    library_.bind(ps_free, "ps_free");
    library_.bind(ps_get_logmath, "ps_get_logmath");
    library_.bind(ps_lookup_word, "ps_lookup_word");
    library_.bind(ps_add_word, "ps_add_word");
    library_.bind(ps_set_fsg, "ps_set_fsg");
    library_.bind(ps_set_search, "ps_set_search");
    library_.bind(ps_start_stream, "ps_start_stream");
    library_.bind(ps_start_utt, "ps_start_utt");
    library_.bind(ps_process_raw, "ps_process_raw");
    library_.bind(ps_end_utt, "ps_end_utt");
    library_.bind(ps_get_prob, "ps_get_prob");
    library_.bind(ps_seg_iter, "ps_seg_iter");
    library_.bind(ps_seg_next, "ps_seg_next");
    library_.bind(ps_seg_word, "ps_seg_word");
    library_.bind(ps_seg_frames, "ps_seg_frames");
    library_.bind(ps_seg_prob, "ps_seg_prob");
    library_.bind(jsgf_parse_string, "jsgf_parse_string");
    library_.bind(jsgf_get_public_rule, "jsgf_get_public_rule");
    library_.bind(jsgf_build_fsg, "jsgf_build_fsg");
    library_.bind(jsgf_grammar_free, "jsgf_grammar_free");
    library_.bind(fsg_model_free, "fsg_model_free");
    library_.bind(logmath_exp, "logmath_exp");
    library_.bind(logmath_log_to_ln, "logmath_log_to_ln");
}

}  // namespace murmelix
