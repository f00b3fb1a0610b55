#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TKonigLiniiForm;
}

/// Heights and offsets of the output lines on the chart.
class TKonigLiniiForm : public QWidget {
    Q_OBJECT

public:
    explicit TKonigLiniiForm(QWidget *parent = nullptr);
    ~TKonigLiniiForm() override;

private:
    std::unique_ptr<Ui::TKonigLiniiForm> ui;
};
