#include "app/window/MainDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTreeWidget>
#include <QWindow>

#include "app/Commands.h"
#include "controls/FlatHeader.h"
#include "controls/MenuCatalog.h"
#include "controls/ProgressBar.h"
#include "controls/SkinButton.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinLayout.h"
#include "controls/SkinMenu.h"
#include "controls/SkinPictures.h"
#include "controls/TwoStateSkinButton.h"

namespace pelorine {
namespace {

constexpr QRect kTitleBar(0, 0, 720, 22);
constexpr QColor kTitleText(0, 0, 20);
constexpr int kProgressPeriodMs = 50;
constexpr int kComboHeight = 20;

// The output folder is chosen, pasted or deleted, never typed: keys do
// nothing, the context menu's Paste and Delete still work.
class OutputPathEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override { event->accept(); }
};

const char* const kProfiles[] = {
    "PSP MPEG4 320x240 AAC (*.mp4)",
    "PSP MPEG4 480x272 AAC (*.mp4)",
    "PSP AVC H264 320x240 AAC (*.mp4) recommended",
    "Save as MP3 format (*.mp3)",
};

struct Column {
    const char* header;
    Qt::Alignment alignment;
    int width;
};

const Column kColumns[] = {
    {"ID", Qt::AlignHCenter, 25},         {"Source", Qt::AlignLeft, 130},
    {"Begin Time", Qt::AlignHCenter, 80}, {"End Time", Qt::AlignHCenter, 80},
    {"Output", Qt::AlignLeft, 130},       {"Format", Qt::AlignHCenter, 60},
};

}  // namespace

MainDialog::MainDialog(MainController::Services services, Dialogs& dialogs, QWidget* parent)
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
    connect(&progressTimer_, &QTimer::timeout, this, [this] { controller_->progressTick(); });
    controller_->initialise();
}

MainDialog::~MainDialog() {
    closing_ = true;
    controller_.reset();  // waits for a batch worker, which no longer waits for us
}

void MainDialog::place(QWidget* widget, int id, int left, int top, int right, int bottom) {
    widget->setGeometry(left, top, right - left, bottom - top);
    controls_[id] = widget;
}

QWidget* MainDialog::control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void MainDialog::createControls() {
    createSkinButtons();

    jobList_ = new QTreeWidget(this);
    jobList_->setHeader(new controls::FlatHeader(jobList_));
    jobList_->setRootIsDecorated(false);
    jobList_->setUniformRowHeights(true);
    jobList_->setAllColumnsShowFocus(true);
    jobList_->setStyleSheet("QTreeView::item { height: 20px; }");
    QStringList headers;
    for (const Column& column : kColumns) {
        headers << column.header;
    }
    jobList_->setHeaderLabels(headers);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        jobList_->setColumnWidth(i, kColumns[i].width);
        jobList_->headerItem()->setTextAlignment(i, kColumns[i].alignment | Qt::AlignVCenter);
    }
    place(jobList_, command::kJobListView, 14, 112, 506, 438);

    auto* profiles = new controls::SkinComboBox(this);
    connect(profiles, &controls::SkinComboBox::pictureMissing, this, &MainDialog::skinBroken,
            Qt::QueuedConnection);
    for (const char* profile : kProfiles) {
        profiles->addItem(profile);
    }
    profiles->setCurrentIndex(2);
    // The rectangle's height is that of the closed box's list; the box itself
    // is as tall as its text needs.
    place(profiles, command::kProfileCombo, 81, 449, 421, 449 + kComboHeight);

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

    shutDown_ = new QCheckBox("Shut down PC when finished", this);
    QFont small = shutDown_->font();
    small.setPixelSize(11);
    shutDown_->setFont(small);
    shutDown_->setChecked(false);
    place(shutDown_, command::kShutDownBox, 520, 514, 709, 526);

    auto* preview = new QWidget(this);
    preview->setAutoFillBackground(true);
    preview->setPalette(QPalette(Qt::black));
    place(preview, command::kPreviewWindow, 520, 48, 706, 186);

    // Filled by the settings grid, the seek bar and the clip range slider.
    place(new QWidget(this), command::kSettingsGrid, 518, 267, 708, 506);
    place(new QWidget(this), command::kSeekBar, 528, 222, 697, 233);
    place(new QWidget(this), command::kRangeSlider, 520, 236, 705, 251);
}

