// Corrections and counters: the dialogs, "zeruj", "resetuj", "wyzeruj cykle", "Aktywny".
#include "PanelsFixture.h"

#include <QtTest>

class CorrectionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void dialogEntry_data();
    void dialogEntry();
    void dialogOpening();
    void dialogOpensCentredAndTakesTheKeys_data();
    void dialogOpensCentredAndTakesTheKeys();
    void multiplierConfirmedByInstrument();
    void zeroNowIsNotUndone();
    void resetWritesInOrder();
    void unpluggedSensorStopsDuringAcquisition();
    void cycleResetIsAcknowledged();
};

void CorrectionsTest::dialogEntry_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("member");
    QTest::addColumn<float>("expected");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("textAfter");
    const auto row = [](const char *name, const char *button, const char *typed, const char *member, float expected,
                        EditState state, const char *textAfter) {
        QTest::newRow(name) << QString(button) << QString(typed) << QString(member) << expected << int(state)
                            << QString(textAfter);
    };
    const EditState entered = EditState::Entered;
    // Wanted values before typing: UZP 7.25, Offset 3.5, COEF 1.5 for every sensor.
    row("multiplier 1", "SpeedButton6", "2,5", "COEF1", 2.5f, entered, "2,5");
    row("zero position rounded", "SpeedButton4", "1,23456", "UZP1", 1.235f, entered, "1,23456");
    row("multiplier rounded to thousandths", "SpeedButton6", "1,23456", "COEF1", 1.235f, entered, "1,23456");
    row("zero position 2 negative", "SpeedButton7", "-45,0004", "UZP2", -45.0f, entered, "-45,0004");
    row("offset 0", "SpeedButton2", "-12,5", "Offset0", -12.5f, entered, "-12,5");
    row("offset not a number", "SpeedButton8", "abc", "Offset2", 3.5f, entered, "abc");
    row("zero position not a number", "SpeedButton1", "12a", "UZP0", 7.25f, entered, "12a");
    row("multiplier not a number", "SpeedButton9", "abc", "COEF2", 1.5f, entered, "abc");
    // A refused multiplier shows the kept one, confirmed.
    row("multiplier 0 refused", "SpeedButton3", "0", "COEF0", 1.5f, EditState::Confirmed, "1,5");
    row("multiplier rounding to 0 refused", "SpeedButton6", "0,0004", "COEF1", 1.5f, EditState::Confirmed, "1,5");
    row("multiplier -0 refused", "SpeedButton6", "-0,0004", "COEF1", 1.5f, EditState::Confirmed, "1,5");
}

void CorrectionsTest::dialogEntry()
{
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QString, member);
    QFETCH(float, expected);
    QFETCH(int, state);
    QFETCH(QString, textAfter);
    Screen screen;
    screen.program->link().want([](DeviceParams &wanted) {
        for (int i = 0; i < 3; ++i) {
            wanted.UZP[i] = 7.25f;
            wanted.Offset[i] = 3.5f;
            wanted.COEF[i] = 1.5f;
        }
    });
    const DeviceParams &set = screen.device().Set;
    const DeviceParams before = set;
    screen.click(button);
    const bool multiplier = member.startsWith("COEF");
    QLineEdit *edit = multiplier ? screen.mnoznik().Edit6() : screen.wartosc().Edit1();
    QVERIFY(multiplier ? screen.mnoznik().isVisible() : screen.wartosc().isVisible());
    edit->clear();
    QTest::keyClicks(edit, typed);
    QVERIFY(shows(edit, EditState::Typing));
    QCOMPARE(edit->text(), typed);
    QCOMPARE(std::memcmp(&set, &before, sizeof set), 0); // nothing taken before Enter
    QTest::keyClick(edit, Qt::Key_Return);

    DeviceParams taken = set;
    QCOMPARE(correction(taken, member), expected);
    QVERIFY(shows(edit, EditState(state)));
    QCOMPARE(edit->text(), textAfter);
    DeviceParams others = set;
    DeviceParams original = before;
    correction(others, member) = correction(original, member);
    QCOMPARE(std::memcmp(&others, &before, sizeof set), 0); // nothing else changed
}

void CorrectionsTest::dialogOpensCentredAndTakesTheKeys_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("member");
    QTest::newRow("offset") << "SpeedButton5"
                            << "Offset1";
    QTest::newRow("multiplier") << "SpeedButton6"
                                << "COEF1";
}

