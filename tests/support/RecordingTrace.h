#pragma once

#include "TrafficTrace.h"

#include <QStringList>

/// A traffic trace that keeps its lines; hidden, it must receive none.
class RecordingTrace : public TrafficTrace {
public:
    bool shown = true;
    QStringList lines;

    bool visible() const override { return shown; }
    void appendLine(const QString &line) override { lines.append(line); }
};
