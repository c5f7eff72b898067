#pragma once

#include "dialogs/field_message.h"

#include <QDialog>
#include <QPoint>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;

// What the Control Appearance dialog edits for the first selected control.
struct AppearanceValues {
    int appearance = 0;
    int x = 0;
    int y = 0;
    int width = 117;
    int height = 57;
    int page = 0; // -1: every page
    int fontHeight = 20;
    bool bold = false;
    bool severalSelected = false; // the appearance, x, y and page then stay as they are
};

// "Control Appearance...": appearance, place, size, page and font of the selected controls.
// Opened with open(); finished() reports the result and Values() what OK confirmed.
class CControlAppearanceDlg : public QDialog {
    Q_OBJECT

public:
    // Item ids of the dialog template.
    static constexpr int kAppearanceListId = 1105;
    static constexpr int kWidthEditId = 1035;
    static constexpr int kHeightEditId = 1036;
    static constexpr int kYEditId = 1037;
    static constexpr int kXEditId = 1038;
    static constexpr int kPageEditId = 1039;
    static constexpr int kFontSizeEditId = 1050;
    static constexpr int kBoldId = 1051;

    // appearanceNames: one per appearance index of the first selected control (may be empty).
    CControlAppearanceDlg(const AppearanceValues& initial, const QStringList& appearanceNames,
                          QWidget* parent = nullptr);

    // The values confirmed with OK; the initial ones until then.
    AppearanceValues Values() const;

    // OK: field exchange in template order; a refused field keeps the dialog open.
    void accept() override;
    // Also takes down a field message still shown.
    void done(int result) override;

protected:
    // Shows the standard message for a refused field without blocking; tests record it instead.
    virtual void ShowFieldMessage(const QString& text);

private:
    void CreateItems(const QStringList& appearanceNames);
    QLineEdit* AddField(const QString& label, int itemId, int value, QPoint labelAt, int editY,
                        bool enabled = true);
    bool ExchangeField(QLineEdit* edit, int minimum, int maximum, int& target);

    AppearanceValues m_values;
    QComboBox* m_appearanceList = nullptr;
    QLineEdit* m_xEdit = nullptr;
    QLineEdit* m_yEdit = nullptr;
    QLineEdit* m_widthEdit = nullptr;
    QLineEdit* m_heightEdit = nullptr;
    QLineEdit* m_pageEdit = nullptr;
    QLineEdit* m_fontSizeEdit = nullptr;
    QCheckBox* m_bold = nullptr;
    FieldMessage m_message;
};
