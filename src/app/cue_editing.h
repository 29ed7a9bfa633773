#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audio/cue_point.h"
#include "base/result.h"
#include "labels/cue_editor.h"
#include "labels/label_file.h"

namespace murmelix {

class Program;

// The cue regions as the waveform window edits them: every edit goes through the undoable
// CueEditor and the edited table goes back into the document through
// Program::SetCueTable, which marks it changed and refreshes title and status. Edits are
// refused while an OQT plays or a recording runs: the segments being drawn are made from
// the table. The history starts afresh whenever the document is replaced (follow()).
// UI thread only.
class CueEditing {
  public:
    static constexpr const char* kImportName = "Import Labels";
    static constexpr const char* kFindName = "Find Cue Regions";

    explicit CueEditing(Program& program) : program_(program) {}
    CueEditing(const CueEditing&) = delete;
    CueEditing& operator=(const CueEditing&) = delete;

    // Takes the document's table, and forgets the history, when the document has been
    // replaced since the last call. Called before every edit and by the window's refresh.
    void follow();
    // A document is loaded and nothing draws segments from its table or replaces it.
    bool editable() const;
    const CueEditor& editor() const { return editor_; }

    // New regions and points are called "Region N", N their place in the table.
    Result addRegion(int64_t start, int64_t end, bool snapToZeroCrossings, size_t* index = nullptr);
    Result addPoint(int64_t frame, size_t* index = nullptr);
    Result moveEdge(size_t index, CueEditor::Edge edge, int64_t frame);
    // A border shared by several regions, moved as one step.
    Result moveEdges(const std::vector<CueEditor::EdgeRef>& edges, int64_t frame);
    Result rename(size_t index, const std::string& label);
    Result setNote(size_t index, const std::string& note);
    Result remove(size_t index);
    bool undo();
    bool redo();

    // The labels of one tier of a label file, in place of the table or added to it.
    Result importLabels(const LabelFile::Contents& contents,
                        const std::optional<std::string>& tierName, const std::string& fileName,
                        bool replace);
    // Regions found in the recording, in place of the table or added to it: one step.
    Result adoptFound(std::vector<CuePoint> found, bool replace);

  private:
    std::string freshLabel() const;
    Result refused() const;
    // Writes the editor's table into the document after an edit that went through.
    Result commit(Result edited);

    Program& program_;
    CueEditor editor_;
    uint64_t followedRevision_ = UINT64_MAX;
};

}  // namespace murmelix
