#pragma once

#include <QObject>

class ComPortDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showsInitialValuesAndTexts();
    void defaultsProposeFiveAndEight();
    void refusedPortKeepsDialogOpen_data();
    void refusedPortKeepsDialogOpen();
    void inboundIsExchangedFirst();
    void boundaryPortsAreAccepted();
    void deviceLinesFollowThePortsFolder();
};
