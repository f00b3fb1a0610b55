#pragma once

#include "RegisterCellText.h"
#include "RegisterStore.h"

#include <QAbstractTableModel>

/// The register table: one row per registration, or one empty row while there is none. Column
/// titles are the horizontal header. Cell texts are made only when shown.
class RegisterTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit RegisterTableModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Shows the column titles ("Index", "Czas [s]", ...); until then the title row is empty.
    void showTitles();
    /// "kolor": the channel and output columns take their colours as background.
    void setColoured(bool coloured);
    bool coloured() const { return coloured_; }

    /// Adds a registration at the end; the first one fills the empty row.
    void append(const RegisterRow &row);
    /// Removes every registration; the next one is numbered 0 again.
    void clear();
    /// Replaces every registration with the given rows.
    void adopt(RegisterStore &&rows);

    const RegisterStore &store() const { return store_; }

private:
    RegisterStore store_;
    mutable RegisterCellText cellText_;
    bool titles_ = false;
    bool coloured_ = false;
};
