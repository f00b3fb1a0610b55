#pragma once

#include "DeviceState.h"

#include <QMap>
#include <QStringList>

/// Every field of the device state as "name" -> "value", so that tests can state
/// exactly which fields a step changed.
QMap<QString, QString> snapshot(const DeviceState &s);

/// "name=value" for each field that differs between the two snapshots, sorted.
QStringList changes(const QMap<QString, QString> &before, const QMap<QString, QString> &after);
