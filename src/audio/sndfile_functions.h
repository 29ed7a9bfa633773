#pragma once

#include <sndfile.h>

#include <string>

#include "base/shared_library.h"

namespace murmelix {

// The libsndfile functions the importer uses, from the library opened on first use (see
// SharedLibrary). Only open() and the format names start work with the library; a failed
// open says why through failure().
class SndfileFunctions {
  public:
    // Opened by the first call, on whichever thread makes it.
    static const SndfileFunctions& get();

    bool loaded() const { return library_.loaded(); }
    const std::string& failure() const { return library_.failure(); }

    decltype(&::sf_open_virtual) sf_open_virtual = nullptr;
    decltype(&::sf_close) sf_close = nullptr;
    decltype(&::sf_command) sf_command = nullptr;
    decltype(&::sf_readf_double) sf_readf_double = nullptr;
    decltype(&::sf_error) sf_error = nullptr;
    decltype(&::sf_error_number) sf_error_number = nullptr;

  private:
    SndfileFunctions();

    SharedLibrary library_{"libsndfile.so.1"};
};

}  // namespace murmelix
