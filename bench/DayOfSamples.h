#pragma once

// The samples of a benchmark's day at 200 samples a second: three sensors swinging with a little
// noise, the output lines switching now and then, each sample charted and registered.
#include "JournalRecord.h"
#include "JournalSink.h"
#include "RegisterRow.h"
#include "SamplePoints.h"

#include <QString>
#include <QtGlobal>

#include <cmath>
#include <vector>

inline ChartSample dayPoint(qint64 i)
{
    ChartSample p;
    p.measTime = 0.005 * double(i);
    for (int c = 0; c < 3; ++c) {
        p.channelValue[c] = float(180 + 150 * std::sin(double(i) * 1e-4 * (c + 1)) + double(i * 7919 % 101) * 0.1);
        p.active[c] = true;
    }
    p.pk1State = (i / 3000) % 2;
    p.pk2State = (i / 4100) % 2;
    p.H1 = 50;
    p.H2 = 50;
    p.F2 = 100;
    return p;
}

inline RegisterRow dayRow(qint64 i)
{
    RegisterRow row;
    row.measTime = 0.005 * double(i);
    const ChartSample p = dayPoint(i);
    for (int c = 0; c < 3; ++c)
        row.value[c] = p.channelValue[c];
    row.flags = RegisterRow::SampleNumber | RegisterRow::MeasTime;
    for (int c = 0; c < 3; ++c)
        row.flags |= (RegisterRow::Channel0 | RegisterRow::Reading0) << c;
    return row;
}

/// The journal of `samples` such samples, written in batches as the journal's own thread writes.
inline void writeDayJournal(const QString &path, qint64 samples)
{
    QString error;
    auto sink = openJournalFile(path, JournalOpen::New, &error);
    if (!sink)
        qFatal("cannot open %s: %s", qPrintable(path), qPrintable(error));
    const auto header = JournalFormat::encodeHeader(1'796'000'000'000);
    sink->write(header.data(), header.size());
    std::vector<unsigned char> batch;
    for (qint64 i = 0; i < samples; ++i) {
        for (const JournalRecord &r : {JournalRecord::chartPoint(dayPoint(i)), JournalRecord::registerRow(dayRow(i))}) {
            const auto bytes = JournalFormat::encode(r);
            batch.insert(batch.end(), bytes.begin(), bytes.end());
        }
        if (batch.size() >= (1 << 20) || i + 1 == samples) {
            sink->write(batch.data(), batch.size());
            batch.clear();
        }
    }
}
