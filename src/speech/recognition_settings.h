#pragma once

#include <string>

namespace murmelix {

// What the recogniser is told when it looks for words or phonemes.
struct RecognitionSettings {
    // The words spoken, in order: the regions are aligned to them. Empty: what the
    // recogniser hears, with its confidence in the note.
    std::string transcript;
    // A folder laid out like the Debian package pocketsphinx-en-us; empty: the folder named
    // by MURMELIX_SPEECH_MODEL, else the package's own.
    std::string modelDir;
    // Phoneme labels in the International Phonetic Alphabet instead of ARPAbet.
    bool ipa = false;
    // Added to each side of a region, never past the middle of the pause to its neighbour:
    // borders are where the recogniser heard the word begin and end unless asked.
    int paddingMs = 0;
    // Every border moved to the nearest rising zero crossing.
    bool zeroCross = false;
};

}  // namespace murmelix
