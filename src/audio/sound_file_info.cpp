#include "audio/sound_file_info.h"

#include "audio/sndfile_functions.h"
#include "audio/sndfile_stream.h"
#include "base/absolute_path.h"
#include "base/input_file.h"
#include "base/text_format.h"

namespace murmelix {

namespace {

struct Name {
    int code;
    const char* text;
};

constexpr Name kContainers[] = {
    {SF_FORMAT_WAV, "WAV"},   {SF_FORMAT_WAVEX, "WAV (extensible)"},
    {SF_FORMAT_RF64, "RF64"}, {SF_FORMAT_W64, "W64"},
    {SF_FORMAT_AIFF, "AIFF"}, {SF_FORMAT_CAF, "CAF"},
    {SF_FORMAT_FLAC, "FLAC"}, {SF_FORMAT_AU, "AU"},
    {SF_FORMAT_RAW, "raw"},   {SF_FORMAT_PAF, "PAF"},
    {SF_FORMAT_SVX, "8SVX"},  {SF_FORMAT_NIST, "NIST SPHERE"},
    {SF_FORMAT_VOC, "VOC"},   {SF_FORMAT_IRCAM, "IRCAM"},
    {SF_FORMAT_MAT4, "MAT4"}, {SF_FORMAT_MAT5, "MAT5"},
    {SF_FORMAT_PVF, "PVF"},   {SF_FORMAT_XI, "XI"},
    {SF_FORMAT_HTK, "HTK"},   {SF_FORMAT_SDS, "SDS"},
    {SF_FORMAT_AVR, "AVR"},   {SF_FORMAT_WVE, "WVE"},
    {SF_FORMAT_SD2, "SD2"},   {SF_FORMAT_MPC2K, "MPC2K"},
};

constexpr Name kEncodings[] = {
    {SF_FORMAT_PCM_S8, "8-bit"},
    {SF_FORMAT_PCM_U8, "8-bit"},
    {SF_FORMAT_PCM_16, "16-bit"},
    {SF_FORMAT_PCM_24, "24-bit"},
    {SF_FORMAT_PCM_32, "32-bit"},
    {SF_FORMAT_FLOAT, "32-bit float"},
    {SF_FORMAT_DOUBLE, "64-bit float"},
    {SF_FORMAT_ULAW, "mu-law"},
    {SF_FORMAT_ALAW, "A-law"},
    {SF_FORMAT_IMA_ADPCM, "IMA ADPCM"},
    {SF_FORMAT_MS_ADPCM, "MS ADPCM"},
    {SF_FORMAT_GSM610, "GSM 6.10"},
    {SF_FORMAT_VOX_ADPCM, "VOX ADPCM"},
    {SF_FORMAT_G721_32, "G.721 ADPCM"},
    {SF_FORMAT_G723_24, "G.723 ADPCM"},
    {SF_FORMAT_G723_40, "G.723 ADPCM"},
    {SF_FORMAT_DWVW_12, "12-bit DWVW"},
    {SF_FORMAT_DWVW_16, "16-bit DWVW"},
    {SF_FORMAT_DWVW_24, "24-bit DWVW"},
    {SF_FORMAT_DPCM_8, "8-bit DPCM"},
    {SF_FORMAT_DPCM_16, "16-bit DPCM"},
    {SF_FORMAT_NMS_ADPCM_16, "NMS ADPCM"},
    {SF_FORMAT_NMS_ADPCM_24, "NMS ADPCM"},
    {SF_FORMAT_NMS_ADPCM_32, "NMS ADPCM"},
    {SF_FORMAT_ALAC_16, "16-bit ALAC"},
    {SF_FORMAT_ALAC_20, "20-bit ALAC"},
    {SF_FORMAT_ALAC_24, "24-bit ALAC"},
    {SF_FORMAT_ALAC_32, "32-bit ALAC"},
};

const char* find(const Name* begin, const Name* end, int code) {
    for (const Name* n = begin; n != end; ++n) {
        if (n->code == code) {
            return n->text;
        }
    }
    return nullptr;
}

// libsndfile's own name of a format code, without its explanation in parentheses.
std::string sndfileName(int command, int code) {
    SF_FORMAT_INFO info{};
    info.format = code;
    const SndfileFunctions& sndfile = SndfileFunctions::get();
    if (!sndfile.loaded() || sndfile.sf_command(nullptr, command, &info, sizeof info) != 0 ||
        info.name == nullptr) {
        return formatText("format 0x%x", static_cast<unsigned>(code));
    }
    std::string name = info.name;
    if (const size_t paren = name.find(" ("); paren != std::string::npos) {
        name.erase(paren);
    }
    return name;
}

}  // namespace

SoundFileInfo SoundFileInfo::of(const SF_INFO& info) {
    SoundFileInfo out;
    out.format = info.format;
    out.sampleRate = info.samplerate;
    out.channels = info.channels;
    out.frames = info.frames;
    return out;
}

Result SoundFileInfo::probe(const std::string& path, SoundFileInfo& out) {
    const std::string name = AbsolutePath::of(path);
    InputFile file;
    if (!file.open(path)) {
        return Result::failure(
            formatText("Can't open sound file '%s' (%s).", name.c_str(), file.reason().c_str()));
    }
    SndfileStream stream(file);
    if (!stream.open()) {
        return Result::failure(stream.openFailure(name));
    }
    out = of(stream.info());
    return Result::success();
}

std::string SoundFileInfo::containerName() const {
    if (container() == SF_FORMAT_OGG) {
        return encoding() == SF_FORMAT_OPUS ? "Ogg Opus" : "Ogg Vorbis";
    }
    if (container() == SF_FORMAT_MPEG) {
        switch (encoding()) {
            case SF_FORMAT_MPEG_LAYER_I:
                return "MPEG Layer I";
            case SF_FORMAT_MPEG_LAYER_II:
                return "MP2";
            default:
                return "MP3";
        }
    }
    if (container() == SF_FORMAT_WAV && (format & SF_FORMAT_ENDMASK) == SF_ENDIAN_BIG) {
        return "RIFX";
    }
    if (const char* text = find(std::begin(kContainers), std::end(kContainers), container())) {
        return text;
    }
    return sndfileName(SFC_GET_FORMAT_MAJOR, container());
}

std::string SoundFileInfo::encodingName() const {
    switch (encoding()) {
        case SF_FORMAT_VORBIS:
        case SF_FORMAT_OPUS:
        case SF_FORMAT_MPEG_LAYER_I:
        case SF_FORMAT_MPEG_LAYER_II:
        case SF_FORMAT_MPEG_LAYER_III:
            return {};
        default:
            break;
    }
    if (const char* text = find(std::begin(kEncodings), std::end(kEncodings), encoding())) {
        return text;
    }
    return sndfileName(SFC_GET_FORMAT_SUBTYPE, encoding());
}

int SoundFileInfo::bits() const {
    switch (encoding()) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8:
        case SF_FORMAT_ULAW:
        case SF_FORMAT_ALAW:
            return 8;
        case SF_FORMAT_PCM_16:
            return 16;
        case SF_FORMAT_PCM_24:
            return 24;
        case SF_FORMAT_PCM_32:
        case SF_FORMAT_FLOAT:
            return 32;
        case SF_FORMAT_DOUBLE:
            return 64;
        default:
            return 0;
    }
}

