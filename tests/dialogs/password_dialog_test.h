#pragma once

#include <QObject>

#include <memory>

struct PasswordDevice;

// The password dialog against a device on a pseudo-terminal that reads what was sent.
class PasswordDialogTest : public QObject {
    Q_OBJECT

public:
    PasswordDialogTest();
    ~PasswordDialogTest() override;

private slots:
    void init();
    void cleanup();
    void itemsAndMaskedEdits();
    void refusedChangesSendNothing_data();
    void refusedChangesSendNothing();
    void changeSendsOldAndNew_data();
    void changeSendsOldAndNew();
    void logOutSendsEmptyStrings();
    void closeSendsNothing();
    void closingFromOutsideTakesTheMessageDown();

private:
    std::unique_ptr<PasswordDevice> m_device;
};
