#include "random/random_source.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include <unistd.h>

#include "base/absolute_path.h"
#include "base/byte_order.h"
#include "base/input_file.h"
#include "base/path_text.h"
#include "base/text_format.h"

namespace murmelix {

namespace {

constexpr int kComparisonBits = 31;

WaveFormat noiseFormat(uint32_t rate) {
    return WaveFormat::pcm(rate, 1, 16);
}

// Absolute-mode numbers stay within 0 .. bound - 1 whatever the scaled value was.
int32_t limitToBound(long double scaled, int32_t bound) {
    if (!(scaled > 0)) {
        return 0;
    }
    if (scaled >= bound) {
        return bound - 1;
    }
    return static_cast<int32_t>(scaled);  // truncation toward zero
}

}  // namespace

RandomSource::RandomSource(UserInterface& ui, NoiseInput& input, RandomSourceListener* listener,
                           Folders* folders)
    : ui_(ui),
      input_(input),
      listener_(listener != nullptr ? *listener : noListener_),
      folders_(folders != nullptr ? *folders : ownFolders_) {
    pseudo_.seedFromClock();
}

int32_t RandomSource::NextRandomNumber(int32_t bound) {
    if (halted_) {
        return 0;
    }
    bound = std::max(bound, 1);
    if (needsRefill() && !refill()) {
        return 0;
    }
    int32_t number = 0;
    switch (kind_) {
        case RandomSourceKind::Pseudo:
            number = drawPseudo(bound);
            break;
        case RandomSourceKind::Fractal:
            number =
                useAbsolute_ ? drawFractalAbsolute(bound) : drawComparison(fractalBits(), bound);
            break;
        case RandomSourceKind::SoundCard:
        case RandomSourceKind::File:
            number = useAbsolute_ ? drawNoiseAbsolute(bound) : drawComparison(noiseBits(), bound);
            break;
    }
    listener_.drawLogged(std::string_view(logText_, logTextLength_));
    return number;
}

void RandomSource::DiscardNoise() {
    noise_.discard();
}

void RandomSource::beginRun() {
    halted_ = false;
    if (kind_ == RandomSourceKind::SoundCard && recordNew_) {
        DiscardNoise();
    }
}

// ----- draws -----

int32_t RandomSource::drawPseudo(int32_t bound) {
    const int32_t value = pseudo_.next();
    setLogText(value);
    return value % bound;
}

int32_t RandomSource::drawFractalAbsolute(int32_t bound) {
    const long double x = nextFractalValue();
    logTextLength_ = NumberFormat::formatTo(x, logText_);
    if (!std::isfinite(x)) {
        return 0;
    }
    return limitToBound(static_cast<long double>(bound) * x, bound);
}

int32_t RandomSource::drawNoiseAbsolute(int32_t bound) {
    const int32_t sample = noise_.next();
    setLogText(sample);
    const int32_t span = noise_.maximum() - noise_.minimum();
    if (span == 0) {
        return 0;
    }
    const double scaled =
        static_cast<double>(sample - noise_.minimum()) * bound / static_cast<double>(span);
    return limitToBound(scaled, bound);
}

int32_t RandomSource::drawComparison(int32_t bits, int32_t bound) {
    setLogText(bits);
    return bits % bound;  // not corrected for bias; the log keeps the raw bits anyway
}

int32_t RandomSource::fractalBits() {
    int32_t bits = 0;
    for (int i = 0; i < kComparisonBits; ++i) {
        const long double value = nextFractalValue();
        bits = 2 * bits + (value > previousValue_ ? 1 : 0);
        previousValue_ = value;
    }
    return bits;
}

int32_t RandomSource::noiseBits() {
    int32_t bits = 0;
    for (int i = 0; i < kComparisonBits; ++i) {
        const int32_t sample = noise_.next();
        bits = 2 * bits + (sample > previousSample_ ? 1 : 0);
        previousSample_ = sample;
    }
    noise_.skip();  // a number takes a whole group of 32 samples
    return bits;
}

long double RandomSource::nextFractalValue() {
    population_ = (growthConstant_ * population_) * (1 - population_);
    return population_;
}

void RandomSource::setLogText(int64_t value) {
    const auto result = std::to_chars(logText_, logText_ + sizeof logText_, value);
    logTextLength_ = static_cast<size_t>(result.ptr - logText_);
}

// ----- refills -----

bool RandomSource::needsRefill() const {
    if (kind_ != RandomSourceKind::SoundCard && kind_ != RandomSourceKind::File) {
        return false;
    }
    // A comparison draw needs a whole group; after absolute draws the fill may end inside
    // one, and reading on would run past the fill into stale samples.
    return noise_.remaining() < (useAbsolute_ ? 1 : NoiseBuffer::kGroup);
}

bool RandomSource::refill() {
    return kind_ == RandomSourceKind::SoundCard ? refillFromSoundCard() : refillFromFile();
}

bool RandomSource::refillFromSoundCard() {
    const uint32_t documentRate = document_ != nullptr ? document_->format.samplesPerSec : 0;
    uint32_t rate = (recordBestRate_ || documentRate == 0) ? kBestSampleRate : documentRate;
    std::string error = input_.queryFormat(inputDevice_, noiseFormat(rate));
    if (!error.empty()) {
        rate = documentRate;
        error = input_.queryFormat(inputDevice_, noiseFormat(rate));
    }
    if (error.empty()) {
        error = input_.start(inputDevice_, noiseFormat(rate), incoming_);
    }
    if (!error.empty()) {
        return fail("Record In Error", error, MessageIcon::Error, nullptr);
    }
    const std::string caption = ui_.caption();
    ui_.setCaption(formatText("Recording (%u Hz, 16 bit) ...", rate));
    ui_.processEvents();
    const NoiseInput::Recorded recorded = input_.wait(recordTimeLimit_);
    ui_.setCaption(caption);
    input_.finish();
    const int32_t arrived =
        recorded.timedOut ? 0 : std::clamp(recorded.samples, 0, NoiseBuffer::kCapacity);
    if (arrived < NoiseBuffer::kGroup) {
        return fail("Error", "Couldn't read any wave data from the sound card.", MessageIcon::Error,
                    nullptr);
    }
    noise_.fill(std::span<const int16_t>(incoming_.data(), static_cast<size_t>(arrived)));
    return true;
}

bool RandomSource::refillFromFile() {
    int openError = 0;
    FileHandle file = openSourceFile(openError);
    if (!file) {
        std::string message = formatText("Can't open random source file '%s'.", fileName_.c_str());
        if (openError == InputFile::kNotRegularFile) {
            message += "\nIt is neither a regular file nor a device.";
        }
        return fail("Error", message, MessageIcon::Error, nullptr);
    }
    int32_t count = readFileBlock(file.get());
    while (count < NoiseBuffer::kGroup) {
        if (filePosition_ == 0) {
            return fail("Error",
                        formatText("Can't read random source file '%s'.", fileName_.c_str()),
                        MessageIcon::Error, &file);
        }
        if (!loopFile_) {
            return fail("Info",
                        "End of random source file. Playback has been stopped.\n\nTip: To enable "
                        "automatic restart, check 'Extras > Random source > Loop file'.",
                        MessageIcon::Information, &file);
        }
        filePosition_ = 0;
        count = readFileBlock(file.get());
    }
    file.reset();
    noise_.fill(std::span<const int16_t>(incoming_.data(), static_cast<size_t>(count)));
    return true;
}

// Regular files, and devices such as /dev/urandom as endless sources. A FIFO is refused:
// it cannot be read again from the position the next refill asks for, and opening one
// without a writer would wait forever.
RandomSource::FileHandle RandomSource::openSourceFile(int& error) const {
    InputFile input;
    if (!input.open(fileName_, InputFile::Accept::RegularFilesAndDevices)) {
        error = input.error();
        return nullptr;
    }
    const int fd = input.release();
    FileHandle file(::fdopen(fd, "rb"));
    if (!file) {
        ::close(fd);
    }
    return file;
}

// Reads up to one buffer of samples at the file position into incoming_. The position
// moves on only when the block is usable, so a failed refill is tried again unchanged.
int32_t RandomSource::readFileBlock(std::FILE* file) {
    if (::fseeko(file, static_cast<off_t>(filePosition_), SEEK_SET) != 0) {
        return 0;
    }
    const size_t bytes = std::fread(fileBytes_.data(), 1, fileBytes_.size(), file);
    const int32_t count = static_cast<int32_t>(bytes / 2);
    for (int32_t i = 0; i < count; ++i) {
        incoming_[static_cast<size_t>(i)] =
            static_cast<int16_t>(loadU16LE(fileBytes_.data() + 2 * static_cast<size_t>(i)));
    }
    if (count >= NoiseBuffer::kGroup) {
        filePosition_ += static_cast<int64_t>(bytes);  // an odd last byte is passed over too
    }
    return count;
}

// A failed refill halts before anything else, so nothing drawn in the meantime can act on
// the half-done refill; the message comes last, when the file is closed again.
bool RandomSource::fail(const char* caption, const std::string& text, MessageIcon icon,
                        FileHandle* file) {
    halted_ = true;
    listener_.sourceHalted();
    if (file != nullptr) {
        file->reset();
    }
    ui_.messageBox(caption, text, icon, MessageButtons::Ok);
    return false;
}

// ----- selection -----

void RandomSource::SelectRandomSource(int32_t kind, const std::string& fileName,
                                      bool askForParameters) {
    if (!fileName.empty()) {
        fileName_ = AbsolutePath::of(fileName);
        presetFileName_ = fileName_;
    }
    switch (kind) {
        case static_cast<int32_t>(RandomSourceKind::Pseudo):
            kind_ = RandomSourceKind::Pseudo;
            break;
        case static_cast<int32_t>(RandomSourceKind::SoundCard):
            DiscardNoise();
            kind_ = RandomSourceKind::SoundCard;
            break;
        case static_cast<int32_t>(RandomSourceKind::File):
            if (fileName.empty()) {
                chooseFile();
            } else {
                useFile();
            }
            break;
        case static_cast<int32_t>(RandomSourceKind::Fractal):
            if (!askForParameters || askFractalParameters()) {
                kind_ = RandomSourceKind::Fractal;
            }
            break;
        default:
            break;  // a damaged settings file: keep what is selected
    }
}

void RandomSource::useFile() {
    filePosition_ = 0;
    DiscardNoise();
    kind_ = RandomSourceKind::File;
}

void RandomSource::chooseFile() {
    FileDialogRequest request;
    request.title = "Open random source file...";
    request.filter = "PCM Raw Data (*.pcm)|*.pcm|All Files (*.*)|*.*";
    request.defaultExtension = "*.pcm";
    request.startFolder = folders_.startFolder(Folders::Kind::RandomSource);
    request.presetName = presetFileName_;
    request.mustExist = true;
    const std::optional<std::string> chosen = ui_.openFileDialog(request);
    if (!chosen) {
        return;
    }
    folders_.rememberFolderOf(Folders::Kind::RandomSource, *chosen);
    fileName_ = *chosen;
    presetFileName_ = *chosen;
    useFile();
}

bool RandomSource::askFractalParameters() {
    const std::optional<FractalFieldTexts> texts = ui_.askFractalFormula();
    if (!texts) {
        return false;
    }
    // A field that does not read as a number leaves its value as it was, without a word.
    if (const auto r = NumberFormat::parse(texts->growthConstant)) {
        growthConstant_ = *r;
    }
    if (const auto x = NumberFormat::parse(texts->initPopulation)) {
        population_ = *x;
    }
    return true;
}

std::string RandomSource::fileItemCaption() const {
    if (fileName_.empty()) {
        return "F&ile...";
    }
    return "F&ile [" + PathText::fileNameOf(fileName_) + "] ...";
}

}  // namespace murmelix
