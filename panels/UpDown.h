#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

/// A pair of arrows that steps a whole number within a range, optionally shown in a
/// buddy edit box.
class UpDown : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int position READ position WRITE setPosition)

public:
    enum Direction { NoDirection, Up, Down };
    Q_ENUM(Direction)

    explicit UpDown(QWidget *parent = nullptr);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int position() const { return position_; }
    void setMinimum(int value);
    void setMaximum(int value);
    /// Kept within the range; writes nothing into the buddy.
    void setPosition(int value);
    /// The arrows step from the number in this box and write the result back into it.
    void setBuddy(QLineEdit *buddy) { buddy_ = buddy; }

signals:
    /// An arrow is about to move the position to newValue.
    void changingEx(int newValue, UpDown::Direction direction);
    /// An arrow was clicked and the position moved.
    void clicked(UpDown::Direction direction);

private:
    void step(Direction direction);

    QToolButton *up_;
    QToolButton *down_;
    QLineEdit *buddy_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};
