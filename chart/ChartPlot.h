#pragma once

#include "ChartData.h"
#include "ChartPaging.h"

#include <QObject>
#include <QRect>
#include <optional>
#include <qcustomplot.h>
#include <vector>

class QLabel;
class SeriesPicture;
struct PlotPoint;
class QTimer;
class QToolButton;

/// Draws the chart data on the plot: the five lines with their looks, the legend whose
/// check boxes show and hide them, the rectangle zoom and the page indicator. Only what
/// a pixel column can show is drawn, and a frame that only adds points draws only their
/// columns, so a day's run draws as fast as a minute's.
class ChartPlot : public QObject {
    Q_OBJECT

public:
    ChartPlot(QCustomPlot *plot, const ChartData &data, ChartPaging &paging);

    /// The series the legend shows.
    ShownSeries shown() const;
    /// Redraws from the data, the current page and the zoom: only what changed, when the points
    /// only grew at their end under the same axes.
    void redraw();
    /// The points series `series` is drawn from, as of the last redraw while shown.
    const std::vector<PlotPoint> &drawnPoints(int series) const;
    /// Undoes any zoom: the bottom axis follows the data (or the page), the left one is 0..360.
    void fullView();
    bool zoomed() const { return zoomed_; }

signals:
    void doubleClicked();
    /// The legend showed or hid a series: the page count may change.
    void shownChanged();
    void previousPageClicked();
    void nextPageClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpLooks();
    void setUpLegend();
    /// Shows or hides the line whose legend entry is at `pos`; false when none is there.
    bool toggleLegendEntryAt(const QPoint &pos);
    void zoomTo(const QRect &pixels);
    void animationStep();
    void placeIndicator();
    void layOut();
    /// The bottom axis as the zoom, the page or the data's span decide it.
    QCPRange bottomAxisRange(const ShownSeries &visible) const;
    double leftAxisTop() const;

    QCustomPlot *plot;
    SeriesPicture *picture;
    const ChartData &data;
    ChartPaging &paging;
    bool zoomed_ = false;
    QRect laidOutFor_;
    struct Range {
        double xMin, xMax, yMin, yMax;
    };
    Range zoomFrom{}, zoomTarget{};
    int zoomStep = 0;
    QTimer *zoomTimer;
    QLabel *pageText;
    QToolButton *pageLeft;
    QToolButton *pageRight;
};
