#include "gui/form_fractal.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <initializer_list>
#include <utility>

#include "gui/form_session_edit.h"
#include "random/fractal_formula.h"
#include "random/number_format.h"

namespace murmelix {

namespace {

constexpr const char* kDefaultRMin = "3.5";
constexpr const char* kDefaultRMax = "4.0";
constexpr const char* kDefaultXMin = "0.0";
constexpr const char* kDefaultXMax = "1.0";
constexpr const char* kDefaultXStart = "0.5";
constexpr int kGraphicsEditWidth = 56;
constexpr int kSourceEditWidth = 130;

std::string textOf(const QLineEdit* edit) {
    return edit->text().toStdString();
}

}  // namespace

TFormFractal::TFormFractal(QWidget* owner, RandomSource& source)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      source_(source),
      image_(BifurcationDiagram::kWidth, BifurcationDiagram::kHeight, QImage::Format_RGB32),
      drawTimer_(new QTimer(this)) {
    setObjectName("FormFractal");
    setWindowTitle("Fractal formula");
    drawTimer_->setInterval(0);

    auto* pages = new QTabWidget(this);
    pages->setObjectName("PageControl1");
    pages->addTab(buildPage(), "Verhulst");
    auto* column = new QVBoxLayout(this);
    column->addWidget(pages);
    column->addLayout(buildDialogButtons());
    column->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();
    connectControls();
}

QWidget* TFormFractal::buildPage() {
    auto* page = new QWidget;
    page->setObjectName("TabSheetVerhulst");
    auto* hint = new QLabel("Left-click: Graphics values, Right-click: Random source", page);
    hint->setObjectName("Label27");

    auto* upper = new QHBoxLayout;
    upper->addLayout(buildDiagramArea(page));
    upper->addSpacing(12);
    upper->addLayout(buildGraphicsControls(page));

    auto* bevel = new QFrame(page);
    bevel->setObjectName("Bevel1");
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    auto* equation = new QLabel(
        QString::fromUtf8("Growth Equation    f(x) = r \xC2\xB7 x \xC2\xB7 (1 - x)"), page);
    equation->setObjectName("LabelGrowthEquation");

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(hint);
    layout->addLayout(upper);
    layout->addWidget(bevel);
    layout->addWidget(equation);
    layout->addLayout(buildSourceControls(page));
    return page;
}

QLayout* TFormFractal::buildDiagramArea(QWidget* page) {
    imageFractal_ = new QLabel(page);
    imageFractal_->setObjectName("ImageFractal");
    imageFractal_->setFixedSize(BifurcationDiagram::kWidth, BifurcationDiagram::kHeight);
    imageFractal_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imageFractal_->setContentsMargins(0, 0, 0, 0);
    imageFractal_->setCursor(Qt::CrossCursor);
    imageFractal_->installEventFilter(this);

    editXMax_ = addEdit(page, "EditxMax", "Maximum \"x\" parameter", kGraphicsEditWidth);
    editXMin_ = addEdit(page, "EditxMin", "Minimum \"x\" parameter", kGraphicsEditWidth);
    editRMin_ = addEdit(page, "EditrMin", "Minimum \"r\" parameter", kGraphicsEditWidth);
    editRMax_ = addEdit(page, "EditrMax", "Maximum \"r\" parameter", kGraphicsEditWidth);

    auto* xEdits = new QVBoxLayout;
    xEdits->addWidget(editXMax_);
    xEdits->addStretch();
    xEdits->addWidget(editXMin_);
    auto* rEdits = new QHBoxLayout;
    rEdits->addWidget(editRMin_);
    rEdits->addStretch();
    rEdits->addWidget(editRMax_);

    auto* grid = new QGridLayout;
    grid->addLayout(xEdits, 0, 0);
    grid->addWidget(imageFractal_, 0, 1);
    grid->addLayout(rEdits, 1, 1);
    return grid;
}

QLayout* TFormFractal::buildGraphicsControls(QWidget* page) {
    editXStart_ = addEdit(page, "EditxStart", "Initial \"x\" value", kGraphicsEditWidth);
    editIterations_ =
        addSpinEdit(page, "EditnIterations", "Number of iterations", 1, 100000, 10, 300);
    editInvisible_ = addSpinEdit(page, "EditnInvisible", "Number of \"invisible\" iterations", 0,
                                 100000, 10, 50);
    editColors_ = addSpinEdit(page, "EditnColors", "Number of colors", 1, 255, 1, 4);
    auto* form = new QFormLayout;
    form->addRow("Xo:", editXStart_);
    form->addRow("Iterations:", editIterations_);
    form->addRow("Invisible:", editInvisible_);
    form->addRow("# Colors:", editColors_);

    checkBoxR_ = addColourBox(page, "CheckBoxR", "R", "Red", false);
    checkBoxG_ = addColourBox(page, "CheckBoxG", "G", "Green", true);
    checkBoxB_ = addColourBox(page, "CheckBoxB", "B", "Blue", false);
    auto* colours = new QHBoxLayout;
    colours->addWidget(checkBoxR_);
    colours->addWidget(checkBoxG_);
    colours->addWidget(checkBoxB_);
    form->addRow("Colors:", colours);

    buttonReset_ = addButton(page, "ButtonReset", "Reset", "Reset graphics values to default");
    buttonDraw_ = addButton(page, "ButtonDraw", "Draw", "Draw the Feigenbaum graph");
    auto* column = new QVBoxLayout;
    column->addLayout(form);
    column->addStretch();
    column->addWidget(buttonReset_);
    column->addWidget(buttonDraw_);
    return column;
}

QLayout* TFormFractal::buildSourceControls(QWidget* page) {
    editGrowth_ = addEdit(page, "EditFracGrowthConstant", "\"r\" parameter (\"growth\" constant)",
                          kSourceEditWidth);
    trackBarGrowth_ = addSlider(page, "TrackBarGrowthConstant", "Slide to select an \"r\" value",
                                FractalFormula::kGrowthMin, FractalFormula::kGrowthMax);
    trackBarGrowth_->setValue(FractalFormula::kGrowthMin);
    buttonGrowth_ = addButton(page, "ButtonGrowthConstant", "Random", "Set \"r\" to random value");
    editPopulation_ = addEdit(page, "EditFracInitPopulation", "\"x\" parameter (\"population\")",
                              kSourceEditWidth);
    trackBarPopulation_ =
        addSlider(page, "TrackBarInitPopulation", "Slide to select an \"x\" value",
                  FractalFormula::kPopulationMin, FractalFormula::kPopulationMax);
    trackBarPopulation_->setValue(1);
    buttonPopulation_ =
        addButton(page, "ButtonInitPopulation", "Random", "Set \"x\" to random value");
    buttonIterate_ = addButton(page, "ButtonIterate", "Iterate!", "Compute once");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("r", page), 0, 0);
    grid->addWidget(editGrowth_, 0, 1);
    grid->addWidget(trackBarGrowth_, 0, 2);
    grid->addWidget(buttonGrowth_, 0, 3);
    grid->addWidget(new QLabel("x", page), 1, 0);
    grid->addWidget(editPopulation_, 1, 1);
    grid->addWidget(trackBarPopulation_, 1, 2);
    grid->addWidget(buttonPopulation_, 1, 3);
    grid->addWidget(buttonIterate_, 0, 4, 2, 1);
    return grid;
}

