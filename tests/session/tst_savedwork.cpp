#include "MeasurementSession.h"

#include <QSignalSpy>
#include <QTest>

namespace {

MeasurementSession *newSession(QObject *parent)
{
    auto *session = new MeasurementSession(AcquisitionClock{.now = [] { return 0.0; }, .set = [](double) {}}, parent);
    session->setAutoRegister(true);
    session->record();
    return session;
}

void take(MeasurementSession &session, int samples)
{
    for (int i = 0; i < samples; ++i)
        session.takeSample(Sample{.time = 0.01 * i});
}

} // namespace

// What counts as saved: a save covers what its mark counted when it copied the rows or points,
// so that samples taken while it wrote, or a clear meanwhile, leave the run unsaved.
class TestSavedWork : public QObject {
    Q_OBJECT

private slots:
    void savesCoverWhatTheyCopied()
    {
        MeasurementSession *session = newSession(this);
        QVERIFY(!session->unsavedWork());
        take(*session, 5);
        QVERIFY(session->unsavedWork());

        QSignalSpy registerSaved(session, &MeasurementSession::registerWhollySaved);
        QSignalSpy chartExported(session, &MeasurementSession::chartWhollyExported);
        const SavedState::Mark rows = session->registerMark();
        const SavedState::Mark points = session->chartMark();
        take(*session, 1); // arrives while the files are written
        session->registerSaved(rows);
        session->chartExported(points);
        QVERIFY(session->unsavedWork());
        QCOMPARE(registerSaved.size() + chartExported.size(), 0);

        session->registerSaved(session->registerMark());
        QCOMPARE(registerSaved.size(), 1);
        QVERIFY(session->unsavedWork()); // the chart still is not
        session->chartExported(session->chartMark());
        QCOMPARE(chartExported.size(), 1);
        QVERIFY(!session->unsavedWork());

        take(*session, 1);
        QVERIFY(session->unsavedWork());
    }

    void clearedMeanwhileOrAdopted()
    {
        MeasurementSession *session = newSession(this);
        take(*session, 3);
        const SavedState::Mark rows = session->registerMark();
        session->clearRegister();
        session->clearChart();
        QVERIFY(!session->unsavedWork()); // nothing left to save
        take(*session, 3);
        session->registerSaved(rows); // of rows that are gone
        session->chartExported(session->chartMark());
        QVERIFY(session->unsavedWork());

        ChartData chart;
        RegisterStore store;
        store.append(RegisterRow{});
        session->registerSaved(session->registerMark());
        QVERIFY(!session->unsavedWork());
        session->adopt(std::move(chart), std::move(store), 1.0);
        QVERIFY(session->unsavedWork()); // a run taken back is in no file of the user's
    }
};

QTEST_GUILESS_MAIN(TestSavedWork)
#include "tst_savedwork.moc"
