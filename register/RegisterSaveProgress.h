#pragma once

#include "RegisterFileInfo.h"

#include <QProgressDialog>

/// The progress of one register save: a modal dialog that appears once saving has taken longer
/// than `minimumDurationMs`, so that a long save never freezes the window without feedback, and
/// whose cancel button abandons the file.
class RegisterSaveProgress {
public:
    explicit RegisterSaveProgress(QWidget *parent, int minimumDurationMs = 400);

    /// Passed to the save; keeps referring to this object.
    RegisterProgress callback();
    QProgressDialog &dialog() { return dialog_; }

private:
    static constexpr int kSteps = 1000;
    QProgressDialog dialog_;
};
