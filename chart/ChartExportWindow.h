#pragma once

#include <QDialog>

class ChartData;
class ChartExport;
class QComboBox;
class QLabel;
class UserDialogs;

/// The general export window: a preview of the chart and a choice of PNG, JPEG, BMP,
/// PDF or CSV of all points.
class ChartExportWindow : public QDialog {
    Q_OBJECT

public:
    ChartExportWindow(ChartExport &exporter, const ChartData &data, UserDialogs &dialogs, QWidget *parent = nullptr);

    /// The formats offered, in their order.
    static QStringList formats();
    void exportAs(int format);

private:
    ChartExport &exporter;
    const ChartData &data;
    UserDialogs &dialogs;
    QComboBox *format;
};