void MainDialog::createSkinButtons() {
    auto wire = [this](controls::SkinButton* button, int id, const controls::SkinRect& rect) {
        button->setFocusPolicy(Qt::ClickFocus);
        connect(button, &controls::SkinButton::clicked, this,
                [this, id] { controller_->handleCommand(id); });
        connect(button, &controls::SkinButton::pictureMissing, this, &MainDialog::skinBroken,
                Qt::QueuedConnection);
        place(button, id, rect.left, rect.top, rect.right, rect.bottom);
    };
    for (const controls::SkinButtonPlace& spec : controls::kSkinButtons) {
        auto* button = new controls::SkinButton(this);
        button->setPictures(spec.normal, spec.pressed, spec.hover);
        wire(button, spec.controlId, spec.rect);
    }
    const controls::TwoStateButtonPlace& play = controls::kPlayButton;
    auto* button = new controls::TwoStateSkinButton(this);
    button->setPictures(play.firstNormal, play.firstPressed, play.firstHover, play.secondNormal,
                        play.secondHover, play.secondPressed);
    wire(button, play.controlId, play.rect);
}

void MainDialog::skinBroken() {
    // The skin is part of the program: without it the installation is broken.
    if (!brokenReported_) {
        brokenReported_ = true;
        dialogs_.message("Not enough memory!");
        QCoreApplication::quit();
    }
}

void MainDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (const auto background = controls::SkinPictures::load(controls::kBackgroundId)) {
        painter.drawPixmap(0, 0, *background);
    } else {
        QMetaObject::invokeMethod(this, &MainDialog::skinBroken, Qt::QueuedConnection);
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

void MainDialog::mousePressEvent(QMouseEvent* event) {
    focusDialog();
    if (event->button() != Qt::LeftButton || !kTitleBar.contains(event->position().toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The window manager's move where there is one, our own drag elsewhere.
    if (windowHandle() == nullptr || !windowHandle()->startSystemMove()) {
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
}

void MainDialog::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
    }
    QWidget::mouseMoveEvent(event);
}

void MainDialog::mouseReleaseEvent(QMouseEvent* event) {
    dragOffset_.reset();
    QWidget::mouseReleaseEvent(event);
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    // Neither key closes the window.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainDialog::closeEvent(QCloseEvent* event) {
    if (controller_->closeRequested()) {
        closing_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void MainDialog::focusDialog() {
    setFocus(Qt::OtherFocusReason);
}

void MainDialog::minimise() {
    showMinimized();
}

int MainDialog::popUpMenu(int menu, int button) {
    const auto skinMenu = controls::buildSkinMenu(menu, this);
    const QWidget* anchor = control(button);
    const QPoint at = anchor ? anchor->mapToGlobal(QPoint(0, anchor->height())) : QCursor::pos();
    return skinMenu->choose(at);
}

void MainDialog::setOutputPathText(const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (outputPath_->text() != value) {
        outputPath_->setText(value);
    }
}

void MainDialog::setOutputCell(std::size_t row, const std::string& text) {
    if (QTreeWidgetItem* item = jobList_->topLevelItem(static_cast<int>(row))) {
        item->setText(4, QString::fromStdString(text));
    }
}

void MainDialog::keepAlive() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void MainDialog::onWindowThread(const std::function<void()>& work) {
    if (closing_) {
        return;
    }
    if (QThread::currentThread() == thread()) {
        work();
    } else {
        QMetaObject::invokeMethod(this, work, Qt::BlockingQueuedConnection);
    }
}

void MainDialog::selectRow(std::size_t row) {
    onWindowThread([this, row] {
        if (QTreeWidgetItem* item = jobList_->topLevelItem(static_cast<int>(row))) {
            item->setSelected(true);
        }
    });
}

void MainDialog::setOverallBar(int position) {
    onWindowThread([this, position] { overallBar_->setValue(position); });
}

void MainDialog::setJobBar(int position) {
    onWindowThread([this, position] { jobBar_->setValue(position); });
}

void MainDialog::startProgressTimer() {
    onWindowThread([this] { progressTimer_.start(); });
}

void MainDialog::stopProgressTimer() {
    onWindowThread([this] { progressTimer_.stop(); });
}

bool MainDialog::shutDownWhenFinished() {
    bool checked = false;
    onWindowThread([this, &checked] { checked = shutDown_->isChecked(); });
    return checked;
}

bool MainDialog::askOverwrite(const std::string& question) {
    bool overwrite = false;
    onWindowThread([&] { overwrite = dialogs_.confirm(question, "Warning"); });
    return overwrite;
}

void MainDialog::showMessage(const std::string& text) {
    onWindowThread([&] { dialogs_.message(text); });
}

}  // namespace pelorine
