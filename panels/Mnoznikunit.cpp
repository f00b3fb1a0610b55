#include "Mnoznikunit.h"

#include "WindowPlacement.h"
#include "ui_Mnoznikunit.h"

TMnoznikForm::TMnoznikForm(QWidget *parent) : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TMnoznikForm>())
{
    ui->setupUi(this);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QWidget::close);
    centreOnScreen(*this);
}

TMnoznikForm::~TMnoznikForm() = default;

QLineEdit *TMnoznikForm::Edit6() const
{
    return ui->Edit6;
}
