#include "RegisterTableModel.h"

#include <QColor>

#include <algorithm>
#include <array>
#include <limits>

namespace {

const std::array<const char *, 7> kTitles = {"Index", "Czas [s]", "Czujnik 0", "Czujnik 1", "Czujnik 2", "PK1", "PK2"};

QVariant columnColour(int column)
{
    switch (column) {
    case Channel0Column:
        return QColor(255, 0, 0);
    case Channel0Column + 1:
        return QColor(0, 255, 0);
    case Channel0Column + 2:
        return QColor(0, 255, 255);
    case Pk1Column:
        return QColor(255, 255, 255);
    case Pk2Column:
        return QColor(255, 128, 0);
    default:
        return {};
    }
}

} // namespace

RegisterTableModel::RegisterTableModel(const RegisterStore &store, QObject *parent)
    : QAbstractTableModel(parent), store_(store), shown_(store.size())
{
}

int RegisterTableModel::rowsFrom(qint64 first, qint64 known) const
{
    return int(std::clamp<qint64>(known - first, 1, windowRows_));
}

int RegisterTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rowsFrom(first_, shown_);
}

int RegisterTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RegisterColumnCount;
}

QVariant RegisterTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::BackgroundRole)
        return coloured_ ? columnColour(index.column()) : QVariant();
    const qint64 row = first_ + index.row();
    if (role != Qt::DisplayRole || row >= shown_)
        return {};
    return cellText_.text(row, store_.at(row), index.column());
}

QVariant RegisterTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !titles_ || section < 0 ||
        section >= int(kTitles.size()))
        return {};
    return QString::fromUtf8(kTitles[size_t(section)]);
}

void RegisterTableModel::showTitles()
{
    titles_ = true;
    emit headerDataChanged(Qt::Horizontal, 0, RegisterColumnCount - 1);
}

void RegisterTableModel::setColoured(bool coloured)
{
    if (coloured == coloured_)
        return;
    coloured_ = coloured;
    emit dataChanged(index(0, 0), index(rowCount() - 1, RegisterColumnCount - 1), {Qt::BackgroundRole});
}

void RegisterTableModel::catchUp()
{
    const qint64 total = store_.size();
    if (total <= shown_)
        return;
    if (shown_ == 0) {
        shown_ = 1;
        emit dataChanged(index(0, 0), index(0, RegisterColumnCount - 1), {Qt::DisplayRole});
    }
    const int before = rowCount();
    const int after = rowsFrom(first_, total);
    if (after == before) {
        shown_ = total;
        return;
    }
    beginInsertRows({}, before, after - 1);
    shown_ = total;
    endInsertRows();
}

void RegisterTableModel::reset()
{
    beginResetModel();
    shown_ = store_.size();
    first_ = 0;
    endResetModel();
}

void RegisterTableModel::setWindowRows(int rows)
{
    beginResetModel();
    windowRows_ = std::max(1, rows);
    first_ = std::min(first_, lastFirstRow());
    endResetModel();
}

void RegisterTableModel::scrollTo(qint64 first)
{
    first = std::clamp<qint64>(first, 0, lastFirstRow());
    if (first == first_)
        return;
    // Away from the end the window is full, before and after: only its texts change.
    first_ = first;
    emit dataChanged(index(0, 0), index(rowCount() - 1, RegisterColumnCount - 1), {Qt::DisplayRole});
}
