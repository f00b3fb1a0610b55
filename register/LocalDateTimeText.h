#pragma once

#include <QDate>
#include <QString>
#include <QTime>

/// The date in the system's short date format.
QString shortDateText(QDate date);

/// The time in the system's long time format, without the time-zone name that format may carry.
QString longTimeText(QTime time);
