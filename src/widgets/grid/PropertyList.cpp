#include "grid/PropertyList.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "grid/PropertyListGeometry.h"

namespace pelorine {
namespace {

QColor toQColor(const Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

QFont gridFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSize(8);
    return font;
}

}  // namespace

PropertyList::PropertyList(QWidget* parent, PropertyListChoosers* choosers)
    : QWidget(parent),
      choosers_(choosers),
      scrollBar_(new QScrollBar(Qt::Vertical, this)),
      font_(gridFont()) {
    if (choosers_ == nullptr) {
        desktopChoosers_ = std::make_unique<QtPropertyListChoosers>();
        choosers_ = desktopChoosers_.get();
    }
    setFont(font_);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    scrollBar_->hide();
    scrollBar_->setSingleStep(1);
    connect(scrollBar_, &QScrollBar::valueChanged, this, &PropertyList::scrolledTo);
}

PropertyList::~PropertyList() {
    // Gone before the grid is half torn down, so their focus changes cannot
    // reach the event filter of a dying grid.
    delete combo_.data();
    delete edit_.data();
}

int PropertyList::addItem(const PropertyItem& item, int key) {
    rows_.push_back({item, key});
    updateScrollRange();
    update();
    return count() - 1;
}

void PropertyList::reset() {
    // The rows are about to show something else: text typed for the old ones
    // must not be announced as a change of the new ones.
    typedPending_ = false;
    editPending_ = false;
    rows_.clear();
    currentRow_ = -1;
    comboRow_ = editRow_ = buttonRow_ = -1;
    // An editor left standing would sit over a row that is no longer there.
    hideTextEditors();
    if (button_) {
        button_->hide();
    }
    updateScrollRange();
    update();
}

const PropertyItem* PropertyList::item(int row) const {
    return row >= 0 && row < count() ? &rows_[static_cast<std::size_t>(row)].item : nullptr;
}

void PropertyList::updateItem(int key, const PropertyItem& item) {
    for (GridRow& row : rows_) {
        if (row.key == key) {
            row.item = item;
        }
    }
}

void PropertyList::commit(int row, const std::string& text) {
    if (item(row) == nullptr) {
        return;  // a reset took the row while its chooser was open
    }
    GridRow& shown = rows_[static_cast<std::size_t>(row)];
    shown.item.value = text;
    update();
    emit edited(shown.key, QString::fromStdString(text));
}

QSize PropertyList::sizeHint() const {
    return QSize(190, 239);
}

int PropertyList::rowWidth() const {
    return scrollBar_->isHidden() ? width() : width() - scrollBar_->width();
}

void PropertyList::updateScrollRange() {
    const int whole = wholeRowsIn(height());
    const int last = std::max(0, count() - whole);
    const QSignalBlocker quiet(scrollBar_);
    scrollBar_->setVisible(count() > whole);
    scrollBar_->setRange(0, last);
    scrollBar_->setPageStep(whole);
    topRow_ = std::clamp(topRow_, 0, last);
    scrollBar_->setValue(topRow_);
}

void PropertyList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    scrollBar_->setGeometry(width() - extent, 0, extent, height());
    updateScrollRange();
}

void PropertyList::scrolledTo(int top) {
    topRow_ = top;
    setFocus(Qt::OtherFocusReason);
    if (combo_) {
        combo_->hide();
    }
    // The button does not travel with its row, so it goes too.
    if (button_) {
        button_->hide();
    }
    update();
}

