#pragma once
// The main window: a frameless 720 x 540 skin with its own title strip, the
// skin buttons, the job list, the preview area, the settings grid and the
// progress bars. It only lays out, paints and forwards: every decision is
// MainController's.

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <memory>

#include "app/MainController.h"
#include "app/MainView.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressDialog;
class QTreeWidget;

namespace pelorine::controls {
class ProgressBar;
class SkinButton;
}  // namespace pelorine::controls

namespace pelorine {

class MainWindow final : public QWidget, public MainView {
    Q_OBJECT

public:
    MainWindow(MainController::Services services, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    MainController& controller() { return *controller_; }
    // What the window shows, as it reports it with its commands and events.
    WindowState state() const;

    // MainView, on the window's thread.
    void focusDialog() override;
    void minimise() override;
    int popUpMenu(int menu, int button) override;
    void setOutputPathText(const std::string& text) override;
    void keepAlive() override;
    void onWindowThread(const std::function<void()>& work) override;
    void appendRow(const std::vector<std::string>& cells) override;
    void removeRow(std::size_t row) override;
    void clearRows() override;
    void setCell(std::size_t row, int column, const std::string& text) override;
    void selectNoRow() override;
    void showRows(const ShownRows& rows) override;
    void refreshRows(const ShownRows& rows) override;
    void selectProfile(int index) override;
    void showCustomProfile() override;
    void showClip(double start, double end, double duration) override;
    // PreviewView
    preview::PreviewTarget previewTarget() override;
    void setPreviewPause(int showPause) override;
    void setPlayButtonState(bool playing, bool repaint) override;
    void startPlaybackTimer(int periodMs) override;
    void stopPlaybackTimer() override;
    void setSeekPosition(double seconds) override;
    void selectOnlyRow(std::size_t row) override;
    void showTiming(const std::string& text) override;
    void beginTask(const std::string& title, int steps) override;
    bool stepTask(int step, const std::string& label) override;
    void endTask() override;

    // BatchView: called by the conversion worker and carried over to the
    // window's thread. Once the window is closing they return at once.
    void selectRow(std::size_t row) override;
    void setOverallBar(int position) override;
    void setJobBar(int position) override;
    void startProgressTimer() override;
    void stopProgressTimer() override;
    bool shutDownWhenFinished() override;
    bool askOverwrite(const std::string& question) override;
    void showMessage(const std::string& text) override;
    void jobEnded(std::size_t, const JobResult&) override {}
    // On the window's thread: the grid shows the selected row's Job.
    void batchEnded() override;

    // The controls, by their ids (for tests and the parts that fill them).
    QWidget* control(int id) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Files and folders dropped on the job list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Checks the items the controller answers for, in submenus too.
    void showChecks(const QMenu& menu) const;
    void createControls();
    void createSkinButtons();
    void createJobList();
    void createSettingsGrid();
    void createShortcuts();
    // The list's context menu at `at` (list coordinates).
    void showListMenu(const QPoint& at);
    // The first selected row of the job list, if any.
    std::optional<std::size_t> selectedRow() const;
    // A click or right-click on a row loads its Job.
    void loadClickedRow();
    void place(QWidget* widget, int id, int left, int top, int right, int bottom);
    void skinBroken();
    // The estimated size of the batch against the free space, above the list.
    void createEstimateLine();
    void refreshEstimate();

    Dialogs& dialogs_;
    std::unique_ptr<MainController> controller_;
    std::map<int, QWidget*> controls_;
    QTreeWidget* jobList_ = nullptr;
    class PropertyList* grid_ = nullptr;
    QComboBox* profiles_ = nullptr;
    QProgressDialog* task_ = nullptr;
    QLineEdit* outputPath_ = nullptr;
    QCheckBox* shutDown_ = nullptr;
    controls::ProgressBar* jobBar_ = nullptr;
    controls::ProgressBar* overallBar_ = nullptr;
    class PreviewPanel* preview_ = nullptr;
    QLabel* timing_ = nullptr;
    QTimer progressTimer_;
    QLabel* estimate_ = nullptr;
    // Sizes change with the list and its settings, free space and the stick
    // with the world: the line is looked at again every second.
    QTimer estimateTimer_;
    std::atomic<bool> closing_{false};
    bool brokenReported_ = false;
    // Our own drag of the title strip, where the window manager offers none.
    std::optional<QPoint> dragOffset_;
};

}  // namespace pelorine
