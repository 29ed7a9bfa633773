#include "audio/sndfile_functions.h"

namespace murmelix {

const SndfileFunctions& SndfileFunctions::get() {
    static const SndfileFunctions functions;
    return functions;
}

SndfileFunctions::SndfileFunctions() {
    library_.bind(sf_open_virtual, "sf_open_virtual");
    library_.bind(sf_close, "sf_close");
    library_.bind(sf_command, "sf_command");
    library_.bind(sf_readf_double, "sf_readf_double");
    library_.bind(sf_error, "sf_error");
    library_.bind(sf_error_number, "sf_error_number");
}

}  // namespace murmelix
