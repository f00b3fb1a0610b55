#include "O_programie_unit.h"

#include "WindowPlacement.h"
#include "ui_O_programie_unit.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QtMath>

namespace {

/// The program's mark: a dial with its scale and a pointer, in the program's own blue.
QPixmap drawLogo(int side, qreal pixelRatio)
{
    QPixmap logo(QSize(side, side) * pixelRatio);
    logo.setDevicePixelRatio(pixelRatio);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0, 84, 166);
    const QPointF centre(side / 2.0, side / 2.0);
    const qreal radius = side / 2.0 - 3;
    painter.setPen(QPen(blue, 4));
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, radius, radius);
    // The scale spans 270 degrees with its gap at the bottom, like the instrument's dials.
    painter.setPen(QPen(blue, 2));
    for (int tick = 0; tick <= 9; ++tick) {
        const qreal angle = qDegreesToRadians(225.0 - tick * 30.0);
        const QPointF direction(qCos(angle), -qSin(angle));
        const qreal inner = tick % 3 == 0 ? radius * 0.62 : radius * 0.72;
        painter.drawLine(centre + direction * inner, centre + direction * (radius * 0.84));
    }
    const qreal needleAngle = qDegreesToRadians(60.0);
    painter.setPen(QPen(QColor(255, 128, 0), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, centre + QPointF(qCos(needleAngle), -qSin(needleAngle)) * (radius * 0.7));
    painter.setPen(Qt::NoPen);
    painter.setBrush(blue);
    painter.drawEllipse(centre, radius * 0.1, radius * 0.1);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(int(side * 0.16));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(blue);
    painter.drawText(QRectF(0, side * 0.62, side, side * 0.25), Qt::AlignCenter, QStringLiteral("KX"));
    return logo;
}

} // namespace

TO_programieForm::TO_programieForm(QWidget *parent)
    : QWidget(parent, Qt::Tool), ui(std::make_unique<Ui::TO_programieForm>())
{
    ui->setupUi(this);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    ui->Image1->setPixmap(drawLogo(ui->Image1->minimumWidth(), devicePixelRatio()));
    ui->BitBtn1->setIcon(
        QIcon::fromTheme(QStringLiteral("dialog-ok"), style()->standardIcon(QStyle::SP_DialogOkButton)));
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TO_programieForm::BitBtn1Click);
    centreOnScreen(*this);
}

TO_programieForm::~TO_programieForm() = default;

void TO_programieForm::showAbout()
{
    bringUp(*this, ui->BitBtn1);
}

void TO_programieForm::BitBtn1Click()
{
    hide();
}
