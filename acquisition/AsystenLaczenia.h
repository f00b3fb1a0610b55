#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TAsystentForm;
}

/// The connection wizard: opens the port, identifies the instrument and reads all its
/// parameters step by step.
class TAsystentForm : public QWidget {
    Q_OBJECT

public:
    explicit TAsystentForm(QWidget *parent = nullptr);
    ~TAsystentForm() override;

private:
    std::unique_ptr<Ui::TAsystentForm> ui;
};
