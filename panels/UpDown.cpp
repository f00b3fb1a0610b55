#include "UpDown.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

UpDown::UpDown(QWidget *parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton *button : {up_, down_}) {
        button->setFixedSize(16, 11);
        button->setAutoRepeat(true);
        layout->addWidget(button);
    }
    connect(up_, &QToolButton::clicked, this, [this] { step(Up); });
    connect(down_, &QToolButton::clicked, this, [this] { step(Down); });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void UpDown::setMinimum(int value)
{
    minimum_ = value;
    setPosition(position_);
}

void UpDown::setMaximum(int value)
{
    maximum_ = value;
    setPosition(position_);
}

void UpDown::setPosition(int value)
{
    position_ = std::clamp(value, minimum_, std::max(minimum_, maximum_));
}

void UpDown::step(Direction direction)
{
    int from = position_;
    if (buddy_) {
        bool ok = false;
        const int shown = buddy_->text().trimmed().toInt(&ok);
        if (ok)
            from = shown;
    }
    const int next = std::clamp(from + (direction == Up ? 1 : -1), minimum_, std::max(minimum_, maximum_));
    emit changingEx(next, direction);
    position_ = next;
    if (buddy_)
        buddy_->setText(QString::number(next));
    emit clicked(direction);
}
