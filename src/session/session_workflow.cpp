#include "session/session_workflow.h"

#include <algorithm>
#include <utility>

#include "base/path_text.h"
#include "base/text_format.h"
#include "session/sequence_explanation.h"
#include "session/session_date_time.h"

namespace murmelix {

SessionWorkflow::SessionWorkflow(Session& session, UserInterface& ui, SessionHost* host)
    : session_(session), ui_(ui), host_(host != nullptr ? *host : noHost_) {}

void SessionWorkflow::refreshAll() const {
    host_.refreshSessionPanel();
    host_.refreshCommands();
}

void SessionWorkflow::toggleRecordMode() {
    session_.recordMode = !session_.recordMode;
    refreshAll();
}

void SessionWorkflow::beginSequence() {
    if (session_.wavFileName.empty()) {
        session_.wavFileName = host_.documentFileName();
    }
    SEQUENCE sequence;
    sequence.dateTime = SessionDateTime::fromTime(host_.now()).storedForm();
    sequence.madeWith = host_.generationSettings();
    SEQUENCE& added = session_.appendSequence(std::move(sequence));
    session_.changed = true;
    host_.refreshSessionPanel();

    const auto question = ui_.askText(kQuestionPrompt, std::string());
    if (question && *question != added.question) {
        added.question = *question;
        session_.changed = true;
        host_.refreshSessionPanel();
    }
    session_.recordingActive = true;
}

bool SessionWorkflow::appendEntry(int32_t start, int32_t length, int32_t number,
                                  const std::string& label, bool fade, int32_t index) {
    if (!session_.recordingActive ||
        !session_.appendEntry(SEGMENT{start, length, number, index, label, fade})) {
        return false;
    }
    session_.changed = true;
    return true;
}

void SessionWorkflow::finishRecording(int32_t heardCount) {
    if (!session_.recordingActive) {
        return;
    }
    session_.recordingActive = false;
    SEQUENCE* last = session_.last();
    if (last != nullptr) {
        const int64_t heard = std::max<int64_t>(heardCount, 0);
        if (static_cast<int64_t>(last->entries.size()) > heard) {
            last->entries.resize(static_cast<size_t>(heard));
        }
        // Also when nothing was heard at all (fewer buffers queued than the ring holds):
        // a sequence without entries could neither be played nor exported.
        if (last->entries.empty()) {
            session_.removeLastSequence();
            if (session_.empty()) {
                session_.wavFileName.clear();
            }
        }
    }
    // The transport refreshed the commands before the trim; a removed sequence changes
    // what they may offer.
    refreshAll();
}

bool SessionWorkflow::previous() {
    if (!session_.previous()) {
        return false;
    }
    refreshAll();
    return true;
}

bool SessionWorkflow::next() {
    if (!session_.next()) {
        return false;
    }
    refreshAll();
    return true;
}

bool SessionWorkflow::storeText(std::string SEQUENCE::*field, const std::string& text) {
    SEQUENCE* current = session_.current();
    if (current == nullptr || current->*field == text) {
        return false;
    }
    current->*field = text;
    session_.changed = true;
    refreshAll();
    return true;
}

void SessionWorkflow::questionChanged(const std::string& text) {
    storeText(&SEQUENCE::question, text);
}

void SessionWorkflow::answerChanged(const std::string& text) {
    storeText(&SEQUENCE::answer, text);
}

std::string SessionWorkflow::exportNameProposal() const {
    const SEQUENCE* first = session_.first();
    if (first == nullptr) {
        return {};
    }
    std::string base = session_.sessionFileName.empty()
                           ? SessionDateTime::fileNameFormOf(first->dateTime)
                           : session_.sessionFileName;
    base = PathText::fileNameOf(base);
    const auto dot = base.find_last_of('.');
    if (dot != std::string::npos) {
        base.erase(dot);
    }
    return base + formatText("-%.3d.wav", session_.currentIndex() + 1);
}

std::optional<std::string> SessionWorkflow::cueLabels() const {
    const SEQUENCE* current = session_.current();
    if (current == nullptr) {
        return std::nullopt;
    }
    std::string line;
    for (const SEGMENT& entry : current->entries) {
        line += entry.label;
    }
    return line;
}

SessionPanelText SessionWorkflow::panelText() const {
    SessionPanelText text;
    text.recordMode = session_.recordMode ? "Recording" : "";
    text.sequence = session_.count() < 1
                        ? std::string("0/0")
                        : formatText("%d/%d", session_.currentIndex() + 1, session_.count());
    text.sessionFile = PathText::fileNameOf(session_.sessionFileName);
    if (const SEQUENCE* current = session_.current()) {
        text.dateTime = SessionDateTime::displayFormOf(current->dateTime);
        text.question = current->question;
        text.answer = current->answer;
        text.cueLabels = cueLabels();
        text.explanation = explanation();
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> SessionWorkflow::explanation() const {
    const SEQUENCE* current = session_.current();
    if (current == nullptr) {
        return {};
    }
    const std::vector<CuePoint>* regions = host_.documentRegions();
    const SequenceExplanation explained =
        SequenceExplanation::of(*current, regions != nullptr ? *regions : std::vector<CuePoint>{});
    return explained.lines(*current, regions != nullptr ? "the recording has no labelled regions"
                                                        : "the recording is not loaded");
}

}  // namespace murmelix
