#include "ChartPlot.h"

#include "CheckableLegendItem.h"
#include "PointReduction.h"
#include "SeriesPicture.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <qcustomplot.h>

namespace {

constexpr int kZoomSteps = 50;
constexpr int kSmallestZoomDrag = 9;
constexpr int kLeftAxisMarginPixels = 10;

/// One minor tick between two labels.
class OneSubTickTicker : public QCPAxisTicker {
protected:
    int getSubTickCount(double) override { return 1; }
};

} // namespace

ChartPlot::ChartPlot(QCustomPlot *plot, const ChartData &data, ChartPaging &paging)
    : QObject(plot), plot(plot), data(data), paging(paging), zoomTimer(new QTimer(this)), pageText(new QLabel(plot)),
      pageLeft(new QToolButton(plot)), pageRight(new QToolButton(plot))
{
    setUpLooks();
    picture = new SeriesPicture(plot, data);
    setUpLegend();
    plot->setSelectionRectMode(QCP::srmCustom);
    plot->selectionRect()->setPen(QPen(QColor(128, 128, 255)));
    plot->selectionRect()->setBrush(QColor(128, 0, 255));
    connect(plot->selectionRect(), &QCPSelectionRect::accepted, this, [this](const QRect &rect) { zoomTo(rect); });
    connect(plot, &QCustomPlot::mouseDoubleClick, this, &ChartPlot::doubleClicked);
    zoomTimer->setInterval(8);
    connect(zoomTimer, &QTimer::timeout, this, &ChartPlot::animationStep);

    pageText->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    pageText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    pageLeft->setArrowType(Qt::LeftArrow);
    pageRight->setArrowType(Qt::RightArrow);
    pageLeft->setObjectName(QStringLiteral("ChartTool1Left"));
    pageRight->setObjectName(QStringLiteral("ChartTool1Right"));
    pageText->setObjectName(QStringLiteral("ChartTool1"));
    connect(pageLeft, &QToolButton::clicked, this, &ChartPlot::previousPageClicked);
    connect(pageRight, &QToolButton::clicked, this, &ChartPlot::nextPageClicked);
    plot->installEventFilter(this);
}

void ChartPlot::setUpLooks()
{
    QLinearGradient background(0, 0, 0, 1);
    background.setCoordinateMode(QGradient::ObjectBoundingMode);
    background.setColorAt(0, Qt::black);
    background.setColorAt(0.59, QColor(0, 0, 64)); // the halfway colour at 59 %
    background.setColorAt(1, QColor(0, 0, 128));
    plot->setBackground(QBrush(background));
    plot->setPlottingHint(QCP::phFastPolylines, true);
    plot->setNotAntialiasedElements(QCP::aeAll);
    plot->xAxis->setLabel(QStringLiteral("czas [s]"));
    plot->yAxis->setLabel(QStringLiteral("kąt [ °]"));
    plot->yAxis->setTicker(QSharedPointer<OneSubTickTicker>::create());
    plot->xAxis->setTicker(QSharedPointer<OneSubTickTicker>::create());
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis}) {
        axis->setBasePen(QPen(Qt::white));
        axis->setTickPen(QPen(Qt::white));
        axis->setSubTickPen(QPen(Qt::white));
        axis->setTickLabelColor(Qt::white);
        axis->setLabelColor(Qt::white);
        axis->grid()->setPen(QPen(QColor(192, 192, 192), 0, Qt::SolidLine));
        axis->grid()->setSubGridVisible(true);
        axis->grid()->setSubGridPen(QPen(QColor(128, 128, 128), 0, Qt::DotLine));
    }
    // The graphs hold no points: they give the legend its entries and their check boxes. The
    // lines are drawn by the series picture.
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        const SeriesStyle &style = data.style(i);
        QCPGraph *graph = plot->addGraph();
        graph->setName(style.title);
        graph->setPen(QPen(QColor(style.lineColour), 2));
    }
}

void ChartPlot::setUpLegend()
{
    QCPLegend *legend = plot->legend;
    legend->clearItems();
    legend->setVisible(true);
    legend->setBrush(Qt::NoBrush);
    legend->setBorderPen(Qt::NoPen);
    legend->setIconSize(10, 10);
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        auto *item = new CheckableLegendItem(legend, plot->graph(i));
        item->setTextColor(QColor(data.style(i).lineColour));
        legend->addItem(item);
    }
    // 5 % from the top, at the right.
    plot->axisRect()->insetLayout()->setInsetPlacement(0, QCPLayoutInset::ipFree);
    plot->axisRect()->insetLayout()->setInsetRect(0, QRectF(0.82, 0.05, 0.17, 0.3));
}

bool ChartPlot::toggleLegendEntryAt(const QPoint &pos)
{
    // The plot reports no legend clicks while a press starts the zoom rectangle, so the
    // press on an entry is taken here, before the plot sees it.
    QCPLegend *legend = plot->legend;
    for (int i = 0; i < legend->itemCount(); ++i) {
        auto *entry = qobject_cast<QCPPlottableLegendItem *>(legend->item(i));
        if (entry && entry->realVisibility() && entry->rect().contains(pos)) {
            entry->plottable()->setVisible(!entry->plottable()->visible());
            emit shownChanged();
            return true;
        }
    }
    return false;
}

ShownSeries ChartPlot::shown() const
{
    ShownSeries shown{};
    for (int i = 0; i < ChartData::SeriesCount; ++i)
        shown[size_t(i)] = plot->graph(i)->visible();
    return shown;
}

