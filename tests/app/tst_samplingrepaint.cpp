#include "ContinuousSampling.h"
#include "RegisterPage.h"
#include "RegisterTableModel.h"

#include <QPaintEvent>
#include <QTabWidget>
#include <QTest>

namespace {

// Counts the paints of more than half of the watched widget: the fields and labels that
// change each repaint a small part of it.
class WholePaints : public QObject {
public:
    explicit WholePaints(QWidget *watched) : watched(watched) { watched->installEventFilter(this); }
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            const QRect painted = static_cast<QPaintEvent *>(event)->region().boundingRect();
            if (2 * painted.width() * painted.height() > watched->width() * watched->height())
                ++paints;
        }
        return false;
    }

private:
    QWidget *watched;
};

} // namespace

class TestSamplingRepaint : public QObject {
    Q_OBJECT

private slots:
    // Sampling rewrites the readout's fields and labels hundreds of times a second; none of
    // that may make the main window lay out and repaint all of its page.
    void samplingRepaintsOnlyWhatChanges()
    {
        SimulatedRun run;
        Program &program = *run.program;
        QVERIFY(startContinuousSampling(program));
        QVERIFY(QTest::qWaitForWindowExposed(&program.main()));
        runFor(500);
        auto *pages = program.main().findChild<QTabWidget *>(QStringLiteral("PageControl1"));
        WholePaints counter(pages);
        const qint64 samplesBefore = program.registerPage().table().knownRows();
        runFor(1000);
        QVERIFY(program.registerPage().table().knownRows() > samplesBefore + 100);
        QVERIFY2(counter.paints <= 2, qPrintable(QStringLiteral("%1 repaints of the whole page").arg(counter.paints)));
    }
};

QTEST_MAIN(TestSamplingRepaint)
#include "tst_samplingrepaint.moc"
