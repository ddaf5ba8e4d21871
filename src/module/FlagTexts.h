#pragma once

#include <QString>

// The words the host's dictionary gives the two values of a flag, as the grids show them.
namespace FlagTexts {
inline const QString kNo = QStringLiteral("No");
inline const QString kYes = QStringLiteral("Sì");
}  // namespace FlagTexts
