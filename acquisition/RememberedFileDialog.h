#pragma once

#include "UserDialogs.h"

/// A save or open dialog that offers the name chosen last time, as a dialog object kept
/// for the whole run does.
class RememberedFileDialog {
public:
    enum Kind { Save, Open };

    RememberedFileDialog(Kind kind, FileDialogRequest request) : kind_(kind), request_(std::move(request)) {}

    std::optional<ChosenFile> execute(UserDialogs &dialogs)
    {
        auto chosen = kind_ == Save ? dialogs.saveFile(request_) : dialogs.openFile(request_);
        if (chosen)
            request_.fileName = chosen->path;
        return chosen;
    }

    const QString &fileName() const { return request_.fileName; }

private:
    Kind kind_;
    FileDialogRequest request_;
};
