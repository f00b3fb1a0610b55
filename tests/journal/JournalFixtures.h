#pragma once

#include "JournalRecord.h"

#include <QTest>

#include <vector>

/// A run's worth of varied records: charted samples, registered rows and each event, with
/// values that differ in every field so a swapped or dropped field shows.
inline std::vector<JournalRecord> sampleRun(int count)
{
    using T = JournalRecord::Type;
    const T events[] = {T::ChartRecord, T::ChartPause, T::ChartStop, T::ChartClear, T::RegisterClear};
    std::vector<JournalRecord> run;
    for (int i = 0; i < count; ++i) {
        Sample s;
        s.time = 0.005 * i + 0.001;
        for (int k = 0; k < 3; ++k) {
            s.value[k] = float(i * 3 + k) + 0.25f;
            s.present[k] = ((i >> k) & 1) != 0;
            s.cycles[k] = float(1000 * k + i);
        }
        s.pk1 = i % 2 == 0;
        s.pk2 = i % 3 == 0;
        const qint64 ms = 1'800'000'000'000 + i * 7;
        if (i % 11 == 10)
            run.push_back(JournalRecord::event(events[(i / 11) % 5], s.time, ms));
        else if (i % 4 == 3)
            run.push_back(JournalRecord::registered(s, quint16(0x3FFF - i), ms, i % 8 == 3));
        else
            run.push_back(JournalRecord::charted(s));
    }
    return run;
}

inline void compareRecords(const JournalRecord &got, const JournalRecord &want)
{
    QCOMPARE(int(got.type), int(want.type));
    QCOMPARE(got.route, want.route);
    QCOMPARE(got.rowFlags, want.rowFlags);
    QCOMPARE(got.localMs, want.localMs);
    QCOMPARE(got.sample.time, want.sample.time);
    QCOMPARE(got.sample.value, want.sample.value);
    QCOMPARE(got.sample.present, want.sample.present);
    QCOMPARE(got.sample.cycles, want.sample.cycles);
    QCOMPARE(got.sample.pk1, want.sample.pk1);
    QCOMPARE(got.sample.pk2, want.sample.pk2);
}
