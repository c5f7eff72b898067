#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QListWidget;
class QPushButton;

// One control's line in the Control Settings list.
struct ControlListLine {
    QString name;             // the control's list name
    int index = 0;            // its index in the panel
    std::optional<bool> open; // Section and Password: open or logged in; shown after the name
};

// "Control Settings...": picks the controls (and page-bar buttons) to change. Each line carries
// a target: a control's index, or for the five page-bar lines the button's pseudo id (-256 to
// -252). Opened with open(); finished() reports the result.
class CControlSettingsDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kListId = 1017;
    static constexpr int kModifyId = 1009;

    // Given the selected targets in list order; the first is the one whose values are shown.
    using ModifyHandler = std::function<void(const std::vector<int>& targets)>;

    CControlSettingsDlg(const std::vector<ControlListLine>& lines, ModifyHandler onModify,
                        QWidget* parent = nullptr);

    std::vector<int> SelectedTargets() const;

    // Also closes the dialogs opened over this one (the appearance dialog of "Modify...").
    void done(int result) override;

private:
    void CreateItems();
    void AddLines(const std::vector<ControlListLine>& lines);
    void Modify();

    ModifyHandler m_onModify;
    QListWidget* m_list = nullptr;
    QPushButton* m_modify = nullptr;
};
