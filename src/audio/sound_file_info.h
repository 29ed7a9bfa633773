#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>

#include "base/result.h"

namespace murmelix {

// What a sound file is, as libsndfile sees it: container, encoding, rate, channels and
// length, with the short texts messages and title bars show.
struct SoundFileInfo {
    int format = 0;  // libsndfile's format word: container | encoding | byte order
    int sampleRate = 0;
    int channels = 0;
    int64_t frames = 0;  // libsndfile's count; an estimate for some compressed streams

    static SoundFileInfo of(const SF_INFO& info);

    // Reads only as much of the file as libsndfile needs to recognise it. Fails with a
    // message naming the file when it cannot be opened or libsndfile does not know it.
    static Result probe(const std::string& path, SoundFileInfo& out);

    int container() const { return format & SF_FORMAT_TYPEMASK; }
    int encoding() const { return format & SF_FORMAT_SUBMASK; }

    // "WAV", "RF64", "FLAC", "Ogg Vorbis", "MP3", ...
    std::string containerName() const;
    // "24-bit", "32-bit float", "A-law", ...; empty where the container name says it all
    // (Ogg Vorbis, MP3).
    std::string encodingName() const;
    // Bits per stored sample for PCM and float encodings, 8 for A-law and mu-law; 0 for
    // the rest.
    int bits() const;
    // The resolution of the values the decoder gives: 8 or 16 when they are whole numbers
    // that fit 8 or 16 bits (8-bit PCM; 16-bit PCM, the companded and ADPCM codes), 0 when
    // they need more (24 and 32-bit PCM, float, lossy codecs).
    int integerBits() const;
    // "24-bit 48000 Hz 4 channels FLAC", "44100 Hz stereo MP3".
    std::string describe() const;
};

}  // namespace murmelix
