#pragma once

#include <QDialog>

#include "app/cue_search.h"

class QCheckBox;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;

namespace murmelix {

// What to look for in the recording: the stretches between pauses (any language), or the
// words or phonemes (the speech recogniser's English model), with the transcript that the
// words and phonemes are aligned to and the pause settings. Keeps its fields for the run.
class TFormFindRegions : public QDialog {
  public:
    explicit TFormFindRegions(QWidget* owner);

    // Shows the dialog modally; on OK `search` takes its fields and the result is true.
    bool ask(CueSearch& search);
    CueSearch search() const;

  private:
    void chooseTranscriptFile();
    void refreshFields();
    // A padding the person left at one kind's default follows the kind chosen.
    void followPaddingDefault();

    // The pause settings' fields, which only the search for pauses uses, and the padding,
    // which every kind uses (20 ms for pauses, none for words and phonemes by default).
    struct PauseFields {
        QCheckBox* automatic;
        QSpinBox* threshold;
        QSpinBox* minPause;
        QSpinBox* minRegion;
        QSpinBox* padding;
    };

    QRadioButton* pauses_ = nullptr;
    QRadioButton* words_ = nullptr;
    QRadioButton* phonemes_ = nullptr;
    QPlainTextEdit* transcript_ = nullptr;
    PauseFields fields_{};
    QCheckBox* ipa_ = nullptr;
    bool pausesChosen_ = true;  // the kind the padding's default was last set for
};

}  // namespace murmelix
