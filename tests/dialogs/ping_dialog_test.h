#pragma once

#include <QObject>

class PingDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsInitialValuesAndTexts();
    void refusedSecondsKeepDialogOpen_data();
    void refusedSecondsKeepDialogOpen();
    void boundarySecondsAreAccepted_data();
    void boundarySecondsAreAccepted();
    void uncheckingIsTakenOver();
};
