#pragma once

#include "audio/audio_document.h"

namespace murmelix {

// The three effects on the document's samples. Each works on all whole frames, on each
// channel separately, in place and without undo; cue points are untouched. Documents whose
// width is neither 8 nor 16 bits have no readable samples, so their samples stay as they
// are. Refreshing the windows afterwards is the caller's job.
//
// The loops are specialised per sample width (one width test per call, not per sample):
// each runs well above 100 M samples per second.
class SignalEffects {
  public:
    static constexpr int kMaxEchoDelayMs = 1000;
    static constexpr int kMaxEchoDecayPercent = 100;

    // Mirrors the frames in time; the channels keep their sides. Frames are counted back
    // from the frame that ends at the last data byte, so a trailing partial frame stays
    // with the data's end. Marks the document changed.
    static void reverse(AudioDocument& doc);

    // A recursive echo: every frame from d = fileSampleRate * delayMs / 1000 on gets d
    // frames earlier (already echoed) times decayPercent / 100 added, clipped to the sample
    // range. delayMs is held to 0..1000 and decayPercent to 0..100, the dialog's ranges.
    // Marks the document changed.
    static void echo(AudioDocument& doc, int delayMs, int decayPercent);

    // Scales so that the largest magnitude reaches the width's maximum (127 or 32767).
    // Silence and an empty document stay as they are and unchanged; otherwise marks the
    // document changed. Gives whether the samples were scaled.
    static bool normalize(AudioDocument& doc);
};

}  // namespace murmelix