QLayout* TFormFractal::buildDialogButtons() {
    buttonOk_ = addButton(this, "ButtonOK", "&OK", "Accept values and close");
    buttonOk_->setDefault(true);
    buttonCancel_ = addButton(this, "ButtonCancel", "&Cancel", "Discard values and close");
    buttonApply_ = addButton(this, "ButtonApply", "&Apply", "Accept values, don't close");
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(buttonOk_);
    row->addWidget(buttonCancel_);
    row->addWidget(buttonApply_);
    return row;
}

QLineEdit* TFormFractal::addEdit(QWidget* parent, const char* name, const char* hint, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    edit->setFixedWidth(width);
    return edit;
}

QSpinBox* TFormFractal::addSpinEdit(QWidget* parent, const char* name, const char* hint,
                                    int minimum, int maximum, int step, int value) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setToolTip(hint);
    spin->setRange(minimum, maximum);
    spin->setSingleStep(step);
    spin->setValue(value);
    return spin;
}

QCheckBox* TFormFractal::addColourBox(QWidget* parent, const char* name, const char* caption,
                                      const char* hint, bool checked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setToolTip(hint);
    box->setChecked(checked);
    return box;
}

QPushButton* TFormFractal::addButton(QWidget* parent, const char* name, const char* caption,
                                     const char* hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    return button;
}

QSlider* TFormFractal::addSlider(QWidget* parent, const char* name, const char* hint, int minimum,
                                 int maximum) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setToolTip(hint);
    slider->setRange(minimum, maximum);
    slider->setPageStep(1000);
    slider->setSingleStep(1);
    slider->setMinimumWidth(220);
    return slider;
}

