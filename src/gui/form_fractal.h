#pragma once

#include <QDialog>
#include <QImage>
#include <initializer_list>
#include <optional>
#include <utility>

#include "random/bifurcation_diagram.h"
#include "random/fractal_range.h"
#include "random/random_source.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTimer;

namespace murmelix {

// The fractal formula dialog: r and x of the fractal random source, chosen with the help of
// the bifurcation diagram of the logistic map. A right click on the diagram takes the r and
// x under the mouse, left clicks narrow the drawn range. Created once and kept for the
// whole run, so the drawing and every field survive between openings.
//
// The diagram grows a column per timer tick, so the dialog answers the user while it draws;
// a second "Draw" starts over, and hiding the dialog completes the drawing at once.
class TFormFractal : public QDialog {
  public:
    TFormFractal(QWidget* owner, RandomSource& source);

    // Shows the dialog modally; the texts of the r and x fields on OK, nothing on Cancel.
    // "Apply" has handed the values to the source already, whichever way it closes.
    std::optional<FractalFieldTexts> ask();

    const BifurcationDiagram& diagram() const { return diagram_; }
    bool drawing() const { return diagram_.drawing(); }
    // Draws the remaining columns without waiting for the timer.
    void finishDrawing();

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The error box for a field that is not a number; modal, owned by the dialog.
    virtual void showMessage(const QString& caption, const QString& text);

  private:
    // Values that outlive one opening of the dialog (the program has a single instance).
    struct Persistent {
        bool firstActivationDone = false;
        FractalRange rRange;
        FractalRange xRange;
    };

    QWidget* buildPage();
    QLayout* buildDiagramArea(QWidget* page);
    QLayout* buildGraphicsControls(QWidget* page);
    QLayout* buildSourceControls(QWidget* page);
    QLayout* buildDialogButtons();
    QLineEdit* addEdit(QWidget* parent, const char* name, const char* hint, int width);
    QSpinBox* addSpinEdit(QWidget* parent, const char* name, const char* hint, int minimum,
                          int maximum, int step, int value);
    QCheckBox* addColourBox(QWidget* parent, const char* name, const char* caption,
                            const char* hint, bool checked);
    QPushButton* addButton(QWidget* parent, const char* name, const char* caption,
                           const char* hint);
    QSlider* addSlider(QWidget* parent, const char* name, const char* hint, int minimum,
                       int maximum);
    void connectControls();

    void FormCreate();
    void FormShow();
    void FormActivate();
    void ButtonDrawClick();
    void ButtonResetClick();
    void ImageFractalMouseDown(Qt::MouseButton button, int x, int y);
    void TrackBarGrowthConstantChange();
    void TrackBarInitPopulationChange();
    void EditFracGrowthConstantChange();
    void EditFracInitPopulationChange();
    void ButtonGrowthConstantClick();
    void ButtonInitPopulationClick();
    void ButtonIterateClick();
    void ButtonApplyClick();

    void DrawBifurcation();
    void drawNextColumn();
    void resetGraphicsValues();
    void takeClickedPoint(const BifurcationPoint& point);
    void narrowRanges(const RangeFields& r, const RangeFields& x, const BifurcationPoint& point);
    void sliderMoved(QSlider* slider, QLineEdit* edit);
    void textChanged(QLineEdit* edit, QSlider* slider);
    void setRandomValue(QSlider* slider, QLineEdit* edit);
    // Reads the fields in order; false after the error box has named the first text that
    // is not a number.
    bool readNumbers(std::initializer_list<std::pair<const QLineEdit*, long double*>> fields);
    static void setNumber(QLineEdit* edit, long double value);
    void showColumn(int column);
    void showWholeImage();

    RandomSource& source_;
    BifurcationDiagram diagram_;
    QImage image_;
    QTimer* drawTimer_ = nullptr;
    Persistent persistent_;
    // Set while a slider writes its field, so the field does not move the slider back.
    bool sliderWriting_ = false;
    // Set while a field moves its slider, so the slider does not rewrite the field.
    bool followingText_ = false;

    QLabel* imageFractal_ = nullptr;
    QLineEdit* editRMin_ = nullptr;
    QLineEdit* editRMax_ = nullptr;
    QLineEdit* editXMin_ = nullptr;
    QLineEdit* editXMax_ = nullptr;
    QLineEdit* editXStart_ = nullptr;
    QSpinBox* editIterations_ = nullptr;
    QSpinBox* editInvisible_ = nullptr;
    QSpinBox* editColors_ = nullptr;
    QCheckBox* checkBoxR_ = nullptr;
    QCheckBox* checkBoxG_ = nullptr;
    QCheckBox* checkBoxB_ = nullptr;
    QPushButton* buttonReset_ = nullptr;
    QPushButton* buttonDraw_ = nullptr;
    QLineEdit* editGrowth_ = nullptr;
    QSlider* trackBarGrowth_ = nullptr;
    QPushButton* buttonGrowth_ = nullptr;
    QLineEdit* editPopulation_ = nullptr;
    QSlider* trackBarPopulation_ = nullptr;
    QPushButton* buttonPopulation_ = nullptr;
    QPushButton* buttonIterate_ = nullptr;
    QPushButton* buttonOk_ = nullptr;
    QPushButton* buttonCancel_ = nullptr;
    QPushButton* buttonApply_ = nullptr;
};

}  // namespace murmelix