void PropertyList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const int width = rowWidth();
    const int last = std::min(count(), topRow_ + wholeRowsIn(height()) + 1);
    for (int row = topRow_; row < last; ++row) {
        const QRect place = rowRect(row, topRow_, width);
        if (divider_ == 0) {
            divider_ = initialDivider(place);
        }
        const PropertyItem& item = rows_[static_cast<std::size_t>(row)].item;
        const RowPaint paint = rowPaint(place, divider_);
        painter.fillRect(paint.nameCell, toQColor(nameCellShade(item.name)));
        painter.setPen(QPen(toQColor(kGridLineColour), 1));
        for (const QLine& edge : paint.nameEdges) {
            painter.drawLine(edge);
        }
        for (const QLine& edge : paint.valueEdges) {
            painter.drawLine(edge);
        }
        painter.setPen(Qt::black);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
        painter.save();
        painter.setClipRect(paint.nameText);
        painter.drawText(paint.nameText, flags, QString::fromStdString(item.name));
        painter.setClipRect(paint.valueText);
        painter.drawText(paint.valueText, flags, QString::fromStdString(item.value));
        painter.restore();
    }
    if (hasFocus() && count() > 0) {
        // The row Down, F2 or Enter opens.
        const int row = tabbedIn_ ? 0 : std::max(currentRow_, 0);
        painter.save();
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(rowRect(row, topRow_, width).adjusted(1, 1, -2, -2));
        painter.restore();
    }
    if (tracking_) {
        // The guide inverts what is under it, so it shows on any shade.
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.drawLine(trackX_, 0, trackX_, height() - 1);
    }
}

void PropertyList::mousePressEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (event->button() == Qt::LeftButton && isOnDivider(x, divider_)) {
        tracking_ = true;
        setCursor(Qt::SizeHorCursor);
        hideTextEditors();
        trackX_ = clampDivider(x, width());
        update();
        return;
    }
    QWidget::mousePressEvent(event);
}

void PropertyList::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (tracking_) {
        const int next = clampDivider(x, width());
        if (next != trackX_) {
            update(QRect(trackX_, 0, 1, height()));
            trackX_ = next;
            update(QRect(trackX_, 0, 1, height()));
        }
        return;
    }
    setCursor(isOnDivider(x, divider_) ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

void PropertyList::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (tracking_) {
        tracking_ = false;
        divider_ = clampDivider(at.x(), width());
        update();
        return;
    }
    if (!QRect(0, 0, rowWidth(), height()).contains(at)) {
        return;
    }
    const int row = rowAt(at.y(), topRow_, count());
    if (row >= 0) {
        selectRow(row);
    }
}

void PropertyList::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0 && !scrollBar_->isHidden()) {
        scrollBar_->setValue(scrollBar_->value() - notches * QApplication::wheelScrollLines());
    }
    event->accept();
}

void PropertyList::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const int step = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
    // Not the Enter an editor passes on: that one ended the typing.
    const bool open =
        hasFocus() && (key == Qt::Key_F2 || key == Qt::Key_Return || key == Qt::Key_Enter);
    if ((step == 0 && !open) || count() == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    // F2 and Enter open the row's editor again, the first row's before any.
    const int from = tabbedIn_ ? -1 : currentRow_;
    moveToRow(std::clamp(from < 0 && open ? 0 : from + step, 0, count() - 1));
}

void PropertyList::moveToRow(int row) {
    const int whole = wholeRowsIn(height());
    if (row < topRow_) {
        scrollBar_->setValue(row);
    } else if (row >= topRow_ + whole) {
        scrollBar_->setValue(row - whole + 1);
    }
    selectRow(row);
}

// Tab and Shift+Tab go from row to row, whatever editor a row has (the arrow
// keys choose a combo's entries), and leave the grid past either end. The
// grid shows when it holds the keyboard itself: Down, F2 or Enter open a row.
void PropertyList::tabFromRow(bool next) {
    const bool fresh = currentRow_ < 0 || tabbedIn_;
    const int row = fresh ? (next ? 0 : count() - 1) : currentRow_ + (next ? 1 : -1);
    if (row >= 0 && row < count()) {
        moveToRow(row);
        return;
    }
    // Out from the grid itself, not from its editor, which sits last in the
    // window's order.
    setFocus(Qt::OtherFocusReason);
    focusNextPrevChild(next);
}

// A Tab or Shift+Tab press taken as a move from row to row: true when it was one.
bool PropertyList::tabbed(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
        return false;
    }
    tabFromRow(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
    return true;
}

bool PropertyList::event(QEvent* event) {
    if (hasFocus() && tabbed(event)) {
        return true;
    }
    return QWidget::event(event);
}

