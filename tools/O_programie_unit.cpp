#include "O_programie_unit.h"

#include "ui_O_programie_unit.h"

TO_programieForm::TO_programieForm(QWidget *parent)
    : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TO_programieForm>())
{
    ui->setupUi(this);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QWidget::close);
}

TO_programieForm::~TO_programieForm() = default;
