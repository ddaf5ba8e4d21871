#include "ArchiveBar.h"

#include "ArchiveTexts.h"

ArchiveBar::ArchiveBar(bool choosing, QWidget* parent) : NavigatorBar(parent) {
    addButton(ArchiveTexts::kNuovo, QStringLiteral("&Nuovo"));
    addButton(ArchiveTexts::kSalva, QStringLiteral("&Salva"));
    addButton(ArchiveTexts::kElimina, QStringLiteral("&Elimina"));
    if (choosing) addButton(ArchiveTexts::kScegli, QStringLiteral("Sce&gli"));
    addButton(ArchiveTexts::kChiudi, QStringLiteral("&Chiudi"));
}
