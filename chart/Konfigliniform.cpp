#include "Konfigliniform.h"

#include "ui_Konfigliniform.h"

TKonigLiniiForm::TKonigLiniiForm(QWidget *parent)
    : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TKonigLiniiForm>())
{
    ui->setupUi(this);
    move(0, 0);
}

TKonigLiniiForm::~TKonigLiniiForm() = default;
