#include "LogService.h"

int LogService::defaultAnswer(int flags) {
    const bool second = (flags & kDefaultButton2) != 0;
    switch (flags & 7) {
        case kYesNo:
        case kYesNoCancel:
            return second ? kNo : kYes;
        default:
            return kOk;
    }
}
