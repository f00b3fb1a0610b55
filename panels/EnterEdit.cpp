#include "EnterEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

EnterEdit::EnterEdit(QLineEdit *edit, Guard guarded, Enter enter)
    : QObject(edit), edit_(edit), guarded_(std::move(guarded)), enter_(std::move(enter))
{
    edit->installEventFilter(this);
}

void EnterEdit::showConfirmed(const QString &text)
{
    edit_->setText(text);
    setEditState(edit_, EditState::Confirmed);
}

bool EnterEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != edit_ || event->type() != QEvent::KeyPress)
        return false;
    if (guarded_ && guarded_())
        return false;
    setEditState(edit_, EditState::Typing);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    setEditState(edit_, EditState::Entered);
    enter_(edit_->text());
    return true;
}
