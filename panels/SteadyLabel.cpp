#include "SteadyLabel.h"

#include <QLabel>

void holdLabelSize(QLabel *label, const QString &widestText)
{
    const QString shown = label->text();
    label->setText(widestText);
    const QSize needed = label->sizeHint();
    label->setText(shown);
    label->setFixedSize(needed.expandedTo(label->sizeHint()));
}
