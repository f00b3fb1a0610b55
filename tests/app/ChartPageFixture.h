#pragma once

#include "ChartExport.h"
#include "ChartExportWindow.h"
#include "ChartPage.h"
#include "ChartPlot.h"
#include "Konfigliniform.h"
#include "MeasurementSession.h"
#include "PointReduction.h"
#include "RecordingDialogs.h"
#include "SettingsFile.h"
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <limits>
#include <qcustomplot.h>

// The chart page over an acquisition clock the test advances, and small helpers.
namespace {

/// A chart page over a session whose acquisition clock the test advances, with recorded dialogs.
struct Fixture {
    RecordingDialogs dialogs;
    TKonigLiniiForm lines;
    std::array<bool, 3> active{true, true, true};
    double measTime = 0;
    int restarts = 0;
    MeasurementSession session{{[this] { return measTime; },
                                [this](double seconds) {
                                    ++restarts;
                                    measTime = seconds;
                                }}};
    ChartPage page{dialogs, lines, session};

    Fixture()
    {
        QObject::connect(&lines, &TKonigLiniiForm::outputLinesChanged, &session, &MeasurementSession::setOutputLines);
        session.setOutputLines(lines.height(0), lines.offset(0), lines.height(1), lines.offset(1));
    }

    /// One sample at the current time; the clock then runs one second on.
    void sample(bool pk1 = false, bool pk2 = false)
    {
        Sample s;
        s.time = measTime;
        s.value = {10.5f, 20.25f, 30.0f};
        s.present = {true, true, true};
        s.pk1 = pk1;
        s.pk2 = pk2;
        session.setActiveChannels(active);
        session.takeSample(s);
        measTime += 1;
    }
    void samples(int count)
    {
        for (int i = 0; i < count; ++i)
            sample();
    }

    /// Waits for an export in the background to end.
    bool exported() const
    {
        const ChartExport *exporter = page.findChild<ChartExport *>();
        return exporter && QTest::qWaitFor([exporter] { return !exporter->exporting(); }, 10000);
    }
    template <typename T> T *child(const char *name) const { return page.findChild<T *>(QLatin1String(name)); }
    QCustomPlot *plot() const { return child<QCustomPlot>("Chart1"); }
    QString indicator() const { return child<QLabel>("ChartTool1")->text(); }
    QCPRange xRange() const { return plot()->xAxis->range(); }
    /// The points a line is drawn from, as of the last frame painted.
    const std::vector<PlotPoint> &drawn(int series) const
    {
        return plot()->findChild<ChartPlot *>()->drawnPoints(series);
    }
    QSpinBox *lineField(int n) const { return lines.findChild<QSpinBox *>(QStringLiteral("CSpinEdit%1").arg(n)); }
};

inline QList<double> xsOf(const PointSeries &series)
{
    QList<double> xs;
    for (std::size_t i = 0; i < series.size(); ++i)
        xs << series.x(i);
    return xs;
}

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool rangeIs(const QCPRange &range, double lower, double upper)
{
    return qAbs(range.lower - lower) < 1e-9 && qAbs(range.upper - upper) < 1e-9;
}

} // namespace
