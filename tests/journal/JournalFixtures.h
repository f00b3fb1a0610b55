#pragma once

#include "JournalRecord.h"

#include <QTest>

#include <vector>

/// A run's worth of varied records: chart points, register rows and clears, with values that
/// differ in every field so that a swapped or dropped field shows.
inline std::vector<JournalRecord> sampleRun(int count)
{
    using T = JournalRecord::Type;
    std::vector<JournalRecord> run;
    for (int i = 0; i < count; ++i) {
        if (i % 11 == 10) {
            run.push_back(JournalRecord::cleared(i % 22 == 10 ? T::ChartClear : T::RegisterClear));
        } else if (i % 4 == 3) {
            RegisterRow row;
            row.localMs = 1'800'000'000'000 + i * 7;
            row.measTime = 0.005 * i + 0.001;
            for (int k = 0; k < 3; ++k)
                row.value[k] = float(i * 3 + k) + 0.25f;
            row.flags = quint16(0x3FFF - i);
            run.push_back(JournalRecord::registerRow(row));
        } else {
            ChartSample p;
            p.measTime = 0.005 * i + 0.002;
            for (int k = 0; k < 3; ++k) {
                p.channelValue[k] = float(i * 3 + k) - 0.5f;
                p.active[k] = ((i >> k) & 1) != 0;
            }
            p.pk1State = i % 2 == 0;
            p.pk2State = i % 3 == 0;
            p.H1 = 100 + i;
            p.F1 = -200 - i;
            p.H2 = 2'000'000'000 - i;
            p.F2 = -2'000'000'000 + i;
            run.push_back(JournalRecord::chartPoint(p));
        }
    }
    return run;
}

/// The same without its clears: one journal from start to end.
inline std::vector<JournalRecord> sampleRunWithoutClears(int count)
{
    std::vector<JournalRecord> run;
    for (const JournalRecord &record : sampleRun(count))
        if (record.type == JournalRecord::Type::ChartPoint || record.type == JournalRecord::Type::RegisterRow)
            run.push_back(record);
    return run;
}

inline void compareRecords(const JournalRecord &got, const JournalRecord &want)
{
    QCOMPARE(int(got.type), int(want.type));
    const ChartSample &p = got.point, &q = want.point;
    QCOMPARE(p.measTime, q.measTime);
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(p.channelValue[k], q.channelValue[k]);
        QCOMPARE(p.active[k], q.active[k]);
    }
    QCOMPARE(p.pk1State, q.pk1State);
    QCOMPARE(p.pk2State, q.pk2State);
    QCOMPARE((std::array{p.H1, p.F1, p.H2, p.F2}), (std::array{q.H1, q.F1, q.H2, q.F2}));
    const RegisterRow &r = got.row, &s = want.row;
    QCOMPARE(r.localMs, s.localMs);
    QCOMPARE(r.measTime, s.measTime);
    for (int k = 0; k < 3; ++k)
        QCOMPARE(r.value[k], s.value[k]);
    QCOMPARE(r.flags, s.flags);
}
