#pragma once
// The settings grid: a two-column name/value table with one row per
// PropertyItem, edited in place with a combo box, an edit box or a "..."
// button that opens a chooser.
//
// The grid shows copies of its owner's rows, each with the owner's key, and
// knows nothing of jobs or profiles. Every committed edit is reported as
// edited(key, text); the owner decides what becomes of it and sends the
// rows' values back with updateItem() and refresh().

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

    // Appends a row showing a copy of `item`, reported as `key`, and
    // returns its index.
    int addItem(const PropertyItem& item, int key);
    // Removes every row; the divider stays. Text typed into a combo and not
    // yet committed is dropped.
    void reset();
    // The row reported as `key` shows `item` from now on (nothing without
    // such a row); refresh() shows it.
    void updateItem(int key, const PropertyItem& item);
    // Repaints, and puts a row's value back into its open editor when the
    // owner changed the value (for example after refusing a typed one).
    void refresh();

    int count() const { return static_cast<int>(rows_.size()); }
    const PropertyItem* item(int row) const;
    // 0 until the first row is drawn, then where the name column ends.
    int divider() const { return divider_; }
    // The row last released on (-1 before any).
    int currentRow() const { return currentRow_; }
    int topRow() const { return topRow_; }

    QSize sizeHint() const override;

signals:
    // The row reported as `key` took `text`: a combo entry was chosen, text
    // typed into a combo or an edit box was committed (Enter, the focus
    // leaving it, or another row chosen; an edit box only when the text
    // differs from the value before), or a "..." chooser gave a value.
    void edited(int key, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* watchedEditor(QObject* watched) const;
    int rowWidth() const;
    void updateScrollRange();
    void scrolledTo(int top);
    void selectRow(int row);
    // selectRow(), scrolled so that the row shows whole.
    void moveToRow(int row);
    // Tab (`next`) or Shift+Tab from the grid or its editor: the row after or
    // before, or out of the grid past either end.
    void tabFromRow(bool next);
    bool tabbed(const QEvent* event);
    void showEditor();
    void showCombo(int row, const QRect& place);
    void showEdit(int row, const QRect& place);
    void showChooserButton(const QRect& place);
    void chooseValue();
    void commitTypedText();
    void commitTypedEdit();
    bool editorStillInUse(QWidget* editor) const;
    void hideTextEditors();
    // Row `row` takes `text`, and the owner hears of it.
    void commit(int row, const std::string& text);

    struct GridRow {
        PropertyItem item;
        int key;
    };
    std::vector<GridRow> rows_;
    PropertyListChoosers* choosers_;
    std::unique_ptr<PropertyListChoosers> desktopChoosers_;
    QScrollBar* scrollBar_;
    QFont font_;

    int divider_ = 0;
    int topRow_ = 0;
    int currentRow_ = -1;
    // The row a combo, edit box or "..." button edits; -1 once a reset took it.
    int comboRow_ = -1;
    int editRow_ = -1;
    int buttonRow_ = -1;
    QPointer<QComboBox> combo_;
    QPointer<QLineEdit> edit_;
    QPointer<QPushButton> button_;
    // Text was typed into the combo, or the edit box, and not yet committed.
    bool typedPending_ = false;
    bool editPending_ = false;

    // The keyboard came in with Tab or Shift+Tab: the next one opens the first
    // or the last row, whichever row was open before.
    bool tabbedIn_ = false;

    bool tracking_ = false;
    int trackX_ = 0;
};

}  // namespace pelorine
