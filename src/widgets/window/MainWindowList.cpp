// The main window's job list: its columns, clicks and context menu, files
// dropped on it, and its rows as the controller writes them.

#include "window/MainWindow.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QTreeWidget>

#include "app/Commands.h"
#include "controls/FlatHeader.h"
#include "controls/MenuCatalog.h"
#include "controls/SkinMenu.h"

namespace pelorine {
namespace {

// The list's context-menu items and the commands they stand for.
const std::pair<int, int> kListMenuCommands[] = {
    {command::kListMenuPlay, command::kListPlay},
    {command::kListMenuStop, command::kListStop},
    {command::kListMenuAddFile, command::kListAddFile},
    {command::kListMenuDeleteVideoFile, command::kListDeleteVideoFile},
    {command::kListMenuClear, command::kListClear},
    {command::kListMenuDvdSettings, command::kListDvdSettings},
    {command::kListMenuSetOutputFileName, command::kListSetOutputFileName},
    {command::kListMenuFileInformation, command::kListFileInformation},
    {command::kListMenuSendToHandheld, command::kListSendToHandheld},
    {command::kListMenuShowLog, command::kListShowLog},
    {command::kListMenuSoundAndSubtitles, command::kListSoundAndSubtitles},
};

struct Column {
    const char* header;
    Qt::Alignment alignment;
    int width;
};

// In the order of JobColumn.
const Column kColumns[] = {
    {"ID", Qt::AlignHCenter, 25},         {"Source", Qt::AlignLeft, 130},
    {"Begin Time", Qt::AlignHCenter, 80}, {"End Time", Qt::AlignHCenter, 80},
    {"Output", Qt::AlignLeft, 130},       {"Format", Qt::AlignHCenter, 60},
    {"Size", Qt::AlignRight, 70},         {"Status", Qt::AlignHCenter, 95},
    {"Sound", Qt::AlignHCenter, 60},      {"Subtitles", Qt::AlignLeft, 90},
};
static_assert(std::size(kColumns) == kColumnCount);

// Cells too narrow for a whole path, or a running Job's progress, show it
// whole as a tooltip.
bool showsWholeAsTooltip(int column) {
    return column == kSourceColumn || column == kOutputColumn || column == kStatusColumn;
}

// The local files of a drag, or nothing when it carries anything else.
QStringList droppedFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        files << url.toLocalFile();
    }
    return files;
}

}  // namespace

void MainWindow::createJobList() {
    jobList_ = new QTreeWidget(this);
    jobList_->setHeader(new controls::FlatHeader(jobList_));
    jobList_->setRootIsDecorated(false);
    jobList_->setUniformRowHeights(true);
    jobList_->setAllColumnsShowFocus(true);
    jobList_->setSelectionMode(QAbstractItemView::SingleSelection);
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
    // The status where it is seen during a batch: next to the row's number.
    jobList_->header()->moveSection(kStatusColumn, 1);
    // Files and folders dropped on the list are added; rows are never dragged.
    jobList_->setDragDropMode(QAbstractItemView::NoDragDrop);
    jobList_->viewport()->setAcceptDrops(true);
    jobList_->viewport()->installEventFilter(this);
    // Clicks load the Job; moving the selection with the keyboard does not.
    connect(jobList_, &QTreeWidget::itemClicked, this, [this] { loadClickedRow(); });
    connect(jobList_, &QTreeWidget::itemDoubleClicked, this,
            [this] { controller_->playSelected(selectedRow()); });
    jobList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(jobList_, &QTreeWidget::customContextMenuRequested, this, &MainWindow::showListMenu);
    place(jobList_, command::kJobListView, 14, 112, 506, 438);
}

void MainWindow::showListMenu(const QPoint& at) {
    // A right-click selects the row under it and loads it, like a click.
    if (QTreeWidgetItem* item = jobList_->itemAt(at)) {
        jobList_->setCurrentItem(item);
        loadClickedRow();
    }
    const bool selected = selectedRow().has_value();
    const auto menu = controls::buildSkinMenu(
        selected ? command::kListMenuWithSelection : command::kListMenuWithoutSelection, jobList_);
    const int chosen = menu->choose(jobList_->viewport()->mapToGlobal(at));
    for (const auto& [item, message] : kListMenuCommands) {
        if (item == chosen) {
            // Posted, as the list's menu does: the window handles it like the button.
            QMetaObject::invokeMethod(
                this, [this, message] { controller_->handleCommand(message, state()); },
                Qt::QueuedConnection);
        }
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != jobList_->viewport()) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (droppedFiles(drag->mimeData()).isEmpty()) {
                drag->ignore();
            } else {
                drag->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            std::vector<std::string> paths;
            for (const QString& file : droppedFiles(drop->mimeData())) {
                paths.push_back(file.toStdString());
            }
            if (paths.empty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            // Added once the drop is over, so the program the files came from
            // is not kept waiting while they are identified.
            QMetaObject::invokeMethod(
                this, [this, paths] { controller_->filesDropped(paths, state().profile); },
                Qt::QueuedConnection);
            return true;
        }
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void MainWindow::appendRow(const std::vector<std::string>& cells) {
    auto* item = new QTreeWidgetItem(jobList_);
    for (int i = 0; i < static_cast<int>(cells.size()) && i < static_cast<int>(std::size(kColumns));
         ++i) {
        const QString text = QString::fromStdString(cells[static_cast<std::size_t>(i)]);
        item->setText(i, text);
        item->setTextAlignment(i, kColumns[i].alignment | Qt::AlignVCenter);
        if (showsWholeAsTooltip(i)) {
            item->setToolTip(i, text);
        }
    }
}

void MainWindow::removeRow(std::size_t row) {
    delete jobList_->takeTopLevelItem(static_cast<int>(row));
}

void MainWindow::clearRows() {
    jobList_->clear();
}

void MainWindow::setCell(std::size_t row, int column, const std::string& text) {
    if (QTreeWidgetItem* item = jobList_->topLevelItem(static_cast<int>(row))) {
        item->setText(column, QString::fromStdString(text));
        if (showsWholeAsTooltip(column)) {
            item->setToolTip(column, QString::fromStdString(text));
        }
    }
}

std::optional<std::size_t> MainWindow::selectedRow() const {
    for (int i = 0; i < jobList_->topLevelItemCount(); ++i) {
        if (jobList_->topLevelItem(i)->isSelected()) {
            return static_cast<std::size_t>(i);
        }
    }
    return std::nullopt;
}

void MainWindow::selectNoRow() {
    // Clears the current row too, so that no key selects it and Qt has no
    // row to fall back on.
    jobList_->selectionModel()->clear();
}

void MainWindow::loadClickedRow() {
    controller_->jobOperations().loadJob(selectedRow());
}

void MainWindow::selectOnlyRow(std::size_t row) {
    if (QTreeWidgetItem* item = jobList_->topLevelItem(static_cast<int>(row))) {
        jobList_->clearSelection();
        jobList_->setCurrentItem(item);
        item->setSelected(true);
    }
}

void MainWindow::selectRow(std::size_t row) {
    onWindowThread([this, row] {
        // One row at a time is selected: the Job being converted.
        selectOnlyRow(row);
        if (QTreeWidgetItem* item = jobList_->topLevelItem(static_cast<int>(row))) {
            jobList_->scrollToItem(item);
        }
    });
}

}  // namespace pelorine
