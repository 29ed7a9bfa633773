#include "labels/cue_editor.h"

#include <algorithm>

#include "audio/cue_text.h"
#include "audio/zero_crossing.h"
#include "labels/cue_identifiers.h"

namespace murmelix {

void CueEditor::reset(std::vector<CuePoint> cues, int64_t frameCount) {
    cues_ = std::move(cues);
    frameCount_ = frameCount;
    steps_.clear();
    undoCount_ = 0;
    ++revision_;
}

int64_t CueEditor::endOf(const CuePoint& cue) const {
    if (cue.length == 0) {
        return frameCount_;
    }
    return std::min<int64_t>(static_cast<int64_t>(cue.position) + cue.length, frameCount_);
}

Result CueEditor::checkIndex(size_t index) const {
    if (index >= cues_.size()) {
        return Result::failure("There is no cue region " + std::to_string(index + 1) + ".");
    }
    return Result::success();
}

Result CueEditor::addRegion(const AudioDocument& doc, int64_t start, int64_t end,
                            const std::string& label, bool snapToZeroCrossings, size_t* index) {
    if (snapToZeroCrossings) {
        start = ZeroCrossing::next(doc, start);
        end = end >= frameCount_ ? frameCount_ : ZeroCrossing::next(doc, end);
    }
    start = std::max<int64_t>(start, 0);
    end = std::min(end, frameCount_);
    if (start >= end) {
        return Result::failure("Select a part of the sound to make a cue region of it.");
    }
    CuePoint cue;
    cue.identifier = CueIdentifiers::fresh(cues_);
    cue.position = static_cast<uint32_t>(start);
    cue.length = static_cast<uint32_t>(end - start);
    cue.label = CueText::limit(label);
    if (index != nullptr) {
        *index = cues_.size();
    }
    return apply({"Add Region", cues_.size(), std::nullopt, std::move(cue), false, {}, {}});
}

Result CueEditor::moveEdge(size_t index, Edge edge, int64_t frame) {
    if (Result checked = checkIndex(index); !checked.ok()) {
        return checked;
    }
    CuePoint cue = cues_[index];
    const int64_t start = cue.position;
    const int64_t end = endOf(cue);
    if (frameCount_ <= 0) {
        return Result::failure("The sound has no frames to move a border to.");
    }
    if (edge == Edge::Start) {
        const int64_t moved = std::clamp<int64_t>(frame, 0, std::max<int64_t>(end - 1, 0));
        cue.position = static_cast<uint32_t>(moved);
        // A region to the end of the data stays one.
        cue.length = cue.length == 0 ? 0 : static_cast<uint32_t>(end - moved);
    } else {
        const int64_t moved = std::clamp<int64_t>(frame, start + 1, frameCount_);
        cue.length = static_cast<uint32_t>(moved - start);
    }
    return apply({"Move Edge", index, cues_[index], std::move(cue), false, {}, {}});
}

Result CueEditor::rename(size_t index, const std::string& label) {
    if (Result checked = checkIndex(index); !checked.ok()) {
        return checked;
    }
    CuePoint cue = cues_[index];
    cue.label = CueText::limit(label);
    return apply({"Rename", index, cues_[index], std::move(cue), false, {}, {}});
}

Result CueEditor::setNote(size_t index, const std::string& note) {
    if (Result checked = checkIndex(index); !checked.ok()) {
        return checked;
    }
    CuePoint cue = cues_[index];
    cue.note = CueText::limit(note);
    return apply({"Edit Note", index, cues_[index], std::move(cue), false, {}, {}});
}

Result CueEditor::remove(size_t index) {
    if (Result checked = checkIndex(index); !checked.ok()) {
        return checked;
    }
    return apply({"Delete Region", index, cues_[index], std::nullopt, false, {}, {}});
}

Result CueEditor::replaceAll(std::vector<CuePoint> cues, const std::string& name) {
    Step step;
    step.name = name;
    step.wholeTable = true;
    step.tableBefore = cues_;
    step.tableAfter = std::move(cues);
    return apply(std::move(step));
}

Result CueEditor::apply(Step step) {
    // An edit that changes nothing is no step: undoing it would seem to do nothing.
    if (step.wholeTable ? step.tableBefore == step.tableAfter : step.before == step.after) {
        return Result::success();
    }
    put(step, true);
    steps_.erase(steps_.begin() + static_cast<long>(undoCount_), steps_.end());
    steps_.push_back(std::move(step));
    if (steps_.size() > depth_) {
        steps_.pop_front();
    }
    undoCount_ = steps_.size();
    return Result::success();
}

void CueEditor::put(size_t index, const std::optional<CuePoint>& from,
                    const std::optional<CuePoint>& to) {
    const auto at = cues_.begin() + static_cast<long>(index);
    if (from && to) {
        *at = *to;
    } else if (to) {
        cues_.insert(at, *to);
    } else if (from) {
        cues_.erase(at);
    }
    ++revision_;
}

void CueEditor::put(const Step& step, bool forward) {
    if (step.wholeTable) {
        cues_ = forward ? step.tableAfter : step.tableBefore;
        ++revision_;
    } else if (forward) {
        put(step.index, step.before, step.after);
    } else {
        put(step.index, step.after, step.before);
    }
}

std::string CueEditor::undoName() const {
    return canUndo() ? steps_[undoCount_ - 1].name : std::string();
}

std::string CueEditor::redoName() const {
    return canRedo() ? steps_[undoCount_].name : std::string();
}

bool CueEditor::undo() {
    if (!canUndo()) {
        return false;
    }
    put(steps_[--undoCount_], false);
    return true;
}

bool CueEditor::redo() {
    if (!canRedo()) {
        return false;
    }
    put(steps_[undoCount_++], true);
    return true;
}

}  // namespace murmelix
