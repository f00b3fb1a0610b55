#include "Com_debugger.h"
#include "DeviceLink.h"
#include "DialBox.h"
#include "FrameBuilders.h"
#include "HeldStartUp.h"
#include "Main.h"
#include "Mnoznikunit.h"
#include "Program.h"
#include "ProtocolFrame.h"
#include "RecordingDialogs.h"
#include "ScopedWorkDir.h"
#include "Wartoscunit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QtTest>

using namespace kx;

namespace {

/// The program with its port counted as open, fed bursts directly on the user-interface thread.
struct Screen {
    ScopedWorkDir dir;
    RecordingDialogs dialogs;
    std::unique_ptr<Program> program;

    explicit Screen(bool withPictures = true)
    {
        if (withPictures) {
            QDir().mkpath(dir.path() + "/Grafika");
            for (int n = 1; n <= 4; ++n) {
                const QString name = QString("/Grafika/MODE_%1.jpg").arg(n);
                QFile::copy(KX_SOURCE_DIR "/data" + name, dir.path() + name);
            }
        }
        program = std::make_unique<Program>(dialogs);
        holdStartUpConnection(program->main());
        dialogs.shown.clear();
        Tserial_event opened; // the notification carries only its code
        program->link().OnPortEvent(&opened, Tserial_event::PortOpened);
        QCoreApplication::processEvents();
        dialogs.shown.clear();
    }

    TForm1 &form() { return program->main(); }
    void feed(const QByteArray &burst) { program->link().HandleBurst(burst, program->link().acquisitionTime()); }

    /// A control's text by name; "wartosc." and "mnoznik." name the dialogs' own controls.
    QString text(const QString &qualified)
    {
        QList<QWidget *> windows = {&form()};
        QString name = qualified;
        if (qualified.startsWith("wartosc."))
            windows = {program->windows()[2]};
        else if (qualified.startsWith("mnoznik."))
            windows = {program->windows()[1]};
        name = qualified.section('.', -1);
        for (QWidget *window : windows) {
            QWidget *w = window->findChild<QWidget *>(name);
            if (auto *label = qobject_cast<QLabel *>(w))
                return label->text();
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                return edit->text();
            if (auto *group = qobject_cast<QGroupBox *>(w))
                return group->title();
            if (auto *list = qobject_cast<QComboBox *>(w))
                return list->currentIndex() < 0 ? QString("<none>") : list->currentText();
        }
        return "<missing " + name + ">";
    }

    template <class T> T *child(const char *name) { return form().findChild<T *>(name); }
};

bool isWhite(QWidget *edit)
{
    return edit->palette().color(QPalette::Base) == QColor(Qt::white);
}

} // namespace

class ReplyViewTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland)); }
    void repliesShow_data();
    void repliesShow();
    void offsetDialogFollowsItsMode();
    void multiplierDialogTurnsWhite();
    void activeBoxesFollowFromTheSecondSensorReply();
    void modePicture_data();
    void modePicture();
    void missingPictureLeavesAnEmptyBox();
    void presenceChangesCaptions();
    void readoutShowsActiveChannels();
    void lampsFollowEverySample();
    void tickShowsRateAndTime();
    void tickDrawsActiveDialsOnly();
    void dialNeedle_data();
    void dialNeedle();
    void resolutionEntry();
    void monitorMenusClear();
    void listingFollowsEveryTick();
};

