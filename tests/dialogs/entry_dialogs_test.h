#pragma once

#include <QObject>

class EntryDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void dateTimeButtonsStepAndShow();
    void numberKeysShowTheValue();
    void everythingFitsTheScreenSizedDialog();
    void theDialogsAreScaledToFitTheView();
    void openedDialogsFinishOnCloseAndFromOutside();
};
