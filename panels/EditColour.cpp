#include "EditColour.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

void setEditState(QWidget *edit, EditState state)
{
    QColor colour = Qt::white;
    if (state == EditState::Typing)
        colour = QApplication::palette().color(QPalette::ToolTipBase);
    else if (state == EditState::Entered)
        colour = QColor(166, 202, 240);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
    edit->setProperty("editState", int(state));
}

EditState editState(const QWidget *edit)
{
    const QVariant state = edit->property("editState");
    return state.isValid() ? EditState(state.toInt()) : EditState::Confirmed;
}
