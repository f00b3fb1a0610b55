#include "ChartPage.h"

#include "ChannelColours.h"
#include "ChartExport.h"
#include "ChartPlot.h"
#include "Konfigliniform.h"
#include "MeasurementSession.h"
#include "NumberFormat.h"
#include "SettingsFile.h"
#include "WindowPlacement.h"
#include "ui_ChartPage.h"

#include <QStyle>
#include <QTimer>

ChartPage::ChartPage(UserDialogs &dialogs, TKonigLiniiForm &lines, MeasurementSession &session, QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::ChartPage>()), lines(lines), session(session), chart(session.chart()),
      redrawTimer(new QTimer(this))
{
    ui->setupUi(this);
    plot = new ChartPlot(ui->Chart1, chart, paging_);
    exporter = new ChartExport(ui->Chart1, chart, dialogs, this);
    redrawTimer->setSingleShot(true);
    redrawTimer->setInterval(50);
    connect(redrawTimer, &QTimer::timeout, plot, &ChartPlot::redraw);

    ui->SpeedButton15->setIcon(style()->standardIcon(QStyle::SP_DialogYesButton));
    ui->SpeedButton16->setIcon(style()->standardIcon(QStyle::SP_MediaPause));
    ui->SpeedButton19->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    ui->SpeedButton17->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    ui->SpeedButton15->setIcon(QIcon::fromTheme(QStringLiteral("media-record"), ui->SpeedButton15->icon()));
    connect(ui->SpeedButton15, &QToolButton::clicked, this, &ChartPage::SpeedButton15Click);
    connect(ui->SpeedButton16, &QToolButton::clicked, this, &ChartPage::SpeedButton16Click);
    connect(ui->SpeedButton19, &QToolButton::clicked, this, &ChartPage::SpeedButton19Click);
    connect(ui->SpeedButton17, &QToolButton::clicked, this, &ChartPage::SpeedButton17Click);
    connect(ui->SpeedButton20, &QPushButton::clicked, this, &ChartPage::SpeedButton20Click);
    connect(plot, &ChartPlot::doubleClicked, this, &ChartPage::SpeedButton20Click);
    // Setting a box from code acts like a click: toggled runs the handler either way.
    connect(ui->CheckBox17, &QCheckBox::toggled, this, &ChartPage::CheckBox17Click);
    connect(ui->CheckBox19, &QCheckBox::toggled, this, &ChartPage::CheckBox17Click);
    connect(ui->CSpinEdit1, &QSpinBox::valueChanged, this, &ChartPage::CSpinEdit1Change);
    connect(ui->SpeedButton13, &QToolButton::clicked, this, &ChartPage::SpeedButton13Click);
    connect(ui->SpeedButton14, &QToolButton::clicked, this, &ChartPage::SpeedButton14Click);
    connect(plot, &ChartPlot::previousPageClicked, this, [this] {
        if (paging_.page() > 1)
            selectPage(paging_.page() - 1);
    });
    connect(plot, &ChartPlot::nextPageClicked, this, [this] {
        if (paging_.page() < paging_.pageCount(chart, plot->shown()))
            selectPage(paging_.page() + 1);
    });
    connect(plot, &ChartPlot::shownChanged, this, [this] { selectPage(paging_.page()); });
    connect(ui->BitBtn2, &QPushButton::clicked, this, &ChartPage::BitBtn2Click);
    connect(ui->BitBtn10, &QPushButton::clicked, exporter, &ChartExport::BitBtn10Click);
    connect(ui->BitBtn11, &QPushButton::clicked, exporter, &ChartExport::BitBtn11Click);
    connect(ui->BitBtn12, &QPushButton::clicked, exporter, &ChartExport::BitBtn12Click);
    connect(exporter, &ChartExport::pointsCopied, this, [this] { exportMark = this->session.chartMark(); });
    connect(exporter, &ChartExport::pointsWritten, this, [this] { this->session.chartExported(exportMark); });
    connect(&session, &MeasurementSession::pointAppended, this, &ChartPage::scheduleRedraw);
    connect(&session, &MeasurementSession::sampleTaken, this, &ChartPage::showReadings);
    QLineEdit *fields[] = {ui->Edit22, ui->Edit26, ui->Edit27};
    for (int i = 0; i < 3; ++i) {
        QFont font(QStringLiteral("Verdana"));
        font.setBold(true);
        font.setPixelSize(16);
        fields[i]->setFont(font);
        QPalette palette = fields[i]->palette();
        palette.setColor(QPalette::Base, Qt::black);
        palette.setColor(QPalette::Text, QColor(ChannelColours::sensor[i]));
        fields[i]->setPalette(palette);
        fields[i]->setAutoFillBackground(true);
    }
    connect(&session, &MeasurementSession::chartCleared, this, [this] { selectPage(paging_.page()); });
    connect(&session, &MeasurementSession::runAdopted, this, [this] { selectPage(paging_.page()); });
    // The paging starts reset, then as its box says.
    paging_.setPerPage(0, chart, plot->shown());
    CheckBox17Click();
}