int SoundFileInfo::integerBits() const {
    switch (encoding()) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8:
        case SF_FORMAT_DPCM_8:
            return 8;
        case SF_FORMAT_PCM_16:
        case SF_FORMAT_ULAW:
        case SF_FORMAT_ALAW:
        case SF_FORMAT_IMA_ADPCM:
        case SF_FORMAT_MS_ADPCM:
        case SF_FORMAT_GSM610:
        case SF_FORMAT_VOX_ADPCM:
        case SF_FORMAT_G721_32:
        case SF_FORMAT_G723_24:
        case SF_FORMAT_G723_40:
        case SF_FORMAT_DWVW_12:
        case SF_FORMAT_DWVW_16:
        case SF_FORMAT_DPCM_16:
        case SF_FORMAT_NMS_ADPCM_16:
        case SF_FORMAT_NMS_ADPCM_24:
        case SF_FORMAT_NMS_ADPCM_32:
        case SF_FORMAT_ALAC_16:
            return 16;
        default:
            return 0;
    }
}

std::string SoundFileInfo::describe() const {
    std::string text = encodingName();
    if (!text.empty()) {
        text += ' ';
    }
    text += std::to_string(sampleRate) + " Hz ";
    if (channels == 1) {
        text += "mono";
    } else if (channels == 2) {
        text += "stereo";
    } else {
        text += std::to_string(channels) + " channels";
    }
    return text + ' ' + containerName();
}

}  // namespace murmelix
