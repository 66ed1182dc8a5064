#pragma once
// The settings grid: a two-column name/value table with one row per
// PropertyItem, edited in place with a combo box, an edit box or a "..."
// button that opens a chooser.
//
// Ownership: the grid keeps pointers only; the items must outlive their rows
// (until reset() or the grid's end). The grid knows nothing of jobs or
// profiles. It tells its owner about edits through four signals, emitted at
// the moment of the commit; connect them with Qt::QueuedConnection so that a
// handler sees the row values as they are when it runs, after the grid has
// finished with the event that caused them. Within one combo choice the
// specific signal (outputFormatChosen or clipVideoChosen) comes before
// valueChanged.

#include <QCursor>
#include <QFont>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "grid/PropertyListChoosers.h"
#include "grid/PropertyListLogic.h"
#include "profiles/PropertyItem.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace pelorine {

class PropertyList : public QWidget {
    Q_OBJECT

public:
    // `choosers` must outlive the grid; nullptr means the desktop's dialogs.
    explicit PropertyList(QWidget* parent = nullptr, PropertyListChoosers* choosers = nullptr);
    ~PropertyList() override;

    // Appends a row showing `item` and returns its index.
    int addItem(PropertyItem* item);
    // Removes every row; the items live on, and so does the divider. Text
    // typed into a combo and not yet committed is dropped.
    void reset();
    // Repaints, and puts a row's value back into its open editor when the
    // owner changed the value (for example after refusing a typed one).
    void refresh();

    int count() const { return static_cast<int>(items_.size()); }
    PropertyItem* item(int row) const;
    // 0 until the first row is drawn, then where the name column ends.
    int divider() const { return divider_; }
    // The row last released on (-1 before any).
    int currentRow() const { return currentRow_; }
    int topRow() const { return topRow_; }
    // The face every editor gets ("MS Sans Serif" 8 pt or a free look-alike).
    const QFont& editorFont() const { return font_; }

    QSize sizeHint() const override;

signals:
    // Text typed into "Start time" or "End time" was committed (Enter, the
    // focus leaving the edit box, or another row chosen) and differs from
    // the value before; the owner checks it.
    void clipTimeTyped();
    // A combo entry was chosen, or text typed into a combo was committed
    // (Enter, the focus leaving the combo, or another row chosen).
    void valueChanged();
    // An entry was chosen in "Output format" (before its valueChanged).
    void outputFormatChosen();
    // An entry was chosen in "Clip video" (before its valueChanged).
    void clipVideoChosen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* watchedEditor(QObject* watched) const;
    int rowWidth() const;
    void updateScrollRange();
    void scrolledTo(int top);
    void selectRow(int row);
    void showEditor();
    void showCombo(PropertyItem& item, const QRect& place);
    void showEdit(PropertyItem& item, const QRect& place);
    void showChooserButton(const QRect& place);
    void chooseValue();
    void commitTypedText();
    void commitTypedEdit();
    bool editorStillInUse(QWidget* editor) const;
    void hideTextEditors();
    void send(const GridNotices& notices);

    std::vector<PropertyItem*> items_;
    PropertyListChoosers* choosers_;
    std::unique_ptr<PropertyListChoosers> desktopChoosers_;
    QScrollBar* scrollBar_;
    QFont font_;

    int divider_ = 0;
    int topRow_ = 0;
    int currentRow_ = -1;
    // The item a combo, edit box or "..." button edits; it stays valid across a
    // reset because the window owns the items.
    PropertyItem* comboItem_ = nullptr;
    PropertyItem* editItem_ = nullptr;
    PropertyItem* buttonItem_ = nullptr;
    QPointer<QComboBox> combo_;
    QPointer<QLineEdit> edit_;
    QPointer<QPushButton> button_;
    // Text was typed into the combo, or the edit box, and not yet committed.
    bool typedPending_ = false;
    bool editPending_ = false;

    bool tracking_ = false;
    int trackX_ = 0;
};

}  // namespace pelorine