void CorrectionsTest::dialogOpensCentredAndTakesTheKeys()
{
    QFETCH(QString, button);
    QFETCH(QString, member);
    Screen screen;
    screen.program->main().show();
    QVERIFY(QTest::qWaitForWindowActive(&screen.program->main()));
    screen.click(button);
    QWidget &dialog =
        member.startsWith("COEF") ? static_cast<QWidget &>(screen.mnoznik()) : static_cast<QWidget &>(screen.wartosc());
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const QPoint middle = dialog.screen()->availableGeometry().center();
    // Centred as a window without its frame is: the frame may add a few pixels.
    QVERIFY2((dialog.frameGeometry().center() - middle).manhattanLength() <= 8,
             qPrintable(QStringLiteral("at %1,%2 %3x%4, middle %5,%6")
                            .arg(dialog.x())
                            .arg(dialog.y())
                            .arg(dialog.frameGeometry().width())
                            .arg(dialog.frameGeometry().height())
                            .arg(middle.x())
                            .arg(middle.y())));
    // Typed straight away, without a click into the edit box.
    QWidget *typedInto = QApplication::focusWidget();
    QVERIFY(typedInto && typedInto->window() == &dialog);
    QTest::keyClick(typedInto, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(typedInto, "2,5");
    QTest::keyClick(typedInto, Qt::Key_Return);
    DeviceParams taken = screen.device().Set;
    QCOMPARE(correction(taken, member), 2.5f);
}

void CorrectionsTest::dialogOpening()
{
    SimParams params;
    params.Offset = {1.5f, 0.0f, 7.25f};
    params.UZP = {0.0f, 0.0f, 33.125f};
    Rig rig(params);
    QVERIFY(rig.settle());
    TWartoscForm &dialog = rig.wartosc();
    rig.click("SpeedButton2"); // offset, sensor 0
    QCOMPARE(dialog.Label1()->text(), QString("Offset ="));
    QCOMPARE(dialog.channel, 0);
    QCOMPARE(dialog.Edit1()->text(), QString("1,5"));
    QVERIFY(shows(dialog.Edit1(), EditState::Confirmed));
    QTest::keyClicks(dialog.Edit1(), "9");

    // While it is open, the other sensors' buttons change nothing.
    rig.click("SpeedButton7");
    rig.click("SpeedButton8");
    QCOMPARE(dialog.channel, 0);
    QCOMPARE(dialog.Label1()->text(), QString("Offset ="));
    QCOMPARE(dialog.Edit1()->text(), QString("1,59"));
    QVERIFY(shows(dialog.Edit1(), EditState::Typing));

    dialog.findChild<QAbstractButton *>("BitBtn1")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(rig.device().Set.Offset[0], 1.5f); // not entered, not taken
    rig.click("SpeedButton8");
    QCOMPARE(dialog.channel, 2);
    QCOMPARE(dialog.Edit1()->text(), QString("7,25"));
    QVERIFY(shows(dialog.Edit1(), EditState::Confirmed));
    dialog.hide();
    rig.click("SpeedButton7");
    QCOMPARE(dialog.Label1()->text(), QString("Poz. zero ="));
    QCOMPARE(dialog.Edit1()->text(), QString("33,125"));
    QVERIFY(shows(dialog.Edit1(), EditState::Confirmed));

    rig.click("SpeedButton3");
    QCOMPARE(rig.mnoznik().channel, 0);
    rig.click("SpeedButton9");
    QCOMPARE(rig.mnoznik().channel, 0);
}

void CorrectionsTest::multiplierConfirmedByInstrument()
{
    Rig rig;
    QVERIFY(rig.settle());
    rig.trace.lines.clear();
    rig.click("SpeedButton6");
    QLineEdit *edit = rig.mnoznik().Edit6();
    QCOMPARE(edit->text(), QString("1"));
    typeAndEnter(edit, "2,5");
    QCOMPARE(rig.device().Set.COEF[1], 2.5f);
    QVERIFY(shows(edit, EditState::Entered));
    QCOMPARE(rig.child<QLabel>("Label11")->text(), QString("1")); // never shown from the wanted value
    QVERIFY(runUntil([&] { return shows(edit, EditState::Confirmed); }, 3000));
    QCOMPARE(edit->text(), QString("2,5"));
    QCOMPARE(rig.child<QLabel>("Label11")->text(), QString("2,5"));
    QCOMPARE(rig.simParams().COEF[1], 2.5f);
    QCOMPARE(rig.writes().first(), writeOf(CMD_COEF1, packedData(2.5f)));
}

void CorrectionsTest::zeroNowIsNotUndone()
{
    SimParams params;
    params.UZP[0] = 0.5f;
    Rig rig(params);
    QVERIFY(rig.settle());
    rig.idleFor(300); // the sensor moves away from 0.5
    rig.trace.lines.clear();
    rig.click("SpeedButton21");
    QCOMPARE(rig.writesAtOnce(1), QStringList{writeOf(CMD_ZERO0)});
    QVERIFY(runUntil([&] { return rig.device().Set.UZP[0] != 0.5f; }, 3000));
    const float zero = rig.simParams().UZP[0];
    QVERIFY(zero != 0.5f);
    QVERIFY(sameParameter(rig.device().Set.UZP[0], zero));
    QVERIFY(sameParameter(rig.device().Stan.UZP[0], zero));
    rig.idleFor(1000);
    QCOMPARE(rig.simParams().UZP[0], zero);
    QVERIFY2(!commandsOf(rig.writes()).contains(QString::number(CMD_UZP0)), qPrintable(rig.writes().join(" / ")));
    QCOMPARE(rig.child<QLabel>("Label4")->text(), FormatGeneral(RoundDecimal(zero, -3)));
}

void CorrectionsTest::resetWritesInOrder()
{
    SimParams params;
    params.UZP[2] = 10.0f;
    params.COEF[2] = 2.0f;
    params.Offset[2] = 5.0f;
    Rig rig(params);
    QVERIFY(rig.settle());
    QCOMPARE(rig.device().Set.COEF[2], 2.0f);
    rig.trace.lines.clear();
    rig.click("SpeedButton25");
    const DeviceParams &set = rig.device().Set;
    QCOMPARE(set.UZP[2], 0.0f);
    QCOMPARE(set.COEF[2], 1.0f);
    QCOMPARE(set.Offset[2], 0.0f);
    const QStringList sent = {writeOf(CMD_UZP2, packedData(0.0f)), writeOf(CMD_COEF2, {0, 0, 0x80, 0x3F}),
                              writeOf(CMD_OFFSET2, packedData(0.0f))};
    QCOMPARE(rig.writesAtOnce(3), sent); // sent at once, before any tick
    QVERIFY(runUntil(
        [&] {
            const SimParams now = rig.simParams();
            return now.UZP[2] == 0.0f && now.COEF[2] == 1.0f && now.Offset[2] == 0.0f;
        },
        3000));
    QVERIFY(rig.settle());
    QCOMPARE(rig.child<QLabel>("Label16")->text(), QString("0"));
    QCOMPARE(rig.child<QLabel>("Label17")->text(), QString("1"));
    QCOMPARE(rig.child<QLabel>("Label18")->text(), QString("0"));
}

void CorrectionsTest::unpluggedSensorStopsDuringAcquisition()
{
    Rig rig;
    QVERIFY(rig.settle());
    auto *active = rig.child<QCheckBox>("CheckBox2");
    active->setChecked(true);
    rig.child<QCheckBox>("CheckBox1")->setChecked(true);
    QVERIFY(active->isChecked());
    auto *value = rig.child<QLineEdit>("Edit2");
    auto *other = rig.child<QLineEdit>("Edit1");
    Rig::idleFor(200);
    rig.click("SpeedButton10");
    QVERIFY(rig.program->link().acquisition().GO);
    const QString first = value->text();
    QVERIFY(runUntil([&] { return value->text() != first; }, 5000));

    rig.sim.setSensorPresent(1, false);
    QVERIFY(runUntil([&] { return !active->isChecked(); }, 3000));
    const QString frozen = value->text();
    const QString otherBefore = other->text();
    Rig::idleFor(600);
    QCOMPARE(value->text(), frozen);
    QVERIFY(other->text() != otherBefore); // the samples still flow
    active->setChecked(true);
    QVERIFY(!active->isChecked()); // an absent sensor cannot be switched on
    rig.click("SpeedButton11");
}

void CorrectionsTest::cycleResetIsAcknowledged()
{
    Rig rig;
    QVERIFY(rig.settle());
    const ParameterSync &sync = rig.program->link().synchronisation();
    // A frame that reports 5 cycles of sensor 1, all sensors present.
    rig.program->link().HandleBurst(measurementFrame(0x0F, {0, 0, 0, 5, 0, 0}), 0);
    QCOMPARE(rig.program->link().channels().cycleCount[1], 5.0f);
    rig.trace.lines.clear();
    // The ticks are made by hand while the reset is under way: a reply slower than a tick on a
    // busy machine would otherwise bring a second write, and the count would follow the load.
    auto *tick = rig.program->main().findChild<QTimer *>("Timer2");
    tick->stop();
    rig.click("SpeedButton27");
    QVERIFY(sync.cycleResetPending[1]);
    rig.program->main().Timer2Timer();
    QVERIFY2(runUntil([&] { return !sync.cycleResetPending[1]; }, 2000), qPrintable(rig.trace.lines.join(" / ")));
    QCOMPARE(rig.writes().count(writeOf(CMD_CLRCYC1)), 1);
    tick->start();
    QVERIFY(runUntil([&] { return !rig.device().panelRefreshPending; }, 2000));
    typeAndEnter(rig.child<QLineEdit>("Edit4"), "7");
    QVERIFY(runUntil([&] { return rig.simParams().LED == 7; }, 2000));
    QVERIFY(rig.settle());
    // Acknowledged once, it is never written again.
    QVERIFY2(rig.writes().count(writeOf(CMD_CLRCYC1)) == 1, qPrintable(rig.writes().join(" / ")));
    QVERIFY(shows(rig.child<QLineEdit>("Edit4"), EditState::Confirmed));
}

QTEST_MAIN(CorrectionsTest)
#include "tst_corrections.moc"
