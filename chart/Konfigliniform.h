#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

namespace Ui {
class TKonigLiniiForm;
}
class QSpinBox;
struct Settings;

/// Heights H and offsets F of the output lines on the chart, PK1 to PK4. The fields are
/// the live source of the plotted levels; the stored values change only when the user
/// clicks into a field or presses OK, and they are what the settings file keeps.
class TKonigLiniiForm : public QWidget {
    Q_OBJECT

public:
    explicit TKonigLiniiForm(QWidget *parent = nullptr);
    ~TKonigLiniiForm() override;

    /// The stored values, PK1..PK4.
    std::array<int32_t, 4> pkLineH{};
    std::array<int32_t, 4> pkLineF{};

    /// The live height and offset of PK1 (line 0) or PK2 (line 1); a field whose text
    /// is not a number reads 0 and shows "0".
    int32_t height(int line);
    int32_t offset(int line);

    void FormShow();
    /// A click into any field's text: every stored value := its field.
    void CSpinEdit1Click();
    void BitBtn1Click();

    /// Lines 22-29 of the settings: stored, and shown in the fields from the start.
    void applySettings(const Settings &settings);
    void storeSettings(Settings &settings) const;

signals:
    /// The PK1 and PK2 fields changed: the levels the chart plots from now on. Text that is
    /// not a number counts as 0 and is shown as "0" once the field is left.
    void outputLinesChanged(int32_t H1, int32_t F1, int32_t H2, int32_t F2);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int32_t read(QSpinBox *field);
    void announceLines();

    std::unique_ptr<Ui::TKonigLiniiForm> ui;
    std::array<QSpinBox *, 4> heights;
    std::array<QSpinBox *, 4> offsets;
};
