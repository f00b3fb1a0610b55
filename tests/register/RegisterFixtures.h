#pragma once

#include "RegisterFileInfo.h"
#include "RegisterStore.h"

#include <QByteArray>
#include <QString>

/// Three registrations: default boxes; the output lines added; date and time added, with
/// channel 2 still showing its dashes. With `channel1Active` false, channel 1's "Aktywny" box is
/// unchecked throughout.
RegisterStore threeRows(bool channel1Active = true);

/// The header of the files made from threeRows(): saved at 5.03.2024 14:07:09, 100 ms period.
RegisterFileInfo threeRowsInfo();

/// The bytes of a golden file under tests/data/register.
QByteArray golden(const QString &name);
