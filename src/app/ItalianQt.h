#pragma once

class QCoreApplication;

// Qt's own texts in Italian (Sì, No, Annulla, Chiudi; the print, page set-up and file dialogs;
// the command line's help) and Qt's formats Italian, whatever language the desk is set to: the
// program speaks Italian only. The texts come from the system's Qt translations (Debian package
// qt6-translations-l10n, a dependency of ours).
class ItalianQt {
public:
    // False when Qt's Italian translation is not installed: Qt's own texts then stay English.
    static bool install(QCoreApplication& app);
};
