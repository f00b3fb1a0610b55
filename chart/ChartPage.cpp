#include "ChartPage.h"

#include "ui_ChartPage.h"

ChartPage::ChartPage(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::ChartPage>())
{
    ui->setupUi(this);
}

ChartPage::~ChartPage() = default;

QLineEdit *ChartPage::valueField(int sensor) const
{
    QLineEdit *fields[] = {ui->Edit22, ui->Edit26, ui->Edit27};
    return fields[sensor];
}

QLabel *ChartPage::rateLabel() const
{
    return ui->Label52;
}

void ChartPage::AppendSamplePoints(const Sample &) {}
