#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/user_interface.h"
#include "session/session.h"
#include "session/session_host.h"
#include "session/session_panel_text.h"

namespace murmelix {

// What the user and the transport do with a session apart from its file: recording a
// sequence while a stream is generated, moving between sequences, typing question and
// answer, and what the panel and the export dialog are given to show. UI thread.
class SessionWorkflow {
  public:
    static constexpr const char* kQuestionPrompt = "Please enter your comment or question:";
    // Without a host, the workflow acts as in a program with nothing loaded or shown.
    SessionWorkflow(Session& session, UserInterface& ui, SessionHost* host = nullptr);
    SessionWorkflow(const SessionWorkflow&) = delete;
    SessionWorkflow& operator=(const SessionWorkflow&) = delete;

    void toggleRecordMode();

    // A generation starts with record mode on: appends a sequence stamped now, asks for the
    // question (Cancel keeps the sequence with an empty one) and starts recording entries.
    void beginSequence();
    // A segment was queued while recording: linked after the entry tail of the last
    // sequence. Ignored (false) unless recording is active.
    bool appendEntry(int32_t start, int32_t length, int32_t number, const std::string& label,
                     bool fade, int32_t index);
    // The last buffer of a stopped generation came back and `heardCount` segments had
    // sounded (the output says which; when a stop cuts a full ring short, that is all but
    // the 19 queued behind the one sounding): keeps the entries of those; a sequence left
    // without any is removed again. Ignored unless recording is active.
    void finishRecording(int32_t heardCount);

    bool previous();
    bool next();

    // An edit's text changed (typing, or the panel showing a sequence). Stored and marked
    // changed only when it differs from what the current sequence holds.
    void questionChanged(const std::string& text);
    void answerChanged(const std::string& text);

    // Name the export dialog starts with: the session file name (or, without one, the
    // first sequence's date in file name form) without folder and extension, then
    // "-%.3d.wav" with the current sequence's number. Empty without a sequence.
    std::string exportNameProposal() const;
    // The current sequence's non-empty labels joined without separator; none without a
    // sequence.
    std::optional<std::string> cueLabels() const;
    // The current sequence explained against the loaded document's regions (see
    // SessionPanelText::explanation).
    std::vector<std::pair<std::string, std::string>> explanation() const;
    SessionPanelText panelText() const;

  private:
    bool storeText(std::string SEQUENCE::*field, const std::string& text);
    void refreshAll() const;

    Session& session_;
    UserInterface& ui_;
    SessionHost noHost_;
    SessionHost& host_;
};

}  // namespace murmelix
