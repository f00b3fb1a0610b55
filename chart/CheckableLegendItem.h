#pragma once

#include <qcustomplot.h>

/// A legend entry with a check box that tells whether its line is shown.
class CheckableLegendItem : public QCPPlottableLegendItem {
    Q_OBJECT

public:
    using QCPPlottableLegendItem::QCPPlottableLegendItem;

protected:
    void draw(QCPPainter *painter) override;
    QSize minimumOuterSizeHint() const override;
};
