#pragma once

#include <QColor>
#include <QWidget>
#include <optional>

class QPainter;

/// Draws a channel's dial: a ring with its cross and labels in the dim colour and a
/// 50-pixel needle in the bright colour; 0° points right and angles grow counter-clockwise.
void DrawDial(QPainter &painter, float value, const QColor &bright, const QColor &dim);

/// The 118×118 box a channel's dial is drawn in; black until its first reading.
class DialBox : public QWidget {
    Q_OBJECT

public:
    explicit DialBox(QWidget *parent = nullptr);

    /// Redraws the dial for this reading.
    void showReading(float value, const QColor &bright, const QColor &dim);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Reading {
        float value;
        QColor bright;
        QColor dim;
    };
    std::optional<Reading> reading_;
};
