#include "Wartoscunit.h"

#include "WindowPlacement.h"
#include "ui_Wartoscunit.h"

TWartoscForm::TWartoscForm(QWidget *parent) : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TWartoscForm>())
{
    ui->setupUi(this);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QWidget::close);
    centreOnScreen(*this);
}

TWartoscForm::~TWartoscForm() = default;

QLabel *TWartoscForm::Label1() const
{
    return ui->Label1;
}

QLineEdit *TWartoscForm::Edit1() const
{
    return ui->Edit1;
}