void ReplyViewTest::repliesShow_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("zero position 0") << replyFloat(CMD_UZP0, 12.34567f) << QStringList{"Label4=12,346"};
    QTest::newRow("zero position 1") << replyFloat(CMD_UZP1, 2.0f) << QStringList{"Label10=2"};
    QTest::newRow("zero position 2") << replyFloat(CMD_UZP2, 0.0004f) << QStringList{"Label16=0"};
    QTest::newRow("offset 0") << replyFloat(CMD_OFFSET0, -1.5f) << QStringList{"Label5=-1,5", "wartosc.Edit1=-1,5"};
    QTest::newRow("offset 1") << replyFloat(CMD_OFFSET1, 3.25f) << QStringList{"Label12=3,25"};
    QTest::newRow("offset 2") << replyFloat(CMD_OFFSET2, 7.0f) << QStringList{"Label18=7"};
    QTest::newRow("multiplier 0") << replyFloat(CMD_COEF0, 2.5f) << QStringList{"Label6=2,5", "mnoznik.Edit6=2,5"};
    QTest::newRow("multiplier 1") << replyFloat(CMD_COEF1, 0.125f) << QStringList{"Label11=0,125"};
    QTest::newRow("multiplier 2") << replyFloat(CMD_COEF2, 1.0f) << QStringList{"Label17=1"};
    QTest::newRow("zeroing 2") << replyFloat(CMD_ZERO2, 45.25f) << QStringList{"Label16=45,25", "wartosc.Edit1="};
    QTest::newRow("sensors") << replyFrame(CMD_SENSORS, {1, 0, 5, 2})
                             << QStringList{"GroupBox1=Czujnik nr 0 - gotowy", "GroupBox2=Czujnik nr 1 - nie wykryto",
                                            "GroupBox3=Czujnik nr 2 - gotowy", "Label65=2"};
    QTest::newRow("resolution 0 truncates")
        << replyFloat(CMD_RES0, 1023.9999f) << QStringList{"Edit8=1023", "ComboBox3=----"};
    QTest::newRow("resolution 1 rounds") << replyFloat(CMD_RES1, 1023.9999f)
                                         << QStringList{"Edit10=1024", "ComboBox4=10bit"};
    QTest::newRow("resolution 2") << replyFloat(CMD_RES2, 4096.0f) << QStringList{"Edit11=4096", "ComboBox5=12bit"};
    QTest::newRow("resolution beyond the arrows")
        << replyFloat(CMD_RES0, 32768.0f) << QStringList{"Edit8=32768", "ComboBox3=----"};
    QTest::newRow("resolution not a number")
        << replyFloat(CMD_RES0, std::numeric_limits<float>::quiet_NaN()) << QStringList{"Edit8=0", "ComboBox3=----"};
    QTest::newRow("mode 3") << replyFrame(CMD_MODE, {3, 0, 0, 0})
                            << QStringList{"ComboBox1=mode 3: Cykliczny z naliczaniem cykli"};
    QTest::newRow("mode out of range") << replyFrame(CMD_MODE, {7, 0, 0, 0}) << QStringList{"ComboBox1=<none>"};
}

void ReplyViewTest::repliesShow()
{
    QFETCH(QByteArray, frame);
    QFETCH(QStringList, shown);
    Screen screen;
    screen.feed(frame);
    for (const QString &expected : shown) {
        const QString name = expected.section('=', 0, 0);
        QCOMPARE(name + "=" + screen.text(name), expected);
    }
    QVERIFY(screen.dialogs.shown.isEmpty());
}

void ReplyViewTest::offsetDialogFollowsItsMode()
{
    Screen screen;
    auto *dialog = qobject_cast<TWartoscForm *>(screen.program->windows()[2]);
    QVERIFY(dialog);
    // The dialog takes only its own sensor's value of its own quantity.
    dialog->channel = 1;
    dialog->Label1()->setText("Offset =");
    screen.feed(replyFloat(CMD_UZP1, 5.0f));
    QCOMPARE(dialog->Edit1()->text(), QString());
    screen.feed(replyFloat(CMD_OFFSET2, 5.0f));
    QCOMPARE(dialog->Edit1()->text(), QString());
    screen.feed(replyFloat(CMD_OFFSET1, 6.0f));
    QCOMPARE(dialog->Edit1()->text(), QString("6"));
    dialog->channel = 0;
    dialog->Label1()->setText("Poz. zero =");
    dialog->Edit1()->setText("x");
    screen.feed(replyFloat(CMD_ZERO0, 7.0f));
    QCOMPARE(dialog->Edit1()->text(), QString("x")); // zeroing leaves the dialog alone
    screen.feed(replyFloat(CMD_UZP0, 12.34567f));
    QCOMPARE(dialog->Edit1()->text(), QString("12,346"));
    QVERIFY(isWhite(dialog->Edit1()));
}

