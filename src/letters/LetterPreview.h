#pragma once

#include "ReminderLetter.h"

class QWidget;

// A letter in the print preview, from which the clerk prints it or saves it as PDF.
namespace LetterPreview {

void show(const ReminderLetter& letter, const LetterSender& sender, QWidget* parent);

}  // namespace LetterPreview
