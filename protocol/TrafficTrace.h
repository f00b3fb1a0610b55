#pragma once

#include <QString>

/// Where protocol traffic is shown. Writers ask visible() first and build their
/// line only when someone looks.
class TrafficTrace {
public:
    virtual ~TrafficTrace() = default;
    virtual bool visible() const = 0;
    virtual void appendLine(const QString &line) = 0;
};
