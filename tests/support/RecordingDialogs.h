#pragma once

#include "UserDialogs.h"

#include <QStringList>
#include <functional>

/// Records every message box instead of showing it.
class RecordingDialogs : public UserDialogs {
public:
    /// "text" for plain boxes, "caption|text" for captioned ones, in order.
    QStringList shown;
    /// Runs while a box is "open", as a modal box would let the event loop run.
    std::function<void()> whileOpen;

    void message(const QString &text) override { record(text); }
    void information(const QString &text, const QString &caption) override { record(caption + "|" + text); }

private:
    void record(const QString &entry)
    {
        shown.append(entry);
        if (whileOpen)
            whileOpen();
    }
};
