#pragma once

#include "TrafficTrace.h"

#include <QWidget>
#include <memory>

namespace Ui {
class TCOM_DBG_Form;
}
class QPlainTextEdit;

/// The traffic monitor: protocol lines in Memo1, the wanted-against-reported listing in
/// Memo2. Writers check visibility first, so the hidden window costs nothing.
class TCOM_DBG_Form : public QWidget, public TrafficTrace {
    Q_OBJECT

public:
    explicit TCOM_DBG_Form(QWidget *parent = nullptr);
    ~TCOM_DBG_Form() override;

    bool visible() const override { return isVisible(); }
    /// One line at the end of the protocol memo.
    void appendLine(const QString &line) override;
    void clearListing();
    void appendListingLine(const QString &line);

    void czy1Click();
    void MenuItem1Click();
    void MenuItem2Click();
    void MenuItem3Click();

private:
    void addClearMenu(QPlainTextEdit *memo, const QString &menuName, const QString &itemName,
                      void (TCOM_DBG_Form::*handler)());

    std::unique_ptr<Ui::TCOM_DBG_Form> ui;
};
