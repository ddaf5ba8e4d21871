#pragma once

#include <QString>

// The suite's message service: a message box with the suite's flags and title that answers the
// button pressed. Forms only ever talk to this interface, so that tests and the automation
// driver can answer in place of a person.
class LogService {
public:
    // Flags, added together: one icon, one button set, optionally the default button.
    static constexpr int kOkOnly = 0;
    static constexpr int kYesNoCancel = 3;
    static constexpr int kYesNo = 4;
    static constexpr int kCritical = 16;
    static constexpr int kQuestion = 32;
    static constexpr int kExclamation = 48;
    static constexpr int kInformation = 64;
    static constexpr int kDefaultButton2 = 256;

    // Answers.
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    static constexpr int kYes = 6;
    static constexpr int kNo = 7;

    virtual ~LogService() = default;

    virtual int MsgBox(const QString& message, int flags, const QString& title) = 0;

    // The answer a person gets by just pressing Enter: the default button of the set.
    static int defaultAnswer(int flags);
};
