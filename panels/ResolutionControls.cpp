#include "ResolutionControls.h"

#include "DeviceLink.h"
#include "EnterEdit.h"
#include "UpDown.h"

#include <QComboBox>
#include <QLineEdit>
#include <cmath>

namespace {
constexpr int kItemValues[] = {0, 256, 1024, 2048, 4096, 32768};
}

ResolutionControls::ResolutionControls(const std::array<Row, 3> &rows, DeviceLink &link, QObject *parent)
    : QObject(parent), rows_(rows), link_(link)
{
    for (int i = 0; i < 3; ++i) {
        const Row &row = rows_[i];
        row.arrows->setBuddy(row.edit);
        connect(row.list, &QComboBox::activated, this, [this, i] { listClick(i); });
        connect(row.arrows, &UpDown::changingEx, this, [this, i](int value) { UpDownChangingEx(i, value); });
        connect(row.arrows, &UpDown::clicked, this, [this, i] { enter(i); });
        new EnterEdit(
            row.edit, [this] { return link_.device().panelRefreshPending; }, [this, i](const QString &) { enter(i); });
    }
}

int ResolutionControls::itemForValue(long long value)
{
    for (int item = 1; item < int(std::size(kItemValues)); ++item)
        if (kItemValues[item] == value)
            return item;
    return 0;
}

std::optional<int> ResolutionControls::valueOfItem(int item)
{
    if (item < 1 || item >= int(std::size(kItemValues)))
        return std::nullopt;
    return kItemValues[item];
}

void ResolutionControls::UpDownChangingEx(int sensor, int newValue)
{
    rows_[sensor].list->setCurrentIndex(itemForValue(newValue));
}

void ResolutionControls::listClick(int sensor)
{
    const Row &row = rows_[sensor];
    if (const auto value = valueOfItem(row.list->currentIndex()))
        row.edit->setText(QString::number(*value));
    enter(sensor);
}

void ResolutionControls::enter(int sensor)
{
    if (link_.device().panelRefreshPending) // the panel is about to show the instrument's values
        return;
    const Row &row = rows_[sensor];
    setEditState(row.edit, EditState::Entered);
    bool ok = false;
    const int typed = row.edit->text().trimmed().toInt(&ok);
    const float wanted = ok ? float(typed) : std::trunc(link_.device().Set.Res[sensor]);
    link_.want([&](DeviceParams &set) { set.Res[sensor] = wanted; });
    row.list->setCurrentIndex(itemForValue(ok ? typed : static_cast<long long>(wanted)));
}

void ResolutionControls::showReported(int sensor, long long steps)
{
    const Row &row = rows_[sensor];
    row.edit->setText(QString::number(steps));
    row.arrows->setPosition(int(std::clamp<long long>(steps, row.arrows->minimum(), row.arrows->maximum())));
    UpDownChangingEx(sensor, row.arrows->position());
    setEditState(row.edit, EditState::Confirmed);
}
