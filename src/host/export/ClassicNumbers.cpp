#include "ClassicNumbers.h"

ClassicNumbers::ClassicNumbers()
    : classic_(newlocale(LC_ALL_MASK, "C", locale_t(nullptr))),
      previous_(classic_ ? uselocale(classic_) : locale_t(nullptr)) {}

ClassicNumbers::~ClassicNumbers() {
    if (!classic_) return;
    uselocale(previous_);
    freelocale(classic_);
}
