#include "window/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressDialog>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QThread>
#include <QTreeWidget>
#include <QWindow>

#include "app/Commands.h"
#include "controls/MenuCatalog.h"
#include "controls/ProgressBar.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinLayout.h"
#include "controls/SkinMenu.h"
#include "controls/SkinPictures.h"
#include "controls/TwoStateSkinButton.h"
#include "grid/PropertyList.h"
#include "window/PreviewPanel.h"

namespace pelorine {
namespace {

constexpr QRect kTitleBar(0, 0, 720, 22);
constexpr QColor kTitleText(0, 0, 20);
constexpr int kProgressPeriodMs = 50;
constexpr int kComboHeight = 20;
constexpr int kEstimatePeriodMs = 1000;

// The output folder is chosen, pasted or deleted, never typed: keys do
// nothing, the context menu's Paste and Delete still work.
class OutputPathEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override { event->accept(); }
};

}  // namespace

MainWindow::MainWindow(MainController::Services services, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint),
      dialogs_(dialogs),
      controller_(std::make_unique<MainController>(services, *this, dialogs)) {
    setWindowTitle(kProductTitle);
    setFixedSize(controls::kWindowWidth, controls::kWindowHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        // No clamping: a screen smaller than the window shows it off its edges.
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    if (const auto icon = controls::SkinPictures::load(controls::kIconId)) {
        setWindowIcon(QIcon(*icon));
    }
    createControls();
    progressTimer_.setInterval(kProgressPeriodMs);
    connect(&progressTimer_, &QTimer::timeout, this,
            [this] { controller_->progressTick(state()); });
    controller_->initialise();
}

MainWindow::~MainWindow() {
    closing_ = true;
    controller_.reset();  // waits for a batch worker, which no longer waits for us
}

void MainWindow::place(QWidget* widget, int id, int left, int top, int right, int bottom) {
    widget->setGeometry(left, top, right - left, bottom - top);
    controls_[id] = widget;
}

QWidget* MainWindow::control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void MainWindow::createControls() {
    createSkinButtons();

    createJobList();

    profiles_ = new controls::SkinComboBox(this);
    connect(static_cast<controls::SkinComboBox*>(profiles_),
            &controls::SkinComboBox::pictureMissing, this, &MainWindow::skinBroken,
            Qt::QueuedConnection);
    for (int i = 0; i < kProfileCustom; ++i) {
        profiles_->addItem(kProfileNames[static_cast<std::size_t>(i)]);
    }
    profiles_->setCurrentIndex(kStartProfile);
    // Only the user's choices count as a profile change.
    connect(profiles_, &QComboBox::activated, this,
            [this](int index) { controller_->jobOperations().edit(change::ProfileChoice{index}); });
    // The rectangle's height is that of the closed box's list; the box itself
    // is as tall as its text needs.
    place(profiles_, command::kProfileCombo, 81, 449, 421, 449 + kComboHeight);

    outputPath_ = new OutputPathEdit(this);
    connect(outputPath_, &QLineEdit::textChanged, this,
            [this](const QString& text) { controller_->outputPathEdited(text.toStdString()); });
    place(outputPath_, command::kOutputPathEdit, 84, 475, 414, 491);

    jobBar_ = new controls::ProgressBar(this);
    overallBar_ = new controls::ProgressBar(this);
    for (controls::ProgressBar* bar : {jobBar_, overallBar_}) {
        bar->setRange(0, 100);
        bar->setValue(100);
    }
    place(jobBar_, command::kJobBar, 81, 510, 420, 516);
    place(overallBar_, command::kOverallBar, 81, 520, 420, 526);
    // Under the bars: how fast the batch goes and how long it still needs.
    timing_ = new QLabel(this);
    QFont tiny = timing_->font();
    tiny.setPixelSize(10);
    timing_->setFont(tiny);
    timing_->setGeometry(81, 527, 339, 12);

    shutDown_ = new QCheckBox("Shut down PC when finished", this);
    QFont small = shutDown_->font();
    small.setPixelSize(11);
    shutDown_->setFont(small);
    shutDown_->setChecked(false);
    place(shutDown_, command::kShutDownBox, 520, 514, 709, 526);

    createSettingsGrid();
    createEstimateLine();
    preview_ = new PreviewPanel(
        this, *controller_,
        [this](QWidget* widget, int id, int left, int top, int right, int bottom) {
            place(widget, id, left, top, right, bottom);
        },
        [this] { skinBroken(); }, [this] { return selectedRow(); });
    preview_->setPlayButton(
        static_cast<controls::TwoStateSkinButton*>(control(controls::kPlayButton.controlId)));
    createShortcuts();
}

void MainWindow::createEstimateLine() {
    estimate_ = new QLabel(this);
    QFont small = estimate_->font();
    small.setPixelSize(11);
    estimate_->setFont(small);
    estimate_->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    estimate_->setToolTip(
        "The estimated size of the selected job's output and of all outputs, "
        "and the free space of the output folder and of the PSP's memory "
        "stick when one is connected");
    // Between the buttons and the list, as wide as the list.
    estimate_->setGeometry(14, 100, 506 - 14, 12);
    estimateTimer_.setInterval(kEstimatePeriodMs);
    connect(&estimateTimer_, &QTimer::timeout, this, &MainWindow::refreshEstimate);
    estimateTimer_.start();
}

void MainWindow::refreshEstimate() {
    const HandheldController::Estimate estimate =
        controller_->handheld().estimate(selectedRow(), outputPath_->text().toStdString());
    estimate_->setText(QString::fromStdString(estimate.text));
    estimate_->setStyleSheet(estimate.tooLarge ? "color: #c00000; font-weight: bold;" : "");
}

void MainWindow::createSettingsGrid() {
    grid_ = new PropertyList(this);
    connect(grid_, &PropertyList::edited, this, [this](int key, const QString& text) {
        controller_->jobOperations().edit(
            change::RowText{static_cast<Row>(key), text.toStdString()});
    });
    place(grid_, command::kSettingsGrid, 518, 267, 708, 506);
}

void MainWindow::createShortcuts() {
    for (const command::KeyBinding& binding : command::kKeyBindings) {
        QWidget* owner = binding.listOnly ? static_cast<QWidget*>(jobList_) : this;
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(binding.keys)), owner);
        shortcut->setContext(binding.listOnly ? Qt::WidgetShortcut : Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this, id = binding.command] { controller_->handleCommand(id, state()); });
    }
}

