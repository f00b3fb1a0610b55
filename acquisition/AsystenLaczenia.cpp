#include "AsystenLaczenia.h"

#include "ui_AsystenLaczenia.h"

TAsystentForm::TAsystentForm(QWidget *parent) : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TAsystentForm>())
{
    ui->setupUi(this);
}

TAsystentForm::~TAsystentForm() = default;