void ReplyViewTest::multiplierDialogTurnsWhite()
{
    Screen screen;
    auto *dialog = qobject_cast<TMnoznikForm *>(screen.program->windows()[1]);
    QVERIFY(dialog);
    QPalette typing = dialog->Edit6()->palette();
    typing.setColor(QPalette::Base, QColor(166, 202, 240));
    dialog->Edit6()->setPalette(typing);
    dialog->channel = 1;
    screen.feed(replyFloat(CMD_COEF0, 3.5f));
    QCOMPARE(dialog->Edit6()->text(), QString("1")); // another sensor's multiplier stays out
    screen.feed(replyFloat(CMD_COEF1, 2.5f));
    QCOMPARE(dialog->Edit6()->text(), QString("2,5"));
    QVERIFY(isWhite(dialog->Edit6()));
    QCOMPARE(screen.text("Label11"), QString("2,5"));
}

void ReplyViewTest::activeBoxesFollowFromTheSecondSensorReply()
{
    Screen screen;
    auto *box0 = screen.child<QCheckBox>("CheckBox1");
    auto *box1 = screen.child<QCheckBox>("CheckBox2");
    screen.feed(replyFrame(CMD_SENSORS, {1, 0, 1, 0}));
    QVERIFY(!box0->isChecked());
    screen.feed(replyFrame(CMD_SENSORS, {1, 0, 1, 0}));
    QVERIFY(box0->isChecked());
    QVERIFY(!box1->isChecked());
    box1->setChecked(true); // a click on an absent sensor's box is undone
    QVERIFY(!box1->isChecked());
}

void ReplyViewTest::modePicture_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("file");
    QTest::newRow("mode 0 shows MODE_4") << 0 << "MODE_4.jpg";
    QTest::newRow("mode 1") << 1 << "MODE_1.jpg";
    QTest::newRow("mode 3") << 3 << "MODE_3.jpg";
}

