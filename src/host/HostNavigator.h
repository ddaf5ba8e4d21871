#pragma once

#include <QObject>

class Cinterface;

// The host's navigator bar as a module sees it: it follows the active module and the status of
// its active frame, and raises the events the module answers.
class HostNavigator : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void AttachModule(Cinterface* module) = 0;
    virtual void SetButtonsStatus(int frameStatus) = 0;
    virtual void RefreshButtons() = 0;

signals:
    void BeforeChangeDitta(bool* cancel);
    void ButtonPressed(int button);
};
