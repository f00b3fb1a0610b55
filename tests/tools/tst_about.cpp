#include "O_programie_unit.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void textsInTheirFontsAndColumns();
    void everyTextFits();
    void showsBesideAndComesForward();
    void okHides();
    void drawnOnWhite();
};

namespace {

QLabel *label(QWidget &window, const char *name)
{
    auto *found = window.findChild<QLabel *>(name);
    if (!found)
        qFatal("no label %s", name);
    return found;
}

QRect placeIn(QWidget &window, QWidget *child)
{
    return QRect(child->mapTo(&window, QPoint(0, 0)), child->size());
}

} // namespace

void AboutTest::textsInTheirFontsAndColumns()
{
    TO_programieForm about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.windowTitle(), QString("ARKONA"));
    QCOMPARE(about.size(), QSize(478, 183));
    QVERIFY(about.windowFlags().testFlag(Qt::Tool));

    struct Expected {
        const char *name;
        int pixels;
        bool bold;
    };
    const Expected texts[] = {{"LabelProgramName", 21, true}, {"LabelAuthor", 11, true}, {"LabelMaker", 21, false},
                              {"LabelAddress", 11, false},    {"LabelWeb1", 16, false},  {"LabelWeb2", 16, false},
                              {"LabelWeb3", 16, false},       {"LabelWeb4", 16, false}};
    for (const Expected &text : texts) {
        const QFont font = label(about, text.name)->font();
        QCOMPARE(font.pixelSize(), text.pixels);
        QCOMPARE(font.bold(), text.bold);
    }
    QCOMPARE(label(about, "LabelProgramName")->text(), QString("KX520S-PC"));
    QCOMPARE(label(about, "LabelAddress")->text().count('\n'), 3); // street, town, telephone, e-mail

    const QRect name = placeIn(about, label(about, "LabelProgramName"));
    QVERIFY(name.left() < 20 && name.top() < 20);
    const QRect logo = placeIn(about, label(about, "Image1"));
    QVERIFY(!label(about, "Image1")->pixmap().isNull());
    for (const char *web : {"LabelWeb1", "LabelWeb2", "LabelWeb3", "LabelWeb4"}) {
        const QRect place = placeIn(about, label(about, web));
        QVERIFY2(place.left() > placeIn(about, label(about, "LabelAuthor")).right(), web);
        QVERIFY2(place.right() < logo.left(), web);
    }
    const QRect ok = placeIn(about, about.findChild<QPushButton *>("BitBtn1"));
    QVERIFY(ok.right() > 478 - 30 && ok.bottom() > 183 - 30);
    QCOMPARE(about.findChild<QPushButton *>("BitBtn1")->text(), QString("OK"));
}

void AboutTest::everyTextFits()
{
    TO_programieForm about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QRect window = about.rect();
    for (QLabel *text : about.findChildren<QLabel *>()) {
        QVERIFY2(text->width() >= text->sizeHint().width(), qPrintable(text->objectName()));
        QVERIFY2(text->height() >= text->sizeHint().height(), qPrintable(text->objectName()));
        QVERIFY2(window.contains(placeIn(about, text)), qPrintable(text->objectName()));
    }
}

void AboutTest::showsBesideAndComesForward()
{
    QWidget main;
    main.resize(300, 200);
    main.show();
    TO_programieForm about;
    about.showAbout();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QVERIFY(!about.isModal());
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QVERIFY(about.isVisible()); // it stays open beside the main window
    about.showAbout();
    QVERIFY(QTest::qWaitForWindowActive(&about));
}

void AboutTest::okHides()
{
    TO_programieForm about;
    about.showAbout();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
    about.showAbout();
    QVERIFY(about.isVisible());
}

void AboutTest::drawnOnWhite()
{
    TO_programieForm about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QImage picture = about.grab().toImage();
    QCOMPARE(picture.pixelColor(2, 2), QColor(Qt::white));
    QCOMPARE(picture.pixelColor(picture.width() / 2, 2), QColor(Qt::white));
    const QRect logo = placeIn(about, label(about, "Image1"));
    int drawn = 0;
    for (int y = logo.top(); y <= logo.bottom(); ++y)
        for (int x = logo.left(); x <= logo.right(); ++x)
            drawn += picture.pixelColor(x, y) != QColor(Qt::white);
    QVERIFY2(drawn > logo.width() * logo.height() / 20, "the logo is drawn");
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
