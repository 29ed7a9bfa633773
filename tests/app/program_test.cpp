#include "app/program.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/wav_reader.h"
#include "audio/wav_writer.h"
#include "device/simulated_input_device.h"
#include "device/simulated_output_device.h"
#include "support/scratch_folder.h"
#include "support/scripted_user_interface.h"
#include "support/sound_files.h"

namespace murmelix {
namespace {

using testing::ScratchFolder;
using testing::ScriptedUserInterface;

struct OpenedFiles : ProgramView {
    std::vector<std::string> paths;
    void openWithDesktop(const std::string& path) override { paths.push_back(path); }
};

struct ProgramRig {
    ScriptedUserInterface ui;
    SimulatedOutputDevice output;
    SimulatedInputDevice recordInput;
    SimulatedInputDevice noiseInput;
    OpenedFiles view;
    Program program{ui, {output, recordInput, noiseInput}, &view};
    ScratchFolder scratch;

    // A loaded one-second document and a session holding one sequence of two entries.
    void loadSequence() {
        AudioDocument words;
        words.format = WaveFormat::pcm(8000, 1, 16);
        words.data.assign(16000, 0);
        words.commit("");
        const std::string path = scratch.file("words.wav");
        ASSERT_EQ(WavWriter::writeDocument(path, words, ui), 0);
        ASSERT_EQ(program.OpenWav(path), 0);
        SEQUENCE sequence;
        sequence.dateTime = "2026-12-08 10:11:12";
        sequence.entries = {{0, 800, 1, 0, "", false}, {4000, 800, 2, 5, "", false}};
        program.session().appendSequence(sequence);
        program.session().wavFileName = path;
    }
};

// Every file dialog starts in its own remembered folder only while separate folders are on;
// the chosen file's folder is remembered either way.
TEST(ProgramTest, FileDialogsStartInTheirFolderOnlyWithSeparateFolders) {
    struct Case {
        const char* dialog;
        Folders::Kind folder;
    } cases[] = {
        {"open WAV", Folders::Kind::Wav},
        {"open session", Folders::Kind::Session},
        {"export", Folders::Kind::Export},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        for (const bool separate : {true, false}) {
            ProgramRig rig;
            rig.loadSequence();
            rig.program.folders().setSeparate(separate);
            rig.program.folders().remember(c.folder, "/remembered/");
            rig.ui.fileAnswers.push_back(std::string("/chosen/place/x.wav"));
            const std::string dialog = c.dialog;
            if (dialog == "open WAV") {
                rig.program.OpenWav({});
            } else if (dialog == "open session") {
                rig.program.sessionFiles().openSession();
            } else {
                rig.program.ExportSequence();
            }
            ASSERT_FALSE(rig.ui.fileDialogs.empty());
            EXPECT_EQ(rig.ui.fileDialogs[0].startFolder, separate ? "/remembered/" : "")
                << separate;
            EXPECT_EQ(rig.program.folders().remembered(c.folder), "/chosen/place/") << separate;
        }
    }
}

TEST(ProgramTest, EditorHandOffWritesBesideTheProgramOrInTheTemporaryFolder) {
    const std::filesystem::path before = std::filesystem::current_path();
    const ScratchFolder scratch;
    struct Case {
        std::filesystem::path folder;
        bool writable;
    } cases[] = {
        {scratch.path(), true}, {"/proc", false},  // refuses new files even to the superuser
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        ProgramRig rig;
        rig.loadSequence();
        ASSERT_EQ(::chdir(c.folder.c_str()), 0);
        const bool written = rig.program.EditSequence();
        std::filesystem::current_path(before);
        ASSERT_TRUE(written);
        ASSERT_EQ(rig.view.paths.size(), 1u);
        const std::filesystem::path expected =
            c.writable ? c.folder / "murmelix.wav"
                       : std::filesystem::temp_directory_path() / "murmelix.wav";
        const std::filesystem::path opened =
            c.writable ? c.folder / rig.view.paths[0] : std::filesystem::path(rig.view.paths[0]);
        EXPECT_EQ(opened, expected);
        AudioDocument exported;
        ASSERT_EQ(WavReader::readFile(expected.string(), exported, rig.ui), 0) << expected;
        EXPECT_EQ(exported.frameCount, 1600);
        EXPECT_EQ(exported.cueCount(), 2);
        EXPECT_TRUE(rig.ui.messages.empty());
    }
}

// Names given on the command line start from the current folder; what the program keeps
// and shows must not.
TEST(ProgramTest, FilesNamedRelativeToTheCurrentFolderAreKeptWithTheirFullPath) {
    const std::filesystem::path before = std::filesystem::current_path();
    const ScratchFolder scratch;
    ProgramRig rig;
    rig.loadSequence();
    AudioDocument words = rig.program.document();
    ASSERT_EQ(WavWriter::writeDocument(scratch.file("words.wav"), words, rig.ui), 0);
    ASSERT_FALSE(rig.program.CloseDocument());
    rig.program.session().clearSequences();
    rig.program.session().wavFileName.clear();
    ASSERT_EQ(::chdir(scratch.path().c_str()), 0);
    const int result = rig.program.OpenWav("./sub/../words.wav");
    rig.program.OpenByExtension("./noise.pcm");
    rig.program.OpenByExtension("new.oqt");
    std::filesystem::current_path(before);
    ASSERT_EQ(result, 0) << (rig.ui.messages.empty() ? "" : rig.ui.messages[0].text);
    EXPECT_EQ(rig.program.document().fileName, scratch.file("words.wav"));
    EXPECT_EQ(rig.program.folders().remembered(Folders::Kind::Wav), scratch.path().string() + "/");
    EXPECT_EQ(rig.program.source().fileName(), scratch.file("noise.pcm"));
    EXPECT_EQ(rig.program.session().sessionFileName, scratch.file("new.oqt"));
}

// Sound files other than the program's own WAV files come in by import: a new document
// without a name of its own that says where it came from, unchanged until edited (its
// source is still there); a WAV file the reader refuses is offered for import in one
// question, without the reader's advice to choose another file.
TEST(ProgramTest, SoundFilesAreImportedIntoANewUnnamedDocument) {
    struct Case {
        const char* name;
        const char* file;
        int format;                          // 0: not a sound file
        std::vector<MessageResult> answers;  // to the messages, in turn
        bool cancel;                         // Cancel in the progress dialog
        bool imported;
        std::vector<std::string> captions;  // of the messages shown
    } cases[] = {
        {"FLAC opened", "x.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, {}, false, true, {}},
        {"refused WAV, import accepted",
         "f.wav",
         SF_FORMAT_WAV | SF_FORMAT_FLOAT,
         {MessageResult::Yes},
         false,
         true,
         {"Import"}},
        {"refused WAV, import declined",
         "f.wav",
         SF_FORMAT_WAV | SF_FORMAT_FLOAT,
         {MessageResult::No},
         false,
         false,
         {"Import"}},
        {"24-bit WAV",
         "d.wav",
         SF_FORMAT_WAV | SF_FORMAT_PCM_24,
         {MessageResult::Yes},
         false,
         true,
         {"Import"}},
        {"cancelled", "x.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, {}, true, false, {}},
        {"no sound file", "junk.flac", 0, {}, false, false, {"Error"}},
        {"neither reader knows it", "junk.wav", 0, {}, false, false, {"Error", "Error"}},
    };
    struct CancellingUi : ScriptedUserInterface {
        bool cancel = false;
        bool showProgress(const std::string&, int64_t done, int64_t total) override {
            return done >= total || !cancel;
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchFolder scratch;
        const std::string path = scratch.file(c.file);
        if (c.format != 0) {
            ASSERT_TRUE(testing::writeSndfile(path, c.format, 2, 8000, 400000));
        } else {
            std::ofstream(path) << "not a sound";
        }
        CancellingUi ui;
        ui.cancel = c.cancel;
        ui.answers.assign(c.answers.begin(), c.answers.end());
        SimulatedOutputDevice output;
        SimulatedInputDevice input;
        Program program{ui, {output, input, input}};
        program.OpenByExtension(path);
        std::vector<std::string> captions;
        for (const auto& shown : ui.messages) {
            captions.push_back(shown.caption);
        }
        EXPECT_EQ(captions, c.captions);
        if (c.format == 0) {
            EXPECT_NE(ui.messages.back().text.find(c.file), std::string::npos);
        }
        ASSERT_EQ(program.document().loaded, c.imported);
        if (!c.imported) {
            continue;
        }
        EXPECT_FALSE(program.document().changed);
        EXPECT_EQ(program.document().fileName, "");
        EXPECT_EQ(program.document().frameCount, 400000);
        EXPECT_NE(ui.caption().find(std::string(c.file) + " (Imported: "), std::string::npos);
        EXPECT_EQ(ui.status[0].rfind("Imported: ", 0), 0u) << ui.status[0];
        ui.fileAnswers.push_back(std::nullopt);
        EXPECT_TRUE(program.SaveDocument(false));
        // The source's own name, or beside it when a file has that name already.
        std::filesystem::path proposed = std::filesystem::path(path).replace_extension(".wav");
        if (std::filesystem::exists(proposed)) {
            proposed.replace_filename(proposed.stem().string() + " (imported).wav");
        }
        EXPECT_EQ(ui.fileDialogs.back().presetName, proposed.string());
        const size_t shown = ui.messages.size();
        EXPECT_FALSE(program.CloseDocument());
        EXPECT_EQ(ui.messages.size(), shown) << "an untouched import closes without a question";
    }
}

// Transcription hears the sequence as it sounded (silence here: no words, but heard) and
// leaves the session to be saved; the table goes where the person says.
TEST(ProgramTest, TranscriptionNotesTheSequenceAndTheTableIsWritten) {
    ProgramRig rig;
    EXPECT_TRUE(rig.program.TranscribeSequences(true).failed());
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    rig.loadSequence();
    rig.program.session().changed = false;
    ASSERT_TRUE(rig.program.TranscribeSequences(false).ok());
    EXPECT_EQ(rig.program.session().current()->machineWords, std::vector<MachineWord>{});
    EXPECT_TRUE(rig.program.session().changed);

    const std::string table = rig.scratch.file("t.csv");
    rig.ui.fileAnswers.push_back(table);
    ASSERT_TRUE(rig.program.ExportSessionTable());
    std::ifstream in(table);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
    EXPECT_EQ(rig.ui.messages.size(), 1u);
}

}  // namespace
}  // namespace murmelix
