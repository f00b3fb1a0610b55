#pragma once

#include "EditColour.h"

#include <QObject>
#include <functional>
#include <optional>

class QLineEdit;

/// An edit box whose value takes effect on Enter, with the colours that tell the user
/// its state: every key press first asks whether input is taken now (a guarded box lets
/// the character in but changes nothing, not even its colour); a taken key turns the
/// box to the typing colour, and Enter is swallowed, turns it sky blue and hands the
/// text over.
class EnterEdit : public QObject {
    Q_OBJECT

public:
    using Guard = std::function<bool()>;
    using Enter = std::function<void(const QString &text)>;

    /// The guard may be empty: the box is never guarded.
    EnterEdit(QLineEdit *edit, Guard guarded, Enter enter);

    QLineEdit *edit() const { return edit_; }
    /// The instrument's value shown: its text, in white.
    void showConfirmed(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *edit_;
    Guard guarded_;
    Enter enter_;
};
