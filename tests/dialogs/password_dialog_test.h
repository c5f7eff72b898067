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
    void changeSendsOnlyMatchingNonEmptyPasswords();
    void logOutAndCloseEndTheDialog();
    void closingFromOutsideTakesTheMessageDown();
    void fitsTheViewsWidth();

private:
    std::unique_ptr<PasswordDevice> m_device;
};