void MainWindow::createSkinButtons() {
    auto wire = [this](controls::SkinButton* button, int id, const controls::SkinRect& rect) {
        button->setFocusPolicy(Qt::ClickFocus);
        connect(button, &controls::SkinButton::clicked, this,
                [this, id] { controller_->handleCommand(id, state()); });
        connect(button, &controls::SkinButton::pictureMissing, this, &MainWindow::skinBroken,
                Qt::QueuedConnection);
        place(button, id, rect.left, rect.top, rect.right, rect.bottom);
    };
    for (const controls::SkinButtonPlace& entry : controls::kSkinButtons) {
        auto* button = new controls::SkinButton(this);
        button->setPictures(entry.normal, entry.pressed, entry.hover);
        wire(button, entry.controlId, entry.rect);
    }
    const controls::TwoStateButtonPlace& play = controls::kPlayButton;
    auto* button = new controls::TwoStateSkinButton(this);
    button->setPictures(play.firstNormal, play.firstPressed, play.firstHover, play.secondNormal,
                        play.secondHover, play.secondPressed);
    wire(button, play.controlId, play.rect);
}

void MainWindow::skinBroken() {
    // The skin is part of the program: without it the installation is broken.
    if (!brokenReported_) {
        brokenReported_ = true;
        dialogs_.message("Not enough memory!");
        QCoreApplication::quit();
    }
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (const auto background = controls::SkinPictures::load(controls::kBackgroundId)) {
        painter.drawPixmap(0, 0, *background);
    } else {
        QMetaObject::invokeMethod(this, &MainWindow::skinBroken, Qt::QueuedConnection);
    }
    QFont bold("MS Sans Serif");
    bold.setPixelSize(12);
    bold.setWeight(QFont::Bold);
    QFont normal = bold;
    normal.setWeight(QFont::Normal);
    painter.setPen(kTitleText);
    painter.setFont(bold);
    painter.drawText(QRect(280, 5, 300, 16), Qt::AlignLeft | Qt::AlignTop, kProductTitle);
    painter.setFont(normal);
    painter.drawText(QRect(10, 5, 260, 16), Qt::AlignLeft | Qt::AlignTop, kWindowCaption);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    focusDialog();
    if (event->button() != Qt::LeftButton || !kTitleBar.contains(event->position().toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    preview_->windowDragStarts();
    // The window manager's move where there is one, our own drag elsewhere.
    if (windowHandle() == nullptr || !windowHandle()->startSystemMove()) {
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
    }
    QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    dragOffset_.reset();
    QWidget::mouseReleaseEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // Neither key closes the window.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (controller_->closeRequested()) {
        closing_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::focusDialog() {
    setFocus(Qt::OtherFocusReason);
}

void MainWindow::minimise() {
    showMinimized();
}

void MainWindow::showChecks(const QMenu& menu) const {
    for (QAction* action : menu.actions()) {
        if (const QMenu* submenu = action->menu()) {
            showChecks(*submenu);
        } else if (const auto on = controller_->checked(controls::SkinMenu::commandOf(action))) {
            action->setCheckable(true);
            action->setChecked(*on);
        }
    }
}

int MainWindow::popUpMenu(int menu, int button) {
    const auto skinMenu = controls::buildSkinMenu(menu, this);
    showChecks(*skinMenu);
    const QWidget* anchor = control(button);
    const QPoint at = anchor ? anchor->mapToGlobal(QPoint(0, anchor->height())) : QCursor::pos();
    return skinMenu->choose(at);
}

void MainWindow::setOutputPathText(const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (outputPath_->text() != value) {
        outputPath_->setText(value);
    }
}

void MainWindow::showRows(const ShownRows& rows) {
    grid_->reset();
    for (const ShownRow& row : rows) {
        grid_->addItem(row.item, static_cast<int>(row.role));
    }
}

void MainWindow::refreshRows(const ShownRows& rows) {
    for (const ShownRow& row : rows) {
        grid_->updateItem(static_cast<int>(row.role), row.item);
    }
    grid_->refresh();
}

WindowState MainWindow::state() const {
    return {selectedRow(), profiles_->currentIndex()};
}

void MainWindow::selectProfile(int index) {
    const QSignalBlocker quiet(profiles_);
    profiles_->setCurrentIndex(index);
}

void MainWindow::showCustomProfile() {
    const QSignalBlocker quiet(profiles_);
    while (profiles_->count() > kProfileCustom) {
        profiles_->removeItem(profiles_->count() - 1);
    }
    profiles_->addItem(kProfileNames[kProfileCustom]);
    profiles_->setCurrentIndex(kProfileCustom);
}

void MainWindow::showClip(double start, double end, double duration) {
    preview_->showClip(start, end, duration);
}

preview::PreviewTarget MainWindow::previewTarget() {
    return preview_->previewTarget();
}

void MainWindow::setPreviewPause(int showPause) {
    preview_->setPreviewPause(showPause);
}

void MainWindow::setPlayButtonState(bool playing, bool) {
    // Qt paints the new picture when it next paints the button.
    preview_->setPlayButtonState(playing);
}

void MainWindow::startPlaybackTimer(int periodMs) {
    preview_->startPlaybackTimer(periodMs);
}

void MainWindow::stopPlaybackTimer() {
    preview_->stopPlaybackTimer();
}

void MainWindow::setSeekPosition(double seconds) {
    preview_->setSeekPosition(seconds);
}

void MainWindow::showTiming(const std::string& text) {
    timing_->setText(QString::fromStdString(text));
}

void MainWindow::beginTask(const std::string& title, int steps) {
    task_ = new QProgressDialog(QString::fromStdString(title), "Cancel", 0, steps, this);
    task_->setWindowModality(Qt::WindowModal);
    task_->setMinimumDuration(300);
}

bool MainWindow::stepTask(int step, const std::string& label) {
    if (!task_) {
        return true;
    }
    task_->setLabelText(QString::fromStdString(label));
    task_->setValue(step);
    return !task_->wasCanceled();
}

void MainWindow::endTask() {
    delete task_;
    task_ = nullptr;
}

void MainWindow::keepAlive() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void MainWindow::onWindowThread(const std::function<void()>& work) {
    if (closing_) {
        return;
    }
    if (QThread::currentThread() == thread()) {
        work();
    } else {
        QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
    }
}

void MainWindow::setOverallBar(int position) {
    onWindowThread([this, position] { overallBar_->setValue(position); });
}

void MainWindow::setJobBar(int position) {
    onWindowThread([this, position] { jobBar_->setValue(position); });
}

void MainWindow::startProgressTimer() {
    onWindowThread([this] { progressTimer_.start(); });
}

void MainWindow::stopProgressTimer() {
    onWindowThread([this] { progressTimer_.stop(); });
}

bool MainWindow::shutDownWhenFinished() {
    bool checked = false;
    onWindowThread([this, &checked] { checked = shutDown_->isChecked(); });
    return checked;
}

bool MainWindow::askOverwrite(const std::string& question) {
    bool overwrite = false;
    onWindowThread([&] { overwrite = dialogs_.confirm(question, "Warning"); });
    return overwrite;
}

void MainWindow::showMessage(const std::string& text) {
    onWindowThread([&] { dialogs_.message(text); });
}

void MainWindow::batchEnded() {
    controller_->batchOver(state());
}

}  // namespace pelorine
