#include "RegisterPage.h"

#include "ui_RegisterPage.h"

RegisterPage::RegisterPage(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::RegisterPage>())
{
    ui->setupUi(this);
}

RegisterPage::~RegisterPage() = default;

void RegisterPage::writeTitles()
{
    const QStringList titles = {"Index", "Czas [s]", "Czujnik 0", "Czujnik 1", "Czujnik 2", "PK1", "PK2"};
    for (int column = 0; column < titles.size(); ++column)
        ui->StringGrid1->setItem(0, column, new QTableWidgetItem(titles[column]));
}

void RegisterPage::takeSample(const Sample &)
{
    if (ui->CheckBox16->isChecked())
        BitBtn5Click();
}

void RegisterPage::BitBtn5Click() {}
