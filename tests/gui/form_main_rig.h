#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cmath>
#include <deque>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include "device/simulated_input_device.h"
#include "device/simulated_output_device.h"
#include "gui/form_main.h"

namespace murmelix::testing {

// The main window with its modal boxes answered from queues instead of shown.
class ScriptedFormMain : public TFormMain {
  public:
    using TFormMain::TFormMain;

    struct Shown {
        std::string caption;
        std::string text;
    };
    std::vector<Shown> messages;
    std::deque<MessageResult> answers;
    std::vector<std::string> prompts;
    std::deque<std::optional<std::string>> sessionTexts;
    std::vector<QUrl> opened;  // what was handed to the desktop
    bool desktopOpens = true;

    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon,
                             MessageButtons) override {
        messages.push_back({caption, text});
        if (answers.empty()) {
            return MessageResult::Ok;
        }
        const MessageResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // File dialogs: answered from a queue, cancelled when it is empty.
    std::deque<std::string> fileAnswers;
    std::deque<int> filterAnswers;  // the type chosen, where a dialog asks for it
    std::vector<FileDialogRequest> fileDialogs;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override {
        return nextFile(request);
    }
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override {
        return nextFile(request);
    }
    std::optional<std::string> nextFile(const FileDialogRequest& request) {
        fileDialogs.push_back(request);
        if (request.chosenFilter != nullptr && !filterAnswers.empty()) {
            *request.chosenFilter = filterAnswers.front();
            filterAnswers.pop_front();
        }
        if (fileAnswers.empty()) {
            return std::nullopt;
        }
        std::string answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> askText(const std::string& prompt, const std::string&) override {
        prompts.push_back(prompt);
        if (sessionTexts.empty()) {
            return std::nullopt;
        }
        auto text = sessionTexts.front();
        sessionTexts.pop_front();
        return text;
    }
    bool realDesktop = false;  // hand URLs to the desktop's xdg-open after all
    bool openUrl(const QUrl& url) override {
        opened.push_back(url);
        return realDesktop ? TFormMain::openUrl(url) : desktopOpens;
    }
    bool askRecordingParameters(RecordingParameters&) override { return false; }
    // Echo and count dialogs: answered from queues, cancelled when empty.
    std::deque<std::pair<int, int>> echoAnswers;
    std::deque<int> countAnswers;
    std::deque<FractalFieldTexts> fractalAnswers;
    std::optional<FractalFieldTexts> askFractalFormula() override {
        if (fractalAnswers.empty()) {
            return std::nullopt;
        }
        FractalFieldTexts texts = fractalAnswers.front();
        fractalAnswers.pop_front();
        return texts;
    }
    std::vector<int64_t> progress;
    bool askEchoParameters(int& delayMs, int& decayPercent) override {
        if (echoAnswers.empty()) {
            return false;
        }
        std::tie(delayMs, decayPercent) = echoAnswers.front();
        echoAnswers.pop_front();
        return true;
    }
    bool askWriteCount(int& count) override {
        if (countAnswers.empty()) {
            return false;
        }
        count = countAnswers.front();
        countAnswers.pop_front();
        return true;
    }
    bool cancelProgress = false;  // Cancel in the progress dialog
    bool showProgress(const std::string&, int64_t done, int64_t total) override {
        progress.push_back(done);
        return done >= total || !cancelProgress;
    }
};

// 10 s of a 200 Hz tone, 8000 Hz 16-bit mono, written as a plain WAV file.
inline void writeToneWav(const QString& path) {
    const uint32_t rate = 8000;
    const uint32_t frames = 80000;
    QByteArray bytes;
    const auto u32 = [&bytes](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    const auto u16 = [&bytes](uint16_t v) {
        bytes.append(static_cast<char>(v & 0xFF));
        bytes.append(static_cast<char>(v >> 8));
    };
    bytes.append("RIFF");
    u32(36 + frames * 2);
    bytes.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    bytes.append("data");
    u32(frames * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        u16(static_cast<uint16_t>(
            static_cast<int16_t>(8000 * std::sin(i * 2 * M_PI * 200 / rate))));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct Rig {
    QTemporaryDir folder;
    SimulatedOutputDevice output;
    SimulatedInputDevice recordInput;
    SimulatedInputDevice noiseInput;
    std::unique_ptr<ScriptedFormMain> form;
    // When set, the window lists its devices through this after it has been drawn.
    std::function<DeviceLists()> listDevices;
    struct Catalog : DeviceCatalog {
        Rig* rig = nullptr;
        DeviceLists list() override { return rig->listDevices(); }
    } catalog;

    // The files named are made in a fresh folder (WAV files as a tone) and given as
    // arguments; `ini`, when given, is the settings file the window starts with.
    explicit Rig(const QStringList& names = {"speech.wav"}, const QByteArray& ini = {}) {
        QStringList arguments;
        for (const QString& name : names) {
            const QString path = folder.filePath(name);
            if (name.endsWith(".wav", Qt::CaseInsensitive)) {
                writeToneWav(path);
            }
            arguments << path;
        }
        if (!ini.isEmpty()) {
            QFile file(settingsPath());
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(ini);
        }
        start(arguments);
    }
    // A new window on the same folder and settings file, as after a restart.
    void start(const QStringList& arguments = {}) {
        form.reset();
        TFormMain::StartOptions options;
        options.settingsPath = settingsPath().toStdString();
        options.outputDevices = {"Simulated output", "Second output"};
        options.inputDevices = {"Simulated input"};
        catalog.rig = this;
        options.catalog = listDevices ? &catalog : nullptr;
        form = std::make_unique<ScriptedFormMain>(Program::Devices{output, recordInput, noiseInput},
                                                  arguments, options);
        form->show();
        // The window opens its files and makes its dialogs once it has been drawn; a test of
        // what comes before lists the devices itself.
        if (!listDevices) {
            EXPECT_TRUE(QTest::qWaitFor([this] { return form->started(); }, 5000));
        }
    }
    QString settingsPath() const { return folder.filePath("murmelix.ini"); }
    Program& program() { return form->program(); }
    template <typename T = QObject>
    T* find(const char* name) {
        return form->findChild<T*>(name);
    }
    void click(const char* name) {
        QAbstractButton* button = find<QAbstractButton>(name);
        ASSERT_NE(button, nullptr) << name;
        ASSERT_TRUE(button->isEnabled()) << name;
        button->click();
    }
    void run(int milliseconds) {
        for (int i = 0; i < milliseconds; ++i) {
            output.advance(1);
            program().pumpDevices();
        }
    }
    bool drain() {
        for (int i = 0; i < 600000 && !program().idle(); ++i) {
            run(1);
        }
        return program().idle();
    }
};

}  // namespace murmelix::testing
