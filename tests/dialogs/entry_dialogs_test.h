#pragma once

#include <QObject>

class EntryDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void dateTimeItemsAndEnabling();
    void dateTimeButtonsStepAndShow();
    void dateTimeNowTakesFlaggedFields();
    void dateTimeOutOfRangeValueIsShownSafely();
    void numberItemsAndEnabling();
    void numberKeysShowTheValue_data();
    void numberKeysShowTheValue();
    void numberOutOfRangeScalingIsShownSafely();
    void captionsFitTheirItems();
    void openedDialogsFinishAcceptedOnClose();
    void dialogsCanBeClosedFromOutside();
};
