#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "audio/audio_document.h"
#include "base/folders.h"
#include "base/user_interface.h"
#include "random/noise_buffer.h"
#include "random/noise_input.h"
#include "random/number_format.h"
#include "random/pseudo_generator.h"
#include "random/random_source_listener.h"

namespace murmelix {

// The value is what the settings file stores for the selected kind.
enum class RandomSourceKind : int32_t { Pseudo = 0, SoundCard = 1, File = 2, Fractal = 3 };

// Every random number the program uses comes from here: one draw operation over four
// kinds of source (the pseudo generator, the logistic map, sound-card noise and a file of
// raw samples). The program owns exactly one; all of it runs on the UI thread, and a
// sound-card refill holds that thread until the recording is in.
//
// Fractal and noise sources have two modes: absolute (the value itself, scaled to the
// bound) and comparison (31 bits, each telling whether the next value rose).
class RandomSource {
  public:
    static constexpr uint32_t kBestSampleRate = 44100;
    // A sound card that never fills the buffer must not freeze the program.
    static constexpr std::chrono::milliseconds kRecordTimeLimit{5000};

    // The listener hears every draw's log text and a failed refill; the fractal formula
    // dialog is the user interface's.
    // Without folders of the program's, the source keeps its own.
    RandomSource(UserInterface& ui, NoiseInput& input, RandomSourceListener* listener = nullptr,
                 Folders* folders = nullptr);
    RandomSource(const RandomSource&) = delete;
    RandomSource& operator=(const RandomSource&) = delete;

    // A number from 0 to bound - 1 (bounds below 1 count as 1). Returns 0 without touching
    // anything while halted, and 0 when a refill fails (which halts). Every other draw
    // hands its log text to the log sink.
    int32_t NextRandomNumber(int32_t bound);
    // kind 0 to 3; other values change nothing. An empty file name for kind 2 asks for the
    // file; askForParameters for kind 3 shows the fractal formula dialog.
    void SelectRandomSource(int32_t kind, const std::string& fileName, bool askForParameters);
    // The next sound-card or file draw starts with a fresh fill.
    void DiscardNoise();
    // What the start of a generation run does here: the halt flag is cleared and, with the
    // sound card and "Record new", the noise left from earlier runs is thrown away.
    void beginRun();

    // Set by a failing refill; the transport clears it when it starts a run.
    bool halted() const { return halted_; }
    void setHalted(bool halted) { halted_ = halted; }

    // The loaded document's format gives the recording rate without "Best sample rate".
    void setDocument(const AudioDocument* document) { document_ = document; }
    void setInputDevice(int device) { inputDevice_ = device; }
    int inputDevice() const { return inputDevice_; }
    void setRecordTimeLimit(std::chrono::milliseconds limit) { recordTimeLimit_ = limit; }

    // What the random-source menu shows.
    RandomSourceKind kind() const { return kind_; }
    const std::string& fileName() const { return fileName_; }
    std::string fileItemCaption() const;
    bool useAbsolute() const { return useAbsolute_; }
    void setUseAbsolute(bool on) { useAbsolute_ = on; }
    bool recordBestRate() const { return recordBestRate_; }
    void setRecordBestRate(bool on) { recordBestRate_ = on; }
    bool recordNew() const { return recordNew_; }
    void setRecordNew(bool on) { recordNew_ = on; }
    bool loopFile() const { return loopFile_; }
    void setLoopFile(bool on) { loopFile_ = on; }

    // The folder the file dialog starts in while separate folders are used, and the
    // dialog's preset name; both follow every file chosen.
    Folders& folders() { return folders_; }
    const std::string& presetFileName() const { return presetFileName_; }

    long double growthConstant() const { return growthConstant_; }
    void setGrowthConstant(long double r) { growthConstant_ = r; }
    long double population() const { return population_; }
    void setPopulation(long double x) { population_ = x; }
    PseudoGenerator& pseudoGenerator() { return pseudo_; }
    const PseudoGenerator& pseudoGenerator() const { return pseudo_; }

    int64_t filePosition() const { return filePosition_; }
    const NoiseBuffer& noise() const { return noise_; }
    int32_t previousSample() const { return previousSample_; }
    long double previousValue() const { return previousValue_; }

  private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

    bool needsRefill() const;
    bool refill();
    bool refillFromSoundCard();
    bool refillFromFile();
    FileHandle openSourceFile(int& error) const;
    int32_t readFileBlock(std::FILE* file);
    bool fail(const char* caption, const std::string& text, MessageIcon icon, FileHandle* file);

    void useFile();
    void chooseFile();
    bool askFractalParameters();

    int32_t drawPseudo(int32_t bound);
    int32_t drawFractalAbsolute(int32_t bound);
    int32_t drawNoiseAbsolute(int32_t bound);
    int32_t drawComparison(int32_t bits, int32_t bound);
    int32_t fractalBits();
    int32_t noiseBits();
    long double nextFractalValue();
    void setLogText(int64_t value);

    UserInterface& ui_;
    NoiseInput& input_;
    RandomSourceListener noListener_;
    RandomSourceListener& listener_;
    Folders ownFolders_;
    Folders& folders_;
    const AudioDocument* document_ = nullptr;
    int inputDevice_ = -1;
    std::chrono::milliseconds recordTimeLimit_ = kRecordTimeLimit;

    RandomSourceKind kind_ = RandomSourceKind::Pseudo;
    std::string fileName_;
    std::string presetFileName_;
    bool useAbsolute_ = false;
    bool recordBestRate_ = true;
    bool recordNew_ = true;
    bool loopFile_ = true;
    bool halted_ = false;

    int64_t filePosition_ = 0;
    NoiseBuffer noise_;
    // A refill lands here first, so a failed one leaves the current fill as it was.
    std::array<int16_t, NoiseBuffer::kCapacity> incoming_{};
    std::array<uint8_t, NoiseBuffer::kCapacity * 2> fileBytes_{};
    int32_t previousSample_ = 0;

    // The settings file keeps these in double precision, so a run starts from the doubles
    // nearest the defaults, not from the exact decimals.
    long double growthConstant_ = static_cast<double>(3.8);
    long double population_ = static_cast<double>(0.5);
    long double previousValue_ = 0;
    PseudoGenerator pseudo_;

    char logText_[NumberFormat::kMaxLength] = {};
    size_t logTextLength_ = 0;
};

}  // namespace murmelix
