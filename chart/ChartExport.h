#pragma once

#include "RememberedFileDialog.h"
#include "SavedFile.h"

#include <QObject>
#include <QPixmap>

#include <functional>

class BackgroundJob;
class ChartData;
class QCustomPlot;
class QWidget;

/// The chart saved as a bitmap, a JPEG picture (both as they stand on screen: the current
/// page and zoom) or a spreadsheet of all points, and the general export window.
class ChartExport : public QObject {
    Q_OBJECT

public:
    ChartExport(QCustomPlot *plot, const ChartData &data, UserDialogs &dialogs, QObject *parent = nullptr);

    void BitBtn10Click(); ///< bitmap
    void BitBtn11Click(); ///< spreadsheet
    void BitBtn12Click(); ///< JPEG, then the general export window

    /// Writes the chart as it is on screen in `format` ("BMP", "JPG", "PNG"), whatever
    /// the name's extension; a message says why when it cannot be written.
    bool savePicture(const QString &path, const char *format);
    /// The chart as it stands on screen.
    QPixmap picture() const;

    /// How the points go into a file; `progress` returns false once the user cancelled.
    using PointsWriter = std::function<SaveResult(const ChartData &chart, const QString &path,
                                                  const std::function<bool(qint64, qint64)> &progress)>;
    /// Writes all points as they are now into `path` in the background, with a progress window
    /// after 400 ms; recording goes on meanwhile. A failure is reported when it ends.
    void exportPoints(const QString &path, PointsWriter write);
    bool exporting() const;

signals:
    /// An export of the points copied them as they are now, and later wrote them all.
    void pointsCopied();
    void pointsWritten();

private:
    void report(const QString &path, const QString &reason);

    QCustomPlot *plot;
    const ChartData &data;
    UserDialogs &dialogs;
    BackgroundJob *job;
    RememberedFileDialog SaveDialog1;
    RememberedFileDialog SaveDialog2;
};
