#pragma once

#include "RegisterCellText.h"
#include "RegisterStore.h"

#include <QAbstractTableModel>

#include <algorithm>
#include <limits>

/// The register table, a view over the rows of a store owned elsewhere: one row per
/// registration, or one empty row while there is none. Column titles are the horizontal
/// header. Cell texts are made only when shown.
///
/// The model holds a window of the rows, at most as many as the view shows at once, and the
/// view scrolls by moving the window: a view's row header keeps memory and position arithmetic
/// for every row it knows of, which a day of rows would make cost more with every one.
class RegisterTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit RegisterTableModel(const RegisterStore &store, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Shows the column titles ("Index", "Czas [s]", ...); until then the title row is empty.
    void showTitles();
    /// "kolor": the channel and output columns take their colours as background.
    void setColoured(bool coloured);
    bool coloured() const { return coloured_; }

    /// Shows the rows the store gained at its end since the last call; the first fills the empty row.
    void catchUp();
    /// The store was emptied or replaced as a whole.
    void reset();
    const RegisterStore &store() const { return store_; }

    /// The window holds at most `rows` rows (unlimited until set).
    void setWindowRows(int rows);
    /// The window starts at the store's row `first`, kept within the rows known.
    void scrollTo(qint64 first);
    /// The store's row at the window's top.
    qint64 firstRow() const { return first_; }
    /// The store's rows the model knows of.
    qint64 knownRows() const { return shown_; }
    /// The largest first row: the one that shows the newest row last.
    qint64 lastFirstRow() const { return std::max<qint64>(0, shown_ - windowRows_); }

private:
    int rowsFrom(qint64 first, qint64 known) const;

    const RegisterStore &store_;
    qint64 shown_ = 0; ///< the store's rows the view knows of
    qint64 first_ = 0;
    int windowRows_ = std::numeric_limits<int>::max();
    mutable RegisterCellText cellText_;
    bool titles_ = false;
    bool coloured_ = false;
};
