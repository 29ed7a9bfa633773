#include "app/cue_editing.h"

#include "app/program.h"
#include "labels/cue_identifiers.h"

namespace murmelix {

void CueEditing::follow() {
    if (followedRevision_ == program_.documentRevision()) {
        return;
    }
    followedRevision_ = program_.documentRevision();
    const AudioDocument& doc = program_.document();
    editor_.reset(doc.loaded ? doc.cues : std::vector<CuePoint>{}, doc.loaded ? doc.frameCount : 0);
}

bool CueEditing::editable() const {
    const TransportMode mode = program_.mode();
    return program_.document().loaded && mode != TransportMode::tmRandomPlay &&
           mode != TransportMode::tmRecord;
}

Result CueEditing::refused() const {
    if (!program_.document().loaded) {
        return Result::failure("Open a WAV file to edit its cue regions.");
    }
    return Result::failure("Cue regions cannot be edited while an OQT plays or a recording runs.");
}

Result CueEditing::commit(Result edited) {
    if (edited.ok()) {
        program_.SetCueTable(editor_.cues());
    }
    return edited;
}

Result CueEditing::addRegion(int64_t start, int64_t end, bool snapToZeroCrossings, size_t* index) {
    follow();
    if (!editable()) {
        return refused();
    }
    return commit(editor_.addRegion(program_.document(), start, end, freshLabel(),
                                    snapToZeroCrossings, index));
}

Result CueEditing::addPoint(int64_t frame, size_t* index) {
    follow();
    return editable() ? commit(editor_.addPoint(frame, freshLabel(), index)) : refused();
}

std::string CueEditing::freshLabel() const {
    return "Region " + std::to_string(editor_.cues().size() + 1);
}

Result CueEditing::moveEdge(size_t index, CueEditor::Edge edge, int64_t frame) {
    follow();
    return editable() ? commit(editor_.moveEdge(index, edge, frame)) : refused();
}

Result CueEditing::moveEdges(const std::vector<CueEditor::EdgeRef>& edges, int64_t frame) {
    follow();
    return editable() ? commit(editor_.moveEdges(edges, frame)) : refused();
}

Result CueEditing::rename(size_t index, const std::string& label) {
    follow();
    return editable() ? commit(editor_.rename(index, label)) : refused();
}

Result CueEditing::setNote(size_t index, const std::string& note) {
    follow();
    return editable() ? commit(editor_.setNote(index, note)) : refused();
}

Result CueEditing::remove(size_t index) {
    follow();
    return editable() ? commit(editor_.remove(index)) : refused();
}

bool CueEditing::undo() {
    follow();
    return editable() && editor_.undo() && commit(Result::success()).ok();
}

bool CueEditing::redo() {
    follow();
    return editable() && editor_.redo() && commit(Result::success()).ok();
}

Result CueEditing::importLabels(const LabelFile::Contents& contents,
                                const std::optional<std::string>& tierName,
                                const std::string& fileName, bool replace) {
    follow();
    if (!editable()) {
        return refused();
    }
    std::vector<CuePoint> cues;
    if (Result read = LabelFile::cuesOf(contents, tierName, fileName, program_.document(), cues);
        !read.ok()) {
        return read;
    }
    return commit(editor_.replaceAll(
        replace ? std::move(cues) : CueIdentifiers::merged(editor_.cues(), cues), kImportName));
}

Result CueEditing::adoptFound(std::vector<CuePoint> found, bool replace) {
    follow();
    if (!editable()) {
        return refused();
    }
    return commit(editor_.replaceAll(
        replace ? std::move(found) : CueIdentifiers::merged(editor_.cues(), found), kFindName));
}

}  // namespace murmelix
