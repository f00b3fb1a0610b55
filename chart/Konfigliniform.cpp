#include "Konfigliniform.h"

#include "SettingsFile.h"
#include "ui_Konfigliniform.h"

#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <optional>

namespace {

/// The window's picture: two output lines stepping between their levels.
QPixmap linesPicture(QSize size)
{
    QPixmap picture(size);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    const int w = size.width();
    const int h = size.height();
    const auto stairs = [&](QColor colour, int base, int step) {
        painter.setPen(QPen(colour, 2));
        const QPoint points[] = {{4, base},         {w / 3, base}, {w / 3, base - step}, {2 * w / 3, base - step},
                                 {2 * w / 3, base}, {w - 4, base}};
        painter.drawPolyline(points, 6);
    };
    stairs(Qt::white, h - 8, h / 3);
    stairs(QColor(255, 128, 0), h / 2, h / 4);
    return picture;
}

std::optional<int32_t> fieldValue(const QSpinBox *field)
{
    // The field's own locale: it writes the lowest integer with group separators.
    bool ok = false;
    const int value = field->locale().toInt(field->text().trimmed(), &ok);
    return ok ? std::optional<int32_t>(value) : std::nullopt;
}

} // namespace

TKonigLiniiForm::TKonigLiniiForm(QWidget *parent)
    : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TKonigLiniiForm>())
{
    ui->setupUi(this);
    move(0, 0);
    heights = {ui->CSpinEdit1, ui->CSpinEdit3, ui->CSpinEdit5, ui->CSpinEdit7};
    offsets = {ui->CSpinEdit2, ui->CSpinEdit4, ui->CSpinEdit6, ui->CSpinEdit8};
    for (const auto &fields : {heights, offsets}) {
        for (QSpinBox *field : fields) {
            field->findChild<QLineEdit *>()->installEventFilter(this);
            connect(field, &QSpinBox::editingFinished, this, [this, field] { read(field); });
        }
        for (QSpinBox *field : {fields[0], fields[1]})
            connect(field, &QSpinBox::textChanged, this, &TKonigLiniiForm::announceLines);
    }
    // The picture fills the space the layout gives it in the fixed-size window.
    layout()->activate();
    ui->Image1->setPixmap(linesPicture(ui->Image1->size() - QSize(4, 4)));
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TKonigLiniiForm::BitBtn1Click);
}

TKonigLiniiForm::~TKonigLiniiForm() = default;

int32_t TKonigLiniiForm::read(QSpinBox *field)
{
    if (const auto value = fieldValue(field))
        return *value;
    field->setValue(0);
    return 0;
}

void TKonigLiniiForm::announceLines()
{
    const auto level = [](const QSpinBox *field) { return fieldValue(field).value_or(0); };
    emit outputLinesChanged(level(heights[0]), level(offsets[0]), level(heights[1]), level(offsets[1]));
}

int32_t TKonigLiniiForm::height(int line)
{
    return read(heights[size_t(line)]);
}

int32_t TKonigLiniiForm::offset(int line)
{
    return read(offsets[size_t(line)]);
}

void TKonigLiniiForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TKonigLiniiForm::FormShow()
{
    for (size_t i = 0; i < 4; ++i) {
        heights[i]->setValue(pkLineH[i]);
        offsets[i]->setValue(pkLineF[i]);
    }
}

void TKonigLiniiForm::CSpinEdit1Click()
{
    for (size_t i = 0; i < 4; ++i) {
        pkLineH[i] = read(heights[i]);
        pkLineF[i] = read(offsets[i]);
    }
}

void TKonigLiniiForm::BitBtn1Click()
{
    CSpinEdit1Click();
    close();
}

bool TKonigLiniiForm::eventFilter(QObject *watched, QEvent *event)
{
    // A click into a field's text stores; the arrows only change the field.
    if (event->type() == QEvent::MouseButtonPress)
        CSpinEdit1Click();
    return QWidget::eventFilter(watched, event);
}

void TKonigLiniiForm::applySettings(const Settings &settings)
{
    for (size_t i = 0; i < 4; ++i) {
        if (settings.pkLineH[i])
            pkLineH[i] = *settings.pkLineH[i];
        if (settings.pkLineF[i])
            pkLineF[i] = *settings.pkLineF[i];
    }
    // Stored values apply from the start, not only once the window was first shown.
    FormShow();
}

void TKonigLiniiForm::storeSettings(Settings &settings) const
{
    for (size_t i = 0; i < 4; ++i) {
        settings.pkLineH[i] = pkLineH[i];
        settings.pkLineF[i] = pkLineF[i];
    }
}