void TFormFractal::connectControls() {
    connect(drawTimer_, &QTimer::timeout, this, &TFormFractal::drawNextColumn);
    connect(buttonDraw_, &QPushButton::clicked, this, &TFormFractal::ButtonDrawClick);
    connect(buttonReset_, &QPushButton::clicked, this, &TFormFractal::ButtonResetClick);
    connect(trackBarGrowth_, &QSlider::valueChanged, this,
            &TFormFractal::TrackBarGrowthConstantChange);
    connect(trackBarPopulation_, &QSlider::valueChanged, this,
            &TFormFractal::TrackBarInitPopulationChange);
    connect(editGrowth_, &QLineEdit::textChanged, this,
            &TFormFractal::EditFracGrowthConstantChange);
    connect(editPopulation_, &QLineEdit::textChanged, this,
            &TFormFractal::EditFracInitPopulationChange);
    connect(buttonGrowth_, &QPushButton::clicked, this, &TFormFractal::ButtonGrowthConstantClick);
    connect(buttonPopulation_, &QPushButton::clicked, this,
            &TFormFractal::ButtonInitPopulationClick);
    connect(buttonIterate_, &QPushButton::clicked, this, &TFormFractal::ButtonIterateClick);
    connect(buttonApply_, &QPushButton::clicked, this, &TFormFractal::ButtonApplyClick);
    connect(buttonOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttonCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<FractalFieldTexts> TFormFractal::ask() {
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return FractalFieldTexts{textOf(editGrowth_), textOf(editPopulation_)};
}

bool TFormFractal::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return QDialog::event(event);
}

void TFormFractal::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    adjustSize();
    centreOver(this, parentWidget());
    FormShow();
}

void TFormFractal::hideEvent(QHideEvent* event) {
    // The next opening shows the diagram and the bounds the clicks refer to complete.
    finishDrawing();
    QDialog::hideEvent(event);
}

