#pragma once

#include "Sample.h"

#include <QWidget>
#include <array>
#include <memory>

namespace Ui {
class ChartPage;
}
class QLabel;
class QLineEdit;

/// The "Wykres" tab: the readings and output lines plotted against the acquisition time.
class ChartPage : public QWidget {
    Q_OBJECT

public:
    explicit ChartPage(QWidget *parent = nullptr);
    ~ChartPage() override;

    /// The reading of each sensor shown above the chart.
    QLineEdit *valueField(int sensor) const;
    /// The sampling rate shown above the chart.
    QLabel *rateLabel() const;

    void AppendSamplePoints(const Sample &sample);

private:
    std::unique_ptr<Ui::ChartPage> ui;
};
