#pragma once

#include "KeptRuns.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTreeWidget;

/// "Otwórz zapisany przebieg": the kept runs, newest first, with their start, end, counts and
/// size; a file that cannot be rebuilt is listed with the reason and cannot be chosen.
class KeptRunsWindow : public QDialog {
    Q_OBJECT

public:
    KeptRunsWindow(const std::vector<KeptRun> &runs, QWidget *parent = nullptr);

    QTreeWidget *list() const { return list_; }
    QPushButton *openButton() const { return open_; }

signals:
    void chosen(const QString &path);

private:
    void openChosen();

    QTreeWidget *list_;
    QPushButton *open_;
};
