#pragma once

#include <QObject>

// The Control Settings and Control Appearance dialogs.
class LayoutDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void refusedFieldKeepsAppearanceDialogOpen_data();
    void refusedFieldKeepsAppearanceDialogOpen();
    void confirmedValuesAreTakenOver();
    void severalSelectedLeavesAppearancePlaceAndPageAlone();
    void modifyHandsOverSelectedTargetsInListOrder();
    void endingFromOutsideClosesWhatIsOpenOverIt();
};
