#include "RegisterSaveProgress.h"

RegisterSaveProgress::RegisterSaveProgress(QWidget *parent, int minimumDurationMs)
    : dialog_(QStringLiteral("Zapisywanie tabeli rejestracji pomiarów..."), QStringLiteral("Przerwij"), 0, kSteps,
              parent)
{
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setMinimumDuration(minimumDurationMs);
}

RegisterProgress RegisterSaveProgress::callback()
{
    return [this](qint64 done, qint64 total) {
        // A modal dialog lets events through while it is shown: the window repaints and the
        // cancel button works.
        dialog_.setValue(total > 0 ? int(done * kSteps / total) : kSteps);
        return !dialog_.wasCanceled();
    };
}