double ChartPlot::leftAxisTop() const
{
    const int height = std::max(kLeftAxisMarginPixels + 1, plot->axisRect()->height());
    return 360.0 * height / (height - kLeftAxisMarginPixels);
}

void ChartPlot::layOut()
{
    // The plot places its axis rect as it paints. Placed now, for the size and the labels of
    // the new range, the lines are reduced and painted once, for the rect they are shown in.
    laidOutFor_ = plot->viewport();
    for (const auto phase : {QCPLayoutElement::upPreparation, QCPLayoutElement::upMargins, QCPLayoutElement::upLayout})
        plot->plotLayout()->update(phase);
}

QCPRange ChartPlot::bottomAxisRange(const ShownSeries &visible) const
{
    if (zoomed_)
        return plot->xAxis->range();
    if (const auto page = paging.axisRange(data, visible))
        return {page->min, page->max};
    double xMin = 0;
    double xMax = 0;
    bool any = false;
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        const PointSeries &s = data.series(i);
        if (!visible[size_t(i)] || s.empty())
            continue;
        xMin = any ? std::min(xMin, s.x(0)) : s.x(0);
        xMax = any ? std::max(xMax, s.x(s.size() - 1)) : s.x(s.size() - 1);
        any = true;
    }
    return {xMin, xMax > xMin ? xMin + roundedSpan(xMax - xMin) : xMin + 1};
}

void ChartPlot::redraw()
{
    const ShownSeries visible = shown();
    const QCPRange x = bottomAxisRange(visible);
    const QCPRange yBefore = plot->yAxis->range();
    bool axesMoved = plot->xAxis->range() != x;
    plot->xAxis->setRange(x);
    if (!zoomed_)
        plot->yAxis->setRange(0, leftAxisTop());
    pageText->setText(paging.indicatorText(data, visible));
    // Painting a chart nobody sees costs the recording a share of its time; it is painted
    // when shown.
    if (plot->isVisible() && (axesMoved || plot->yAxis->range() != yBefore || plot->viewport() != laidOutFor_)) {
        layOut();
        if (!zoomed_) // the top keeps its margin over the height just laid out
            plot->yAxis->setRange(0, leftAxisTop());
    }
    axesMoved = axesMoved || plot->yAxis->range() != yBefore;
    placeIndicator();
    if (!plot->isVisible())
        return;
    const int columns = std::max(1, plot->axisRect()->width());
    std::array<SeriesView, ChartData::SeriesCount> views;
    for (int i = 0; i < ChartData::SeriesCount; ++i) {
        const PageSlice slice = paging.slice(data.series(i).size());
        views[std::size_t(i)] = {slice.from, slice.to, x.lower, x.upper, columns};
    }
    const SeriesPicture::Change change = picture->update(views, visible);
    if (axesMoved || change == SeriesPicture::Change::Whole)
        plot->replot(QCustomPlot::rpQueuedReplot);
    else if (change == SeriesPicture::Change::Columns)
        picture->layer()->replot();
}

const std::vector<PlotPoint> &ChartPlot::drawnPoints(int series) const
{
    return picture->points(series);
}

void ChartPlot::fullView()
{
    zoomTimer->stop();
    zoomed_ = false;
    redraw();
}

void ChartPlot::zoomTo(const QRect &pixels)
{
    // The rectangle holds both end pixels: a drag of d pixels is d + 1 wide.
    if (pixels.width() - 1 < kSmallestZoomDrag || pixels.height() - 1 < kSmallestZoomDrag)
        return;
    const QCPRange x = plot->xAxis->range();
    const QCPRange y = plot->yAxis->range();
    zoomFrom = {x.lower, x.upper, y.lower, y.upper};
    const double x1 = plot->xAxis->pixelToCoord(pixels.left());
    const double x2 = plot->xAxis->pixelToCoord(pixels.right());
    const double y1 = plot->yAxis->pixelToCoord(pixels.bottom());
    const double y2 = plot->yAxis->pixelToCoord(pixels.top());
    zoomTarget = {std::min(x1, x2), std::max(x1, x2), std::min(y1, y2), std::max(y1, y2)};
    zoomed_ = true;
    zoomStep = 0;
    zoomTimer->start();
}

void ChartPlot::animationStep()
{
    ++zoomStep;
    const double t = double(zoomStep) / kZoomSteps;
    const auto between = [t](double a, double b) { return a + (b - a) * t; };
    plot->xAxis->setRange(between(zoomFrom.xMin, zoomTarget.xMin), between(zoomFrom.xMax, zoomTarget.xMax));
    plot->yAxis->setRange(between(zoomFrom.yMin, zoomTarget.yMin), between(zoomFrom.yMax, zoomTarget.yMax));
    if (zoomStep >= kZoomSteps)
        zoomTimer->stop();
    redraw();
}

void ChartPlot::placeIndicator()
{
    const QRect area = plot->axisRect()->rect();
    const int h = 18;
    pageRight->setGeometry(area.right() - h, area.bottom() - h - 2, h, h);
    pageLeft->setGeometry(area.right() - 2 * h - 2, area.bottom() - h - 2, h, h);
    pageText->setGeometry(area.right() - 2 * h - 160, area.bottom() - h - 2, 154, h);
}

bool ChartPlot::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != plot)
        return false;
    if (event->type() == QEvent::Resize)
        QTimer::singleShot(0, this, &ChartPlot::redraw);
    if (event->type() == QEvent::Show)
        redraw(); // not painted while hidden: the points taken meanwhile, before the first paint
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        return press->button() == Qt::LeftButton && toggleLegendEntryAt(press->position().toPoint());
    }
    return false;
}
