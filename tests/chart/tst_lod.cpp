#include "PointReduction.h"
#include "PointSeries.h"
#include "ReducedSeries.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {
constexpr int Width = 800;
constexpr int Height = 300;

enum class Shape { Noisy, Steps, Sparse };

PointSeries makeSeries(Shape shape)
{
    PointSeries series;
    QRandomGenerator random(11);
    double level = 180;
    const int count = shape == Shape::Sparse ? 300 : 200000;
    for (int i = 0; i < count; ++i) {
        const double x = i * 0.005;
        switch (shape) {
        case Shape::Noisy:
            level = std::clamp(level + random.bounded(2.0) - 1.0, 0.0, 360.0);
            series.add(x, level + 20 * std::sin(i * 0.7) + random.bounded(15.0));
            break;
        case Shape::Steps:
            if (random.bounded(100) < 3)
                level = level == 75 ? 125 : 75;
            series.add(x, i % 5000 < 10 ? 10 * (i % 10) : level); // short bursts of many levels
            break;
        case Shape::Sparse:
            series.add(x * 300, random.bounded(360.0));
            break;
        }
    }
    return series;
}

// Draws the points as the chart does, aliased in the series pen, straight or stepped,
// as one polyline or segment by segment (the chart's fast way).
QImage draw(const std::vector<PlotPoint> &points, bool steps, double xMin, double xMax, bool segments)
{
    QPolygonF line;
    auto at = [&](double x, double y) {
        return QPointF((x - xMin) * Width / (xMax - xMin), (Height - 1) - y * (Height - 1) / 360.0);
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (steps && i > 0)
            line << at(points[i].x, points[i - 1].y);
        line << at(points[i].x, points[i].y);
    }
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setPen(QPen(QColor(255, 128, 0), 2));
    if (segments) {
        for (qsizetype i = 1; i < line.size(); ++i)
            painter.drawLine(line[i - 1], line[i]);
    } else {
        painter.drawPolyline(line);
    }
    return image;
}

std::vector<PlotPoint> allPoints(const PointSeries &series, std::size_t from, std::size_t to)
{
    std::vector<PlotPoint> points;
    for (std::size_t i = from; i < to; ++i)
        points.push_back({series.x(i), series.y(i)});
    return points;
}

struct Difference {
    int pixels = 0;
    int detached = 0; // differing pixels with no pixel drawn in both pictures next to them
};

Difference compare(const QImage &a, const QImage &b)
{
    const QRgb background = qRgb(0, 0, 0);
    auto drawnInBoth = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < Width && y < Height && a.pixel(x, y) != background &&
               b.pixel(x, y) != background;
    };
    Difference difference;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            if (a.pixel(x, y) == b.pixel(x, y))
                continue;
            ++difference.pixels;
            bool attached = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx)
                    attached = attached || drawnInBoth(x + dx, y + dy);
            }
            difference.detached += attached ? 0 : 1;
        }
    }
    return difference;
}
} // namespace

class TestLod : public QObject {
    Q_OBJECT

private slots:
    void drawsTheSamePicture_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<bool>("steps");
        QTest::addColumn<double>("xMin");
        QTest::addColumn<double>("xMax");
        QTest::addColumn<int>("from"); // -1: a view of the whole series, else a page slice [from, to)
        QTest::addColumn<int>("to");

        QTest::newRow("noisy, full view") << int(Shape::Noisy) << false << 0.0 << 999.995 << -1 << 0;
        QTest::newRow("noisy, zoomed") << int(Shape::Noisy) << false << 123.4 << 321.1 << -1 << 0;
        QTest::newRow("noisy, page slice") << int(Shape::Noisy) << false << 100.0 << 350.0 << 20000 << 60000;
        QTest::newRow("steps, full view") << int(Shape::Steps) << true << 0.0 << 999.995 << -1 << 0;
        QTest::newRow("steps, zoomed") << int(Shape::Steps) << true << 24.9 << 50.3 << -1 << 0;
        QTest::newRow("sparse, zoomed") << int(Shape::Sparse) << false << 100.0 << 300.0 << -1 << 0;
    }
    void drawsTheSamePicture()
    {
        QFETCH(int, shape);
        QFETCH(bool, steps);
        QFETCH(double, xMin);
        QFETCH(double, xMax);
        QFETCH(int, from);
        QFETCH(int, to);
        const PointSeries series = makeSeries(Shape(shape));
        // A page is its slice; a view of the whole series also keeps one neighbour each side.
        const bool page = from >= 0;
        const std::size_t inView = series.lowerBound(xMin);
        const std::size_t first = page ? std::size_t(from) : (inView > 0 ? inView - 1 : 0);
        const std::size_t last = page ? std::size_t(to) : std::min(series.upperBound(xMax) + 1, series.size());

        ReducedSeries reducedSeries;
        reducedSeries.update(series, {first, last, xMin, xMax, Width});
        const std::vector<PlotPoint> &reduced = reducedSeries.points();
        QVERIFY(reduced.size() <= 8 * (Width + 2));
        for (const bool segments : {false, true}) {
            const QImage full = draw(allPoints(series, first, last), steps, xMin, xMax, segments);
            const QImage fewer = draw(reduced, steps, xMin, xMax, segments);
            const Difference difference = compare(full, fewer);
            qInfo("%s: %zu of %zu points, %d pixels differ", segments ? "segments" : "polyline", reduced.size(),
                  last - first, difference.pixels);
            // Tolerance: the pen's ends and joins may move a line's edge by one pixel here and
            // there, never more than one pixel in 2000 and never away from the line itself.
            QVERIFY2(difference.pixels <= Width * Height / 2000, qPrintable(QString::number(difference.pixels)));
            QCOMPARE(difference.detached, 0);
        }
    }
};

QTEST_MAIN(TestLod)
#include "tst_lod.moc"