bool TFormFractal::eventFilter(QObject* watched, QEvent* event) {
    // The second press of a double click arrives as a double-click event of its own; it is
    // a click on the diagram all the same.
    if (watched == imageFractal_ && (event->type() == QEvent::MouseButtonPress ||
                                     event->type() == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        ImageFractalMouseDown(mouse->button(), at.x(), at.y());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormFractal::showMessage(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, this);
    box.exec();
}

void TFormFractal::FormCreate() {
    resetGraphicsValues();
    showWholeImage();  // the diagram is black until the first drawing
}

void TFormFractal::FormShow() {
    setNumber(editGrowth_, source_.growthConstant());
    setNumber(editPopulation_, source_.population());
}

void TFormFractal::FormActivate() {
    if (persistent_.firstActivationDone) {
        return;
    }
    DrawBifurcation();
    persistent_.firstActivationDone = true;
}

void TFormFractal::ButtonDrawClick() {
    DrawBifurcation();
}

void TFormFractal::ButtonResetClick() {
    resetGraphicsValues();
}

void TFormFractal::ImageFractalMouseDown(Qt::MouseButton button, int x, int y) {
    const std::optional<BifurcationPoint> point = diagram_.pointAt(x, y);
    if (!point) {
        return;  // nothing has been drawn to completion yet
    }
    RangeFields r;
    RangeFields xRange;
    if (!readNumbers({{editRMin_, &r.low},
                      {editRMax_, &r.high},
                      {editXMin_, &xRange.low},
                      {editXMax_, &xRange.high}})) {
        return;
    }
    if (button == Qt::RightButton) {
        takeClickedPoint(*point);
    } else if (button == Qt::LeftButton) {
        narrowRanges(r, xRange, *point);
    }
}

void TFormFractal::TrackBarGrowthConstantChange() {
    sliderMoved(trackBarGrowth_, editGrowth_);
}

void TFormFractal::TrackBarInitPopulationChange() {
    sliderMoved(trackBarPopulation_, editPopulation_);
}

void TFormFractal::EditFracGrowthConstantChange() {
    textChanged(editGrowth_, trackBarGrowth_);
}

void TFormFractal::EditFracInitPopulationChange() {
    textChanged(editPopulation_, trackBarPopulation_);
}

void TFormFractal::ButtonGrowthConstantClick() {
    setRandomValue(trackBarGrowth_, editGrowth_);
}

void TFormFractal::ButtonInitPopulationClick() {
    setRandomValue(trackBarPopulation_, editPopulation_);
}

void TFormFractal::ButtonIterateClick() {
    long double r = 0;
    long double x = 0;
    if (!readNumbers({{editGrowth_, &r}, {editPopulation_, &x}})) {
        return;
    }
    setNumber(editPopulation_, FractalFormula::iterate(r, x));
}

void TFormFractal::ButtonApplyClick() {
    // A field that is not a number keeps the source's value, without a word.
    if (const auto r = NumberFormat::parse(textOf(editGrowth_))) {
        source_.setGrowthConstant(*r);
    }
    if (const auto x = NumberFormat::parse(textOf(editPopulation_))) {
        source_.setPopulation(*x);
    }
}

void TFormFractal::DrawBifurcation() {
    BifurcationParameters p;
    if (!readNumbers({{editRMin_, &p.rMin},
                      {editRMax_, &p.rMax},
                      {editXMin_, &p.xMin},
                      {editXMax_, &p.xMax},
                      {editXStart_, &p.xStart}})) {
        return;  // the picture and the bounds stay as they are
    }
    p.iterations = editIterations_->value();
    p.invisible = editInvisible_->value();
    p.colors = editColors_->value();
    p.red = checkBoxR_->isChecked();
    p.green = checkBoxG_->isChecked();
    p.blue = checkBoxB_->isChecked();
    diagram_.begin(p);
    showWholeImage();
    drawTimer_->start();
}

void TFormFractal::drawNextColumn() {
    const int column = diagram_.nextColumn();
    if (diagram_.drawNextColumn()) {
        showColumn(column);
    }
    if (!diagram_.drawing()) {
        drawTimer_->stop();
    }
}

void TFormFractal::finishDrawing() {
    drawTimer_->stop();
    if (diagram_.drawing()) {
        diagram_.finish();
        showWholeImage();
    }
}

void TFormFractal::resetGraphicsValues() {
    editRMin_->setText(kDefaultRMin);
    editRMax_->setText(kDefaultRMax);
    editXMin_->setText(kDefaultXMin);
    editXMax_->setText(kDefaultXMax);
    editXStart_->setText(kDefaultXStart);
}

void TFormFractal::takeClickedPoint(const BifurcationPoint& point) {
    setNumber(editGrowth_, point.r);
    setNumber(editPopulation_, point.x);
}

void TFormFractal::narrowRanges(const RangeFields& r, const RangeFields& x,
                                const BifurcationPoint& point) {
    // Both axes take the click; the diagram waits for "Draw".
    const std::optional<RangeFields> newR = persistent_.rRange.click(r, point.r);
    const std::optional<RangeFields> newX = persistent_.xRange.click(x, point.x);
    if (newR) {
        setNumber(editRMin_, newR->low);
        setNumber(editRMax_, newR->high);
    }
    if (newX) {
        setNumber(editXMin_, newX->low);
        setNumber(editXMax_, newX->high);
    }
}

void TFormFractal::sliderMoved(QSlider* slider, QLineEdit* edit) {
    // Following the text being typed, the slider leaves it as it is: rewritten, "3.8" typed
    // over "3.75" would become "3.5.8" at the first keystroke.
    if (followingText_) {
        return;
    }
    sliderWriting_ = true;
    edit->setText(QString::fromStdString(FractalFormula::sliderText(slider->value())));
    sliderWriting_ = false;
}

void TFormFractal::textChanged(QLineEdit* edit, QSlider* slider) {
    // Text the slider wrote stands for its position already: reading it back would only
    // start the exchange again.
    if (sliderWriting_) {
        return;
    }
    const std::optional<long double> value = NumberFormat::parse(textOf(edit));
    if (!value) {
        return;
    }
    followingText_ = true;
    slider->setValue(FractalFormula::sliderPosition(*value, slider->minimum(), slider->maximum()));
    followingText_ = false;
}

void TFormFractal::setRandomValue(QSlider* slider, QLineEdit* edit) {
    const int32_t position = FractalFormula::randomPosition(source_.pseudoGenerator(),
                                                            slider->minimum(), slider->maximum());
    edit->setText(QString::fromStdString(FractalFormula::sliderText(position)));
}

bool TFormFractal::readNumbers(
    std::initializer_list<std::pair<const QLineEdit*, long double*>> fields) {
    for (const auto& [edit, value] : fields) {
        const std::string text = textOf(edit);
        const std::optional<long double> number = NumberFormat::parse(text);
        if (!number) {
            showMessage(FractalFormula::kErrorCaption,
                        QString::fromStdString(FractalFormula::invalidNumberMessage(text)));
            return false;
        }
        *value = *number;
    }
    return true;
}

void TFormFractal::setNumber(QLineEdit* edit, long double value) {
    edit->setText(QString::fromStdString(NumberFormat::format(value)));
}

void TFormFractal::showColumn(int column) {
    for (int y = 0; y < BifurcationDiagram::kHeight; ++y) {
        image_.setPixel(column, y,
                        0xFF000000u | BifurcationDiagram::toRgb(diagram_.pixel(column, y)));
    }
    imageFractal_->setPixmap(QPixmap::fromImage(image_));
}

void TFormFractal::showWholeImage() {
    for (int y = 0; y < BifurcationDiagram::kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = 0; x < BifurcationDiagram::kWidth; ++x) {
            line[x] = 0xFF000000u | BifurcationDiagram::toRgb(diagram_.pixel(x, y));
        }
    }
    imageFractal_->setPixmap(QPixmap::fromImage(image_));
}

}  // namespace murmelix
