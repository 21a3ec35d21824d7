#pragma once

#include <QPixmap>
#include <QTableView>

// The data list's table. Each reading appends a row at the end of a list
// scrolled to its end, which moves every visible row up by one: the view keeps
// a picture of its rows, shifts it by the scrolled distance and draws only the
// rows that came into sight; its paints copy the picture. Anything else that
// may change how rows look (selection, focus, data, columns, size, palette,
// scrolling by the user) makes the next paint draw every row as any table
// does, and the picture is taken again after it.
class DataListView : public QTableView {
public:
    explicit DataListView(QWidget* parent = nullptr);

    // The model is about to take row `row` at its end while the list shows
    // its last row; the scroll that follows brings it into sight.
    void expectAppendAtEnd(int row);
    // The rows appended and scrolled into sight since the last call go into
    // the picture: the old rows shifted, the new ones drawn.
    void takeAppendedRows();

    // Forgets the picture: the next paint draws every row (for the tests).
    void dropPicture() { invalidatePicture(); }

    // Pictures taken whole, and pictures given new rows only (for the tests
    // and the benchmarks).
    int fullPaints() const { return m_nFullPaints; }
    int rowPaints() const { return m_nRowPaints; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

public:
    void reset() override;

private:
    void invalidatePicture() { m_bPictureValid = false; }
    // Draws `area` (viewport coordinates) of the rows into the picture.
    void renderIntoPicture(const QRect& area);
    void refreshPicture();
    bool pictureFits() const;

    QPixmap m_picture; // the viewport as last painted
    bool m_bPictureValid = false;
    bool m_bRendering = false; // a paint into the picture is under way
    bool m_bRefreshQueued = false;
    int m_nFirstNewRow = -1; // rows from here on are new since the picture was taken
    int m_nOffsetBefore = 0; // the rows' scroll offset before the first of them
    int m_nFullPaints = 0;
    int m_nRowPaints = 0;
};
