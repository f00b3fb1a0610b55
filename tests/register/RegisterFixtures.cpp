#include "RegisterFixtures.h"

#include "Registration.h"

#include <QFile>

RegisterStore threeRows(bool channel1Active)
{
    const QDateTime now(QDate(2024, 3, 5), QTime(14, 7, 10));
    RegisterStore store;
    RegisterSample sample{1.5, {12.3456f, 200.5f, 359.99997f}, {true, channel1Active, true}, false, false, now};
    RegisterChoice choice;
    store.append(registerRow(sample, choice));

    sample.measTime = 1.75;
    sample.shown = {-0.25f, 0.03125f, 100.0f};
    sample.pk1State = true;
    choice.pk1 = choice.pk2 = true;
    store.append(registerRow(sample, choice));

    sample.measTime = 1234.5678;
    sample.shown = {7.0f, 8.5f, std::nullopt};
    choice = RegisterChoice();
    choice.date = choice.time = true;
    store.append(registerRow(sample, choice));
    return store;
}

RegisterFileInfo threeRowsInfo()
{
    RegisterFileInfo info;
    info.deviceTypeName = QStringLiteral("KX520S");
    info.measTime = 123.456789;
    info.periodMs = 100;
    info.now = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
    return info;
}

QByteArray golden(const QString &name)
{
    QFile file(QStringLiteral(KX_SOURCE_DIR "/tests/data/register/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing golden file " + name.toUtf8());
}
