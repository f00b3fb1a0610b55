#include "Com_debugger.h"

#include "ui_Com_debugger.h"

#include <QMenu>

TCOM_DBG_Form::TCOM_DBG_Form(QWidget *parent) : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TCOM_DBG_Form>())
{
    ui->setupUi(this);
    for (QPlainTextEdit *memo : {ui->Memo1, ui->Memo2, ui->Memo3, ui->Memo4}) {
        QFont font = memo->font();
        font.setPixelSize(12);
        memo->setFont(font);
    }
    addClearMenu(ui->Memo1, "PopupMenu1", "czy1", &TCOM_DBG_Form::czy1Click);
    addClearMenu(ui->Memo2, "PopupMenu2", "MenuItem1", &TCOM_DBG_Form::MenuItem1Click);
    addClearMenu(ui->Memo3, "PopupMenu3", "MenuItem2", &TCOM_DBG_Form::MenuItem2Click);
    addClearMenu(ui->Memo4, "PopupMenu4", "MenuItem3", &TCOM_DBG_Form::MenuItem3Click);
}

TCOM_DBG_Form::~TCOM_DBG_Form() = default;

void TCOM_DBG_Form::addClearMenu(QPlainTextEdit *memo, const QString &menuName, const QString &itemName,
                                 void (TCOM_DBG_Form::*handler)())
{
    auto *menu = new QMenu(memo);
    menu->setObjectName(menuName);
    QAction *clear = menu->addAction(QStringLiteral("czyść"));
    clear->setObjectName(itemName);
    connect(clear, &QAction::triggered, this, handler);
    connect(memo, &QWidget::customContextMenuRequested, menu,
            [memo, menu](const QPoint &at) { menu->popup(memo->mapToGlobal(at)); });
}

void TCOM_DBG_Form::appendLine(const QString &line)
{
    ui->Memo1->appendPlainText(line);
}

void TCOM_DBG_Form::clearListing()
{
    ui->Memo2->clear();
}

void TCOM_DBG_Form::appendListingLine(const QString &line)
{
    ui->Memo2->appendPlainText(line);
}

void TCOM_DBG_Form::czy1Click()
{
    ui->Memo1->clear();
}

void TCOM_DBG_Form::MenuItem1Click()
{
    ui->Memo2->clear();
}

void TCOM_DBG_Form::MenuItem2Click()
{
    ui->Memo3->clear();
}

void TCOM_DBG_Form::MenuItem3Click()
{
    ui->Memo4->clear();
}
