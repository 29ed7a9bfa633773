#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/user_interface.h"

namespace murmelix::testing {

// A UserInterface for tests: records every message box and dialog, and answers from
// queues the test fills. An empty answer queue gives the box's first button (Ok, Yes,
// Retry) for messages and "cancelled" for file dialogs.
class ScriptedUserInterface : public UserInterface {
  public:
    struct Shown {
        std::string caption;
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
    };

    std::vector<Shown> messages;
    std::deque<MessageResult> answers;
    std::vector<FileDialogRequest> fileDialogs;
    std::deque<std::optional<std::string>> fileAnswers;
    std::vector<std::string> captions;  // every caption set, in order
    std::vector<std::string> titles;    // every application title set, in order
    std::string status[3];
    std::vector<RecordingParameters> recordingDialogs;  // what each dialog was preset with
    std::deque<std::optional<RecordingParameters>> recordingAnswers;  // empty: cancelled
    // The fractal formula dialog's answers; without one it takes the formula as it stands.
    std::deque<std::optional<FractalFieldTexts>> fractalAnswers;
    int fractalAsks = 0;

    std::optional<FractalFieldTexts> askFractalFormula() override {
        ++fractalAsks;
        if (fractalAnswers.empty()) {
            return UserInterface::askFractalFormula();
        }
        const auto answer = fractalAnswers.front();
        fractalAnswers.pop_front();
        return answer;
    }

    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override {
        messages.push_back({caption, text, icon, buttons});
        if (!answers.empty()) {
            const MessageResult answer = answers.front();
            answers.pop_front();
            return answer;
        }
        switch (buttons) {
            case MessageButtons::YesNo:
            case MessageButtons::YesNoCancel:
                return MessageResult::Yes;
            case MessageButtons::RetryCancel:
                return MessageResult::Retry;
            default:
                return MessageResult::Ok;
        }
    }

    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override {
        return nextFileAnswer(request);
    }
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override {
        return nextFileAnswer(request);
    }

    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override {
        caption_ = text;
        captions.push_back(text);
    }

    void setApplicationTitle(const std::string& text) override { titles.push_back(text); }
    void setStatusText(int panel, const std::string& text) override {
        if (panel >= 0 && panel < 3) {
            status[panel] = text;
        }
    }
    bool askRecordingParameters(RecordingParameters& parameters) override {
        recordingDialogs.push_back(parameters);
        if (recordingAnswers.empty() || !recordingAnswers.front()) {
            if (!recordingAnswers.empty()) {
                recordingAnswers.pop_front();
            }
            return false;
        }
        parameters = *recordingAnswers.front();
        recordingAnswers.pop_front();
        return true;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) {
            out.push_back(m.text);
        }
        return out;
    }

  private:
    std::optional<std::string> nextFileAnswer(const FileDialogRequest& request) {
        fileDialogs.push_back(request);
        if (fileAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

    std::string caption_ = "Murmelix";
};

}  // namespace murmelix::testing
