#pragma once

#include "RegisterCellText.h"
#include "RegisterStore.h"

#include <QAbstractTableModel>

/// The register table, a view over the rows of a store owned elsewhere: one row per
/// registration, or one empty row while there is none. Column titles are the horizontal
/// header. Cell texts are made only when shown.
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

private:
    const RegisterStore &store_;
    qint64 shown_ = 0; ///< the store's rows the view knows of
    mutable RegisterCellText cellText_;
    bool titles_ = false;
    bool coloured_ = false;
};
