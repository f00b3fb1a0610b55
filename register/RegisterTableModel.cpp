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

int RegisterTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(std::clamp<qint64>(shown_, 1, std::numeric_limits<int>::max()));
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
    if (role != Qt::DisplayRole || index.row() >= shown_)
        return {};
    return cellText_.text(index.row(), store_.at(index.row()), index.column());
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
    // A view holds at most int rows; the store may hold more than it can show.
    const qint64 total = std::min<qint64>(store_.size(), std::numeric_limits<int>::max());
    if (total <= shown_)
        return;
    if (shown_ == 0) {
        shown_ = 1;
        emit dataChanged(index(0, 0), index(0, RegisterColumnCount - 1), {Qt::DisplayRole});
        if (total == 1)
            return;
    }
    beginInsertRows({}, int(shown_), int(total - 1));
    shown_ = total;
    endInsertRows();
}

void RegisterTableModel::reset()
{
    beginResetModel();
    shown_ = std::min<qint64>(store_.size(), std::numeric_limits<int>::max());
    endResetModel();
}