void PropertyList::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    tabbedIn_ = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
    update();
    QWidget::focusInEvent(event);
}

void PropertyList::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void PropertyList::selectRow(int row) {
    // Choosing another row is done with the one before: its typed text counts.
    commitTypedText();
    commitTypedEdit();
    currentRow_ = row;
    tabbedIn_ = false;
    showEditor();
}

void PropertyList::showEditor() {
    const PropertyItem* current = item(currentRow_);
    if (current == nullptr) {
        return;
    }
    const EditorPlaces places = editorPlaces(rowRect(currentRow_, topRow_, rowWidth()), divider_);
    if (button_) {
        button_->hide();
    }
    switch (current->kind) {
        case EditorKind::Combo:
            showCombo(currentRow_, places.combo);
            break;
        case EditorKind::Edit:
            showEdit(currentRow_, places.edit);
            break;
        case EditorKind::Colour:
        case EditorKind::Font:
        case EditorKind::File:
            buttonRow_ = currentRow_;
            showChooserButton(places.button);
            break;
    }
}

void PropertyList::showCombo(int row, const QRect& place) {
    const PropertyItem& shown = *item(row);
    typedPending_ = false;
    delete combo_.data();
    comboRow_ = row;
    auto* combo = new QComboBox(this);
    combo_ = combo;
    combo->setObjectName(QStringLiteral("propertyCombo"));
    combo->setFont(font_);
    const bool typing = shown.fixedList == 0;
    combo->setEditable(typing);
    if (typing) {
        // Typed text is a value of its own: never completed from or added to the list.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
    }
    const int entryHeight = std::max(1, combo->fontMetrics().height());
    combo->setMaxVisibleItems(std::max(1, kComboDropExtent / entryHeight));
    combo->setGeometry(place);
    for (const std::string& entry : optionEntries(shown.options)) {
        combo->addItem(QString::fromStdString(entry));
    }
    combo->installEventFilter(this);
    connect(combo, &QComboBox::activated, this, [this, combo](int index) {
        if (item(comboRow_) != nullptr && index >= 0) {
            typedPending_ = false;
            commit(comboRow_, combo->itemText(index).toStdString());
        }
    });
    if (typing) {
        // Typed text is a value only once the user is done with it: Enter, the
        // focus leaving, or another row chosen. Half-typed text ("32" on the
        // way to "320x240") is never announced.
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this] { typedPending_ = true; });
        connect(combo->lineEdit(), &QLineEdit::editingFinished, this,
                &PropertyList::commitTypedText);
    }
    combo->show();
    combo->setFocus(Qt::OtherFocusReason);
    const QString value = QString::fromStdString(shown.value);
    combo->setCurrentIndex(combo->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive));
    if (typing) {
        combo->setEditText(value);
    } else {
        // A value that is no entry still shows, with nothing selected.
        combo->setPlaceholderText(value);
    }
}

void PropertyList::showEdit(int row, const QRect& place) {
    const PropertyItem& shown = *item(row);
    delete edit_.data();
    editRow_ = row;
    auto* edit = new QLineEdit(this);
    edit_ = edit;
    edit->setObjectName(QStringLiteral("propertyEdit"));
    edit->setFont(font_);
    edit->setGeometry(place);
    edit->installEventFilter(this);
    // Typed text is a value once the user is done with it, as in a combo:
    // "00:0" on the way to "00:01:30.00" is no time.
    editPending_ = false;
    connect(edit, &QLineEdit::textEdited, this, [this] { editPending_ = true; });
    connect(edit, &QLineEdit::editingFinished, this, &PropertyList::commitTypedEdit);
    edit->show();
    edit->setFocus(Qt::OtherFocusReason);
    edit->setText(QString::fromStdString(shown.value));
}

