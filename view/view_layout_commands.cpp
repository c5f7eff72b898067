#include "view/kestrovane_view.h"

#include "dialogs/control_appearance_dialog.h"
#include "dialogs/control_settings_dialog.h"
#include "view/layout_targets.h"

#include <algorithm>
#include <iterator>

void CKestrovaneView::OnLayoutControls() {
    if (m_pControlSettingsDlg) {
        m_pControlSettingsDlg->raise();
        m_pControlSettingsDlg->activateWindow();
        return;
    }
    auto* dialog = new CControlSettingsDlg(
        ControlListLines(m_pCtrls.get(), m_nCtrls),
        [this](const std::vector<int>& targets) { ModifyLayoutTargets(targets); }, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_pControlSettingsDlg = dialog;
    // The changes reach the screen and the store only with OK. Without it the targets are
    // placed as before again, or a later save would store them as placed by hand.
    connect(dialog, &QDialog::finished, this, [this, autoPlaced = AutoPlaceFlags()](int result) {
        if (result != QDialog::Accepted) {
            RestoreAutoPlaceFlags(autoPlaced);
            return;
        }
        if (m_bConnected == 0) {
            return;
        }
        SaveLayout();
        LayoutPanel(true);
    });
    dialog->open();
}

// The controls' flags in panel order, then the page bar's.
std::vector<bool> CKestrovaneView::AutoPlaceFlags() {
    std::vector<bool> flags;
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        flags.push_back(m_pCtrls[i].m_bAutoPlace);
    }
    for (size_t i = 0; CCtrl* button = PageBarButtons(i); ++i) {
        flags.push_back(button->m_bAutoPlace);
    }
    return flags;
}

void CKestrovaneView::RestoreAutoPlaceFlags(const std::vector<bool>& flags) {
    // A panel built meanwhile has flags of its own.
    if (flags.size() != m_nCtrls + ksv::kPageBarButtonCount) {
        return;
    }
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        m_pCtrls[i].m_bAutoPlace = flags[i];
    }
    for (size_t i = 0; CCtrl* button = PageBarButtons(i); ++i) {
        button->m_bAutoPlace = flags[m_nCtrls + i];
    }
}

void CKestrovaneView::ModifyLayoutTargets(const std::vector<int>& targets) {
    CControlSettingsDlg* settings = m_pControlSettingsDlg;
    const CCtrl* first = targets.empty() ? nullptr : LayoutTarget(targets.front());
    if (settings == nullptr || first == nullptr) {
        return;
    }
    if (auto* open = settings->findChild<CControlAppearanceDlg*>(); open && open->isVisible()) {
        open->raise();
        return;
    }
    auto* dialog = new CControlAppearanceDlg(AppearanceValuesOf(*first, targets.size() > 1),
                                             AppearanceNames(*first), settings);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Cancel leaves every target as it was: the values shown are only the first target's.
    connect(dialog, &QDialog::finished, dialog, [this, dialog, targets](int result) {
        if (result != QDialog::Accepted || m_bConnected == 0) {
            return;
        }
        const AppearanceValues values = dialog->Values();
        for (int target : targets) {
            if (CCtrl* ctrl = LayoutTarget(target)) {
                ApplyAppearanceValues(*ctrl, values);
            }
        }
    });
    dialog->open();
}

CCtrl* CKestrovaneView::LayoutTarget(int target) {
    if (target >= 0) {
        return static_cast<uint32_t>(target) < m_nCtrls ? &m_pCtrls[target] : nullptr;
    }
    const auto& ids = ksv::kPageBarIds;
    const auto at = std::find(ids.begin(), ids.end(), target);
    return at == ids.end() ? nullptr : PageBarButtons(static_cast<size_t>(at - ids.begin()));
}

void CKestrovaneView::CloseLayoutDialogs() {
    if (m_pControlSettingsDlg) {
        m_pControlSettingsDlg->reject(); // closes the appearance dialog over it too
    }
}

void CKestrovaneView::OnAlwaysReload() {
    m_AlwaysReload = m_AlwaysReload == 0 ? 1 : 0;
    if (m_AlwaysReload != 0) {
        LoadRecommendedLayout();
    }
    m_settings.WriteProfileInt(ksv::kGlobalSection, "m_AlwaysReload", m_AlwaysReload);
}

void CKestrovaneView::OnDefaultLayout() {
    for (uint32_t i = 0; i < m_nCtrls; ++i) {
        m_pCtrls[i].m_bAutoPlace = true;
    }
    // The page-bar buttons go back to the standard bar too, and follow it when it moves.
    for (size_t i = 0; CCtrl* button = PageBarButtons(i); ++i) {
        button->m_bAutoPlace = true;
    }
    LayoutPanel(false);
    SaveLayout();
}
