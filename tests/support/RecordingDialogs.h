#pragma once

#include "UserDialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

/// Records every message box and file dialog instead of showing it.
class RecordingDialogs : public UserDialogs {
public:
    /// "text" for plain boxes, "caption|text" for captioned ones, "?text" for questions, in order.
    QStringList shown;
    /// Runs while a box is "open", as a modal box would let the event loop run.
    std::function<void()> whileOpen;
    /// The answers to questions, taken in order; No once they run out.
    QList<bool> answers;
    /// The files the user "chooses", taken in order; cancelled once they run out.
    QList<ChosenFile> files;
    /// Every file dialog's request, in order.
    QList<FileDialogRequest> fileRequests;

    void message(const QString &text) override { record(text); }
    void information(const QString &text, const QString &caption) override { record(caption + "|" + text); }
    bool confirm(const QString &text) override
    {
        record("?" + text);
        return !answers.isEmpty() && answers.takeFirst();
    }
    std::optional<ChosenFile> saveFile(const FileDialogRequest &request) override { return chooseFile(request); }
    std::optional<ChosenFile> openFile(const FileDialogRequest &request) override { return chooseFile(request); }

private:
    void record(const QString &entry)
    {
        shown.append(entry);
        if (whileOpen)
            whileOpen();
    }
    std::optional<ChosenFile> chooseFile(const FileDialogRequest &request)
    {
        fileRequests.append(request);
        if (files.isEmpty())
            return std::nullopt;
        return files.takeFirst();
    }
};