void PropertyList::showChooserButton(const QRect& place) {
    if (!button_) {
        button_ = new QPushButton(QStringLiteral("..."), this);
        button_->setObjectName(QStringLiteral("propertyChooserButton"));
        button_->setFont(font_);
        connect(button_, &QPushButton::clicked, this, &PropertyList::chooseValue);
        button_->installEventFilter(this);
    }
    button_->setGeometry(place);
    button_->show();
    button_->setFocus(Qt::OtherFocusReason);
}

void PropertyList::chooseValue() {
    if (item(buttonRow_) == nullptr) {
        return;
    }
    const PropertyItem& shown = *item(buttonRow_);
    std::optional<std::string> chosen;
    switch (shown.kind) {
        case EditorKind::Colour: {
            if (const auto colour = choosers_->chooseColour(this, parseRgbValue(shown.value))) {
                chosen = formatRgbValue(*colour);
            }
            break;
        }
        case EditorKind::Font:
            chosen = choosers_->chooseFontFace(this);
            break;
        case EditorKind::File:
            chosen = choosers_->chooseFile(this, startFolderOf(shown.value));
            break;
        case EditorKind::Combo:
        case EditorKind::Edit:
            break;
    }
    if (chosen) {
        if (button_) {
            button_->hide();
        }
        commit(buttonRow_, *chosen);
    }
}

void PropertyList::commitTypedText() {
    if (!typedPending_ || !combo_ || item(comboRow_) == nullptr) {
        return;
    }
    typedPending_ = false;
    commit(comboRow_, combo_->currentText().toStdString());
}

void PropertyList::commitTypedEdit() {
    if (!editPending_ || !edit_ || item(editRow_) == nullptr) {
        return;
    }
    editPending_ = false;
    const std::string text = edit_->text().toStdString();
    if (text != item(editRow_)->value) {
        commit(editRow_, text);
    }
}

void PropertyList::refresh() {
    // An editor still showing text the owner has since replaced (a refused
    // value) shows the row's value again, unless the user is typing in it.
    if (combo_ && item(comboRow_) != nullptr && !typedPending_ && combo_->isEditable()) {
        const QString value = QString::fromStdString(item(comboRow_)->value);
        if (combo_->currentText() != value) {
            const QSignalBlocker quiet(combo_.data());
            combo_->setCurrentIndex(
                combo_->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive));
            combo_->setEditText(value);
        }
    }
    if (edit_ && item(editRow_) != nullptr && !editPending_) {
        const QString value = QString::fromStdString(item(editRow_)->value);
        if (edit_->text() != value) {
            const QSignalBlocker quiet(edit_.data());
            edit_->setText(value);
        }
    }
    update();
}

bool PropertyList::editorStillInUse(QWidget* editor) const {
    // The combo's list is a popup window of its own: opening it moves the
    // focus there (more than once, with various reasons), yet the user is
    // still working in the combo.
    if (editor == combo_ && combo_->view()->isVisible()) {
        return true;
    }
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && (focus == editor || editor->isAncestorOf(focus));
}

void PropertyList::hideTextEditors() {
    if (combo_) {
        combo_->hide();
    }
    if (edit_) {
        edit_->hide();
    }
}

// The editor a focus event belongs to, or null. An editor being destroyed
// loses its focus too; by then it is a plain QWidget, which this leaves alone.
QWidget* PropertyList::watchedEditor(QObject* watched) const {
    if (auto* combo = qobject_cast<QComboBox*>(watched); combo && combo == combo_.data()) {
        return combo;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && edit == edit_.data()) {
        return edit;
    }
    return nullptr;
}

bool PropertyList::eventFilter(QObject* watched, QEvent* event) {
    if ((watchedEditor(watched) != nullptr || (button_ && watched == button_.data())) &&
        tabbed(event)) {
        return true;
    }
    QWidget* editor = event->type() == QEvent::FocusOut ? watchedEditor(watched) : nullptr;
    if (editor) {
        // A popup taking the keyboard, or the whole window losing it (to
        // another program, or while a popup closes), is no end of the edit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            !editorStillInUse(editor)) {
            if (editor == combo_) {
                commitTypedText();
            } else {
                commitTypedEdit();
            }
            editor->hide();
            update();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pelorine