ChartPage::~ChartPage() = default;

void ChartPage::showRate(const QString &rate)
{
    if (ui->Label52->text() != rate)
        ui->Label52->setText(rate);
}

void ChartPage::showReadings(const Sample &sample)
{
    QLineEdit *fields[] = {ui->Edit22, ui->Edit26, ui->Edit27};
    const std::array<bool, 3> &active = session.activeChannels();
    for (size_t i = 0; i < 3; ++i) {
        // An inactive channel keeps the last reading it showed; unchanged text repaints nothing.
        if (const QString text = ReadingText(sample.value[i]); active[i] && fields[i]->text() != text)
            fields[i]->setText(text);
    }
}

void ChartPage::scheduleRedraw()
{
    if (!redrawTimer->isActive())
        redrawTimer->start();
}

void ChartPage::SpeedButton15Click()
{
    session.record();
}

void ChartPage::SpeedButton16Click()
{
    session.pauseRecording();
}

void ChartPage::SpeedButton19Click()
{
    session.stopRecording();
}

void ChartPage::SpeedButton17Click()
{
    session.clearChart();
}

void ChartPage::SpeedButton20Click()
{
    plot->fullView();
}

void ChartPage::CheckBox17Click()
{
    if (ui->CheckBox17->isChecked()) {
        paging_.setPerPage(ui->CSpinEdit1->value(), chart, plot->shown());
    } else {
        paging_.setPerPage(0, chart, plot->shown());
        paging_.selectPage(1, chart, plot->shown());
    }
    scheduleRedraw();
}

void ChartPage::CSpinEdit1Change()
{
    // Also while paging is off: the value switches it on in the chart.
    paging_.setPerPage(int16_t(ui->CSpinEdit1->value()), chart, plot->shown());
    scheduleRedraw();
}

void ChartPage::selectPage(int page)
{
    paging_.selectPage(page, chart, plot->shown());
    scheduleRedraw();
}

void ChartPage::SpeedButton13Click()
{
    selectPage(paging_.pageCount(chart, plot->shown()));
}

void ChartPage::SpeedButton14Click()
{
    selectPage(0);
}

void ChartPage::followLastPage()
{
    if (session.recording() && ui->CheckBox19->isChecked() && paging_.pageCount(chart, plot->shown()) > 1)
        SpeedButton13Click();
}

void ChartPage::FormShow()
{
    paging_.setPerPage(0, chart, plot->shown());
    CheckBox17Click();
}

void ChartPage::resetPaging()
{
    ui->CheckBox17->setChecked(false);
    paging_.setPerPage(0, chart, plot->shown());
    paging_.selectPage(1, chart, plot->shown());
    scheduleRedraw();
}

void ChartPage::BitBtn2Click()
{
    bringUp(lines);
}

void ChartPage::applySettings(const Settings &settings)
{
    if (settings.paging.enabled)
        ui->CheckBox17->setChecked(*settings.paging.enabled);
    if (settings.paging.followLastPage)
        ui->CheckBox19->setChecked(*settings.paging.followLastPage);
    if (settings.paging.pointsPerPage)
        ui->CSpinEdit1->setValue(*settings.paging.pointsPerPage);
}

void ChartPage::storeSettings(Settings &settings) const
{
    settings.paging.enabled = ui->CheckBox17->isChecked();
    settings.paging.followLastPage = ui->CheckBox19->isChecked();
    settings.paging.pointsPerPage = int16_t(ui->CSpinEdit1->value());
}
