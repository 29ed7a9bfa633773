#pragma once

#include <QDialog>

#include "base/user_interface.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;

namespace murmelix {

// The recording parameters dialog: sample rate (one of the usual rates or typed), channels,
// resolution and whether to normalize afterwards. Centred over the main window when shown.
class TFormRecParam : public QDialog {
  public:
    explicit TFormRecParam(QWidget* owner);

    // Shows the dialog modally, preset with `parameters`; on "Start" they take the dialog's
    // values and the result is true. Cancel leaves them as they were.
    bool ask(RecordingParameters& parameters);

    void preset(const RecordingParameters& parameters);
    RecordingParameters values() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* buildSampleRateGroup();
    QWidget* buildChoiceGroup(const char* name, const char* caption, const char* first,
                              const char* second, QButtonGroup*& group);

    QComboBox* sampleRate_ = nullptr;
    QButtonGroup* channels_ = nullptr;
    QButtonGroup* resolution_ = nullptr;
    QCheckBox* normalize_ = nullptr;
};

}  // namespace murmelix
