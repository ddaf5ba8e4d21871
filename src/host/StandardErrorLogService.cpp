#include "StandardErrorLogService.h"

#include <cstdio>

int StandardErrorLogService::MsgBox(const QString& message, int flags, const QString& title) {
    ++written_;
    std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), message.toUtf8().constData());
    std::fflush(stderr);
    return defaultAnswer(flags);
}
