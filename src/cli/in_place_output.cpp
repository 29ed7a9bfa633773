#include "cli/in_place_output.h"

#include <filesystem>
#include <system_error>

#include "base/absolute_path.h"
#include "base/text_format.h"
#include "base/utf8_text.h"

namespace murmelix::cli {

namespace {

// The WAV file written from the import is the source again: a little-endian RIFF WAV file
// of 8 or 16-bit PCM with the source's channels (the rate never changes).
bool keepsFormat(const ImportedSound& imported) {
    const SoundFileInfo& source = imported.source;
    const int encoding = source.encoding();
    return source.container() == SF_FORMAT_WAV &&
           (encoding == SF_FORMAT_PCM_16 || encoding == SF_FORMAT_PCM_U8) &&
           source.channels == imported.document.channels() &&
           source.bits() == imported.document.bitsPerSample();
}

}  // namespace

bool InPlaceOutput::sameFile(const std::string& input, const std::string& output) {
    if (output == "-") {
        return false;
    }
    std::error_code error;
    return std::filesystem::equivalent(input, output, error) && !error;
}

Result InPlaceOutput::check(const std::string& input, const std::string& output,
                            const ImportedSound& imported) {
    if (!sameFile(input, output) || keepsFormat(imported)) {
        return Result::success();
    }
    const std::string out = Utf8Text::fromBytes(AbsolutePath::of(output));
    const std::string in = Utf8Text::fromBytes(AbsolutePath::of(input));
    return Result::failure(formatText(
        "Can't write '%s': it is the input '%s' itself, a %s file, which the WAV file would "
        "replace. Choose another output file.",
        out.c_str(), in.c_str(), imported.source.describe().c_str()));
}

}  // namespace murmelix::cli