void ReplyViewTest::modePicture()
{
    QFETCH(int, mode);
    QFETCH(QString, file);
    Screen screen;
    auto *image = screen.child<QLabel>("Image2");
    QVERIFY(image->isHidden());
    screen.feed(replyFrame(CMD_MODE, {uint8_t(mode), 0, 0, 0}));
    QVERIFY(!image->isHidden());
    const QPixmap expected = QPixmap(screen.dir.path() + "/Grafika/" + file)
                                 .scaled(image->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QCOMPARE(image->pixmap().toImage(), expected.toImage());

    screen.feed(replyFrame(CMD_MODE, {9, 0, 0, 0})); // no selection: the picture stays
    QCOMPARE(image->pixmap().toImage(), expected.toImage());
}

void ReplyViewTest::missingPictureLeavesAnEmptyBox()
{
    Screen screen(false);
    screen.feed(replyFrame(CMD_MODE, {2, 0, 0, 0}));
    auto *image = screen.child<QLabel>("Image2");
    QVERIFY(!image->isHidden());
    QVERIFY(image->pixmap().isNull());
    QCOMPARE(screen.text("ComboBox1"), QString("mode 2: Absolutny z progiem i marginsem"));
    QCOMPARE(screen.program->link().device().Stan.mode, 2);
    QVERIFY(screen.dialogs.shown.isEmpty());
}

void ReplyViewTest::presenceChangesCaptions()
{
    Screen screen;
    screen.feed(measurementFrame(0x05, {1, 2}));
    QCOMPARE(screen.text("GroupBox1"), QString("Czujnik nr 0 - gotowy"));
    QCOMPARE(screen.text("GroupBox2"), QString("Czujnik nr 1 - nie wykryto"));
    QCOMPARE(screen.text("GroupBox3"), QString("Czujnik nr 2 - gotowy"));
    screen.feed(measurementFrame(0x02, {3}));
    QCOMPARE(screen.text("GroupBox1"), QString("Czujnik nr 0 - nie wykryto"));
    QCOMPARE(screen.text("GroupBox2"), QString("Czujnik nr 1 - gotowy"));
}

void ReplyViewTest::readoutShowsActiveChannels()
{
    Screen screen;
    screen.feed(measurementFrame(0x03, {10, 20}));
    screen.child<QCheckBox>("CheckBox1")->setChecked(true);
    screen.feed(measurementFrame(0x03, {-90, 359.99997f}));
    QCOMPARE(screen.text("Edit1"), QString("-90.0000"));
    QCOMPARE(screen.text("Edit22"), QString("-90.0000"));
    QCOMPARE(screen.child<QProgressBar>("CGauge1")->value(), 0);
    QCOMPARE(screen.text("Edit23"), QString("-------"));
    QCOMPARE(screen.text("Edit2"), QString("-------------")); // inactive: untouched
    screen.feed(measurementFrame(0x01, {400}));
    QCOMPARE(screen.child<QProgressBar>("CGauge1")->value(), 360);
    QCOMPARE(screen.text("Edit1"), QString("400.0000"));

    screen.feed(replyFrame(CMD_MODE, {3, 0, 0, 0}));
    screen.feed(measurementFrame(0x09, {12.5f, 7}));
    QCOMPARE(screen.text("Edit23"), QString("7"));
    QCOMPARE(screen.text("Edit1"), QString("12.5000"));
}

void ReplyViewTest::lampsFollowEverySample()
{
    Screen screen;
    const auto colour = [&](const char *lamp) { return screen.child<QLabel>(lamp)->palette().color(QPalette::Window); };
    QCOMPARE(colour("Panel1"), QColor(128, 0, 0));
    screen.feed(measurementFrame(0x10, {}));
    QCOMPARE(colour("Panel1"), QColor(0, 255, 0));
    QCOMPARE(colour("Panel2"), QColor(128, 0, 0));
    screen.feed(measurementFrame(0x20, {}));
    QCOMPARE(colour("Panel1"), QColor(128, 0, 0));
    QCOMPARE(colour("Panel2"), QColor(0, 255, 0));
}

void ReplyViewTest::tickShowsRateAndTime()
{
    Screen screen;
    TForm1 &form = screen.form();
    DeviceLink &link = screen.program->link();
    link.ApplicationIdle();
    QTest::qSleep(30);
    link.ApplicationIdle(); // a non-zero idle step
    QVERIFY(link.acquisition().idleStep > 0);
    form.Timer1Timer();
    QCOMPARE(screen.text("Label51"), QString("10,00000"));
    QCOMPARE(screen.text("Label52"), QString("10,00000"));
    QCOMPARE(screen.text("Label40"), QString("0"));
    link.setAcquisitionTime(1.234);
    form.Timer1Timer();
    QCOMPARE(screen.text("Label40"), QString("1,23")); // hundredths of a second
    screen.child<QCheckBox>("CheckBox18")->setChecked(true);
    form.Timer1Timer();
    QCOMPARE(screen.text("Label51"), QString());
}

void ReplyViewTest::tickDrawsActiveDialsOnly()
{
    Screen screen;
    TForm1 &form = screen.form();
    DeviceLink &link = screen.program->link();
    link.ApplicationIdle();
    QTest::qSleep(30);
    link.ApplicationIdle();                      // ticks draw only after a non-zero idle step
    screen.feed(measurementFrame(0x03, {1, 2})); // both sensors present
    screen.child<QCheckBox>("CheckBox1")->setChecked(true);
    screen.child<QCheckBox>("CheckBox2")->setChecked(false);
    auto *active = screen.child<DialBox>("PaintBox1");
    auto *inactive = screen.child<DialBox>("PaintBox2");
    QVERIFY(active && inactive);

    screen.feed(measurementFrame(0x03, {10, 20}));
    form.Timer1Timer();
    const QImage activeBefore = active->grab().toImage();
    const QImage inactiveBefore = inactive->grab().toImage();
    screen.feed(measurementFrame(0x03, {100, 200}));
    form.Timer1Timer();
    QVERIFY(active->grab().toImage() != activeBefore);
    QCOMPARE(inactive->grab().toImage(), inactiveBefore);
}

void ReplyViewTest::dialNeedle_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QPoint>("onNeedle");
    QTest::addColumn<QPoint>("offNeedle");
    QTest::newRow("0 points right") << 0.0f << QPoint(100, 59) << QPoint(59, 100);
    QTest::newRow("-90 points down") << -90.0f << QPoint(59, 100) << QPoint(100, 59);
    QTest::newRow("400 points at 40") << 400.0f << QPoint(86, 36) << QPoint(59, 100);
}

