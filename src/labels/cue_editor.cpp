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
    return append("Add Region", start, end - start, label, index);
}

Result CueEditor::addPoint(int64_t frame, const std::string& label, size_t* index) {
    if (frame < 0 || frame >= frameCount_) {
        return Result::failure("Place the cursor in the sound to add a point there.");
    }
    return append("Add Point", frame, 0, label, index);
}

Result CueEditor::append(const std::string& name, int64_t start, int64_t length,
                         const std::string& label, size_t* index) {
    CuePoint cue;
    cue.identifier = CueIdentifiers::fresh(cues_);
    cue.position = static_cast<uint32_t>(start);
    cue.length = static_cast<uint32_t>(length);
    cue.label = CueText::limit(label);
    if (index != nullptr) {
        *index = cues_.size();
    }
    return apply(name, {cues_.size(), std::nullopt, std::move(cue)});
}

std::pair<int64_t, int64_t> CueEditor::edgeRange(const EdgeRef& edge) const {
    const CuePoint& cue = cues_[edge.index];
    if (edge.edge == Edge::Start) {
        return {0, std::max<int64_t>(endOf(cue) - 1, 0)};
    }
    return {static_cast<int64_t>(cue.position) + 1, frameCount_};
}

CuePoint CueEditor::withEdgeAt(const EdgeRef& edge, int64_t frame) const {
    CuePoint cue = cues_[edge.index];
    if (edge.edge == Edge::Start) {
        const int64_t end = endOf(cue);
        cue.position = static_cast<uint32_t>(frame);
        // A point, or a region to the end of the data, stays one.
        cue.length = cue.length == 0 ? 0 : static_cast<uint32_t>(end - frame);
    } else {
        cue.length = static_cast<uint32_t>(frame - cue.position);
    }
    return cue;
}

Result CueEditor::moveEdge(size_t index, Edge edge, int64_t frame) {
    return moveEdges({{index, edge}}, frame);
}

Result CueEditor::moveEdges(const std::vector<EdgeRef>& edges, int64_t frame) {
    for (const EdgeRef& edge : edges) {
        if (Result checked = checkIndex(edge.index); !checked.ok()) {
            return checked;
        }
    }
    if (frameCount_ <= 0) {
        return Result::failure("The sound has no frames to move a border to.");
    }
    int64_t low = 0;
    int64_t high = frameCount_;
    for (const EdgeRef& edge : edges) {
        const auto [first, last] = edgeRange(edge);
        low = std::max(low, first);
        high = std::min(high, last);
    }
    if (edges.empty() || low > high) {
        return Result::failure("These borders cannot move together.");
    }
    const int64_t moved = std::clamp(frame, low, high);
    Step step;
    step.name = "Move Edge";
    for (const EdgeRef& edge : edges) {
        step.changes.push_back({edge.index, cues_[edge.index], withEdgeAt(edge, moved)});
    }
    return apply(std::move(step));
}

Result CueEditor::rename(size_t index, const std::string& label) {
    if (Result checked = checkIndex(index); !checked.ok()) {
        return checked;
    }
    CuePoint cue = cues_[index];
    cue.label = CueText::limit(label);
    return apply("Rename", {index, cues_[index], std::move(cue)});
}

Result CueEditor::setNote(size_t index, const std::string& note) {
    if (Result checked = checkIndex(index); !checked.ok()) {
        return checked;
    }
    CuePoint cue = cues_[index];
    cue.note = CueText::limit(note);
    return apply("Edit Note", {index, cues_[index], std::move(cue)});
}

Result CueEditor::remove(size_t index) {
    if (Result checked = checkIndex(index); !checked.ok()) {
        return checked;
    }
    return apply("Delete Region", {index, cues_[index], std::nullopt});
}

Result CueEditor::replaceAll(std::vector<CuePoint> cues, const std::string& name) {
    Step step;
    step.name = name;
    step.wholeTable = true;
    step.tableBefore = cues_;
    step.tableAfter = std::move(cues);
    return apply(std::move(step));
}

Result CueEditor::apply(const std::string& name, Change change) {
    Step step;
    step.name = name;
    step.changes.push_back(std::move(change));
    return apply(std::move(step));
}

Result CueEditor::apply(Step step) {
    // An edit that changes nothing is no step: undoing it would seem to do nothing.
    const bool same = step.wholeTable
                          ? step.tableBefore == step.tableAfter
                          : std::all_of(step.changes.begin(), step.changes.end(),
                                        [](const Change& c) { return c.before == c.after; });
    if (same) {
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

void CueEditor::put(const Change& change, bool forward) {
    const std::optional<CuePoint>& from = forward ? change.before : change.after;
    const std::optional<CuePoint>& to = forward ? change.after : change.before;
    const auto at = cues_.begin() + static_cast<long>(change.index);
    if (from && to) {
        *at = *to;
    } else if (to) {
        cues_.insert(at, *to);
    } else if (from) {
        cues_.erase(at);
    }
}

void CueEditor::put(const Step& step, bool forward) {
    if (step.wholeTable) {
        cues_ = forward ? step.tableAfter : step.tableBefore;
    } else if (forward) {
        for (const Change& change : step.changes) {
            put(change, true);
        }
    } else {
        for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change) {
            put(*change, false);
        }
    }
    ++revision_;
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
