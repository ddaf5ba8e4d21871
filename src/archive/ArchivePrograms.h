#pragma once

#include "ArchiveDescription.h"
#include "ProgramLauncher.h"

#include <QHash>
#include <functional>

// The suite's archive programs this host runs itself, each a maintenance window described as
// data: the company banks (hands the chosen bank back), the CIG/CUP pairs of a customer or
// supplier, the reminder letters' fixed texts, the block levels, the document sections, the
// company's data for the banks' files and the customers' SEPA mandates.
class ArchivePrograms : public ProgramLauncher {
public:
    // The program ids.
    static constexpr const char* kCompanyBanks = "KVUO_PARAMBANCHE.CLSKV_PARAMBANCHE";
    static constexpr const char* kCigCup = "KVCO_CIGCUP.CLSKV_CIGCUP";
    static constexpr const char* kFixedTexts = "KVMG_TESTIFISSI.CLSKV_TESTIFISSI";
    static constexpr const char* kBlockLevels = "KVMG_LIVELLIBLOCCO.CLSKV_LIVELLIBLOCCO";
    static constexpr const char* kSections = "KVCG_SEZIONALI.CLSKV_SEZIONALI";
    static constexpr const char* kBankData = "KVEF_DATIBANCA.CLSKV_DATIBANCA";
    static constexpr const char* kMandates = "KVEF_MANDATI.CLSKV_MANDATI";

    ArchivePrograms();

    bool knows(const QString& progId) const override;
    bool run(const QString& progId, const QVariantList& parameters, HostGlobal& host,
             QVariant* handedBack) override;

    // The description of `progId` opened for `company` with the caller's `parameters`.
    static ArchiveDescription describe(const QString& progId, qint32 company, const QVariantList& parameters);

private:
    using Describe = std::function<ArchiveDescription(qint32 company, const QVariantList& parameters)>;
    static const QHash<QString, Describe>& programs();
};