void ReplyViewTest::dialNeedle()
{
    QFETCH(float, value);
    QFETCH(QPoint, onNeedle);
    QFETCH(QPoint, offNeedle);
    QImage image(120, 120, QImage::Format_RGB32);
    QPainter painter(&image);
    DrawDial(painter, value, Qt::red, QColor(128, 0, 0));
    painter.end();
    const auto nearRed = [&image](QPoint p) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (QColor(image.pixel(p + QPoint(dx, dy))).red() > 200)
                    return true;
        return false;
    };
    QVERIFY(nearRed(onNeedle));
    QVERIFY(!nearRed(offNeedle));
}

void ReplyViewTest::resolutionEntry()
{
    Screen screen;
    QCOMPARE(screen.program->link().device().Set.Res[0], 1024.0f); // the lists' start-up click
    auto *edit = screen.child<QLineEdit>("Edit8");
    auto *list = screen.child<QComboBox>("ComboBox3");
    list->setCurrentIndex(4);
    emit list->activated(4); // "12bit"
    QCOMPARE(edit->text(), QString("4096"));
    QCOMPARE(screen.program->link().device().Set.Res[0], 4096.0f);
    edit->setText("3000");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(screen.program->link().device().Set.Res[0], 3000.0f);
    QCOMPARE(list->currentText(), QString("----"));
    edit->setText("2147483647");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(screen.program->link().device().Set.Res[0], 2147483648.0f);
    QCOMPARE(list->currentText(), QString("----"));
    edit->setText("abc");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(screen.program->link().device().Set.Res[0], 2147483648.0f);

    screen.feed(replyFrame(CMD_LED, {1, 0, 0, 0})); // the panel is about to be refreshed
    edit->setText("256");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(screen.program->link().device().Set.Res[0], 2147483648.0f);
}

void ReplyViewTest::monitorMenusClear()
{
    Screen screen;
    TCOM_DBG_Form &monitor = screen.program->monitor();
    monitor.show();
    screen.feed(replyFrame(CMD_LED, {1, 0, 0, 0}));
    auto *memo1 = monitor.findChild<QPlainTextEdit *>("Memo1");
    QVERIFY(!memo1->toPlainText().isEmpty());
    monitor.findChild<QAction *>("czy1")->trigger();
    QVERIFY(memo1->toPlainText().isEmpty());
    monitor.hide();
    screen.feed(replyFrame(CMD_LED, {2, 0, 0, 0}));
    QVERIFY(memo1->toPlainText().isEmpty()); // hidden: nothing written
    QVERIFY(monitor.findChild<QPlainTextEdit *>("Memo3")->toPlainText().isEmpty());
    QVERIFY(monitor.findChild<QPlainTextEdit *>("Memo4")->toPlainText().isEmpty());
}

void ReplyViewTest::listingFollowsEveryTick()
{
    Screen screen;
    TCOM_DBG_Form &monitor = screen.program->monitor();
    auto *memo2 = monitor.findChild<QPlainTextEdit *>("Memo2");
    screen.form().Timer2Timer();
    QVERIFY(memo2->toPlainText().isEmpty()); // hidden: nothing listed
    QCOMPARE(screen.text("Label66"), QString("nie wykryto"));
    monitor.show();
    screen.form().Timer2Timer();
    QStringList lines = memo2->toPlainText().split('\n');
    QCOMPARE(lines.size(), 20);
    QCOMPARE(lines.first(), QString("Set.LED=0 , Stan.LED=0"));
    QCOMPARE(lines[14], QString("Set.Res[0]=1024 , Stan.Res[0]=0"));
    QCOMPARE(lines.last(), QString("Device.bledna_transmisja=0"));
    monitor.findChild<QAction *>("MenuItem1")->trigger();
    QVERIFY(memo2->toPlainText().isEmpty());
    screen.form().Timer2Timer();
    QCOMPARE(memo2->toPlainText().split('\n').size(), 20);
}

QTEST_MAIN(ReplyViewTest)
#include "tst_replyview.moc"
