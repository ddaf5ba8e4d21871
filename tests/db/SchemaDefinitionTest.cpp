#include "CodeLists.h"
#include "Schema.h"

#include <gtest/gtest.h>
#include <QSet>

namespace {

QString prefixOf(const QString& table) {
    return table.left(table.indexOf(QLatin1Char('_')) + 1);
}

}  // namespace

// The data layer finds a column's table by its name: each column must carry its table's prefix
// and no name may be used twice, or a batch update would write to the wrong table.
TEST(SchemaDefinition, ColumnsCarryTheirTablePrefixAndAreUnique) {
    QSet<QString> seen, tables;
    for (const TableDef& t : Schema::all()) {
        EXPECT_FALSE(tables.contains(t.name)) << t.name.toStdString();
        tables.insert(t.name);
        if (t.isView) {
            EXPECT_FALSE(t.viewSql.isEmpty());
            continue;
        }
        for (const ColumnDef& c : t.columns) {
            EXPECT_TRUE(c.name.startsWith(prefixOf(t.name))) << c.name.toStdString();
            EXPECT_FALSE(seen.contains(c.name)) << "colonna ripetuta " << c.name.toStdString();
            seen.insert(c.name);
            if (c.type == DataType::Text) {
                EXPECT_GT(c.size, 0) << c.name.toStdString();
            }
            if (c.type == DataType::Decimal) {
                EXPECT_GT(c.precision, c.scale) << c.name.toStdString();
            }
        }
        ASSERT_FALSE(t.primaryKey.isEmpty()) << t.name.toStdString();
        for (const QString& k : t.primaryKey) {
            const ColumnDef* c = t.column(k);
            ASSERT_NE(c, nullptr) << k.toStdString();
            EXPECT_FALSE(c->nullable) << k.toStdString();
        }
    }
}

TEST(SchemaDefinition, BillAndChildrenKeysAndCatalogueLookup) {
    const auto catalogue = Schema::catalogue();
    const QStringList billKey = {"EF01_DITTA_CG18", "EF01_NUMREG_CO99", "EF01_RIGACONT_CG42",
                                 "EF01_PROGEC_EC01", "EF01_PROGEFF"};
    EXPECT_EQ(catalogue->table("ef01_scadenze")->primaryKey, billKey);
    for (const QString child : {"EF03_SCADCECAM", "EF04_SCADNOTE", "EF05_SCADSOLLEC", "EF06_SCADSTO"}) {
        const QString p = child.left(5);
        QStringList expected = {p + "DITTA_CG18", p + "NUMREG_CO99", p + "RIGACONT_EF01", p + "PROGEC_EF01",
                                p + "PROGEFF_EF01"};
        if (p == "EF05_") expected << "EF05_PROGAVVISI";
        if (p == "EF06_") expected << "EF06_PROGSTO";
        EXPECT_EQ(catalogue->table(child)->primaryKey, expected) << child.toStdString();
        // The registration number is text, the rest of the key integers, as on the Bill.
        EXPECT_EQ(catalogue->table(child)->column(p + "NUMREG_CO99")->type, DataType::Text);
        EXPECT_EQ(catalogue->table(child)->column(p + "PROGEFF_EF01")->type, DataType::Integer);
    }
    EXPECT_EQ(catalogue->table("CO99_MASTERDOC")->primaryKey,
              QStringList({"CO99_DITTA_CG18", "CO99_NUMREG"}));
    EXPECT_EQ(catalogue->ownerOfColumn("ef06_progsto")->name, "EF06_SCADSTO");
    // A view that repeats a table's column leaves the column to the table.
    EXPECT_EQ(catalogue->ownerOfColumn("CG16_RAGSOANAG")->name, "CG16_ANAGGEN");
    EXPECT_EQ(catalogue->ownerOfColumn("DATAINIZIOVALIDITA")->name, "VCG16_CG44_ALLADATA");
    EXPECT_EQ(catalogue->ownerOfColumn("V_GUID")->name, "VFILTROSTATI");
    EXPECT_EQ(catalogue->table("EF01_SCADENZE")->column("EF01_SCADE_S")->type, DataType::Date);
    EXPECT_EQ(catalogue->table("EF01_SCADENZE")->column("EF01_CAMBIO")->scale, 6);
    EXPECT_EQ(catalogue->table("EF01_SCADENZE")->column("EF01_IMPEFF_S")->scale, 2);
}

// Every column the forms read or write, by name.
TEST(SchemaDefinition, HoldsEveryColumnTheFormsUse) {
    const QStringList used =
        QStringLiteral(
            "CG08_CAMBIOFISSO CG08_CODICE CG08_DATAATTUEM CG08_FLGVALUEM CG09_ANNO CG09_CAMBIO "
            "CG09_CODICE_CG08 CG09_GIORNO "
            "CG09_MESE CG12_BANCA CG12_DESCR CG13_BANCA_CG12 CG13_CODCAB CG16_CODICE CG16_RAGSOANAG "
            "CG24_CONTO "
            "CG24_GRUPPO_CG10 CG24_INDTIPOCONTO CG44_CLIFOR CG44_DITTA_CG18 CG44_TIPOCF CG6G_CODICE "
            "CG6G_DESCR "
            "CG6G_INDTIPOMOV CO1H_CIG CO1H_CUP CO1H_ID CO1I_CLIFOR_CG44 CO1I_DITTA_CG18 CO1I_IDCIGCUP_CO1H "
            "CO1I_TIPOCF_CG44 CO99_DATACRE CO99_DITTA_CG18 CO99_GRUPPOCRE CO99_INDCOIN CO99_INDTIPOOP "
            "CO99_NUMREG "
            "CO99_UTENTECRE EF01_ACCETTAZIONE EF01_AGENAPP_CG13 EF01_AGENPRE_SCG13 EF01_ANNOPART "
            "EF01_BANCAAPP_CG12 EF01_BANCAPRE_SCG12 EF01_BOLLI EF01_BOLLIVAL EF01_CAMBIO "
            "EF01_CAMBIOADCONTO_S "
            "EF01_CAUSMGO_MGFO EF01_CIG EF01_CLIFOR_CG44 EF01_CODCCRED EF01_CODICE_CG08 EF01_CODPAG_CG62 "
            "EF01_CONTO_CG24 EF01_CONTRFINANZ EF01_CUP EF01_DATACAMBIO EF01_DATACAMBIOADCONTO_S "
            "EF01_DATADECORR "
            "EF01_DATADOC EF01_DATAREG EF01_DITTACF_CG18 EF01_DITTA_CG18 EF01_FLGACCONTO EF01_FLGDOCBIS "
            "EF01_FLGEFFVAR EF01_FLGESTRAZ EF01_FLGGENDARAG EF01_FLGGIRATO_S EF01_FLGINCASSOBF_S "
            "EF01_FLGPARTBIS "
            "EF01_FLGRICEVUTO_S EF01_FLGSOSPESO EF01_FLGSTEFF_S EF01_GRUPPO_CG10 EF01_GUID "
            "EF01_IDAGENTE_MG17 "
            "EF01_IDMEDIA_CG99 EF01_ID_MG35 EF01_IMPADEGCAMBIO_S EF01_IMPEFFIVA EF01_IMPEFFIVA_VAL "
            "EF01_IMPEFFNETPREVVAL_S EF01_IMPEFFNETPREV_S EF01_IMPEFFORIG EF01_IMPEFFORIGVAL "
            "EF01_IMPEFFVAL_S "
            "EF01_IMPEFF_S EF01_IMPRITACC EF01_IMPRITACCORIG EF01_IMPRITACCORIGVAL EF01_IMPRITACCVAL "
            "EF01_INDCONTO "
            "EF01_INDEXP EF01_INDGENSTATO_S EF01_INDLIQPROV EF01_INDMERCEART62 EF01_INDPRES_S "
            "EF01_INDSPERIT_S "
            "EF01_INDSTATO_S EF01_INDTIPOMOV EF01_NRAVVISOMAV EF01_NUMDOC EF01_NUMDOCORIG EF01_NUMEFF "
            "EF01_NUMEFFACCOR EF01_NUMPART EF01_NUMRATA EF01_NUMREG_CO99 EF01_NUMRIEMIS_S EF01_NUMSTEFF_S "
            "EF01_PROGEC_EC01 EF01_PROGEFF EF01_PROGR_EF08 EF01_RIGACONT_CG42 EF01_SCADEORIG EF01_SCADE_S "
            "EF01_SEZDOC EF01_SEZPART EF01_SPESERITBAN_S EF01_SPESERIT_S EF01_SPINC EF01_SPINCVAL "
            "EF01_STIPOEFF "
            "EF01_TIPOCF_CG44 EF01_TIPOEFF EF01_TOTDOC EF01_TOTDOCVAL EF01_TOTRATE EF03_DEBITORE "
            "EF03_DITTAGIR_EF01 "
            "EF03_DITTARIC_EF01 EF03_DITTA_CG18 EF03_IDMEDIA_CG99 EF03_NUMREGGIR_EF01 EF03_NUMREGRIC_EF01 "
            "EF03_NUMREG_CO99 EF03_PIAZZA EF03_PROGECGIR_EF01 EF03_PROGECRIC_EF01 EF03_PROGEC_EF01 "
            "EF03_PROGEFFGIR_EF01 EF03_PROGEFFRIC_EF01 EF03_PROGEFF_EF01 EF03_RIGACONTGIR_EF01 "
            "EF03_RIGACONTRIC_EF01 EF03_RIGACONT_EF01 EF04_DITTA_CG18 EF04_IDMEDIA_CG99 EF04_NOTEAMMIN "
            "EF04_NOTERAGGR EF04_NUMREG_CO99 EF04_PROGEC_EF01 EF04_PROGEFF_EF01 EF04_RIGACONT_EF01 "
            "EF05_ADATACALC "
            "EF05_CODBLOC_MG25 EF05_DADATACALC EF05_DATAAVVISO EF05_DATADOC EF05_DATARIFELAB EF05_DITTA_CG18 "
            "EF05_DOCUM_MG36 EF05_FLGAZLEGAL EF05_FLGCALCINT EF05_FLGDOCBIS EF05_FLGEMISDOC EF05_FLGINVIOAGE "
            "EF05_FLGPERS1 EF05_FLGPERS2 EF05_IDMEDIA_CG99 EF05_IMPINTERES EF05_INDBLOC EF05_NUMDOC "
            "EF05_NUMREG_CO99 EF05_PROGAVVISI EF05_PROGEC_EF01 EF05_PROGEFF_EF01 EF05_PROGSTO "
            "EF05_RIGACONT_EF01 "
            "EF05_SEZDOC EF05_SIGLALETTERA EF05_SPBOLLO EF05_SPESERIT EF05_SPPOST EF05_SPVARIE EF05_TASSOINT "
            "EF05_TESTOPERS EF06_AGENZPRE_S EF06_ANNO_EF09 EF06_ANNO_EF10 EF06_BANCAPRE_S EF06_BONFLGCONF "
            "EF06_CAMBIO EF06_CAMBIOADCONTO EF06_CAMBIOADCONTO_S EF06_DATACAMBIOADCONTO "
            "EF06_DATACAMBIOADCONTO_S "
            "EF06_DATAREG EF06_DIFFCAMBIO EF06_DIFFCAMBIOCONTO EF06_DITTA_CG18 EF06_DITTA_EF09 "
            "EF06_DITTA_EF10 "
            "EF06_ETICHRAGGRAVV EF06_FLGGIRATO_S EF06_FLGINCASSOBF_S EF06_FLGRICEVUTO_S EF06_FLGSTEFF_S "
            "EF06_FLGSTORNORITINS EF06_IDMEDIA_CG99 EF06_IMPADEGCAMBIO EF06_IMPADEGCAMBIO_S "
            "EF06_IMPEFFNETPREVVAL_S EF06_IMPEFFNETPREV_S EF06_IMPEFFVAL_S EF06_IMPEFF_S EF06_IMPMOVABB "
            "EF06_IMPMOVABBVAL EF06_IMPMOVACC EF06_IMPMOVACCVAL EF06_IMPMOVOMANORIV EF06_IMPMOVOMANORIVVAL "
            "EF06_IMPMOVPAG EF06_IMPMOVPAGRIT EF06_IMPMOVPAGRITVAL EF06_IMPMOVPAGVAL EF06_IMPMOVRIT "
            "EF06_IMPMOVRITVAL EF06_IMPMOVSCIND EF06_IMPMOVSCINDVAL EF06_INDGENSTATO_S "
            "EF06_INDORDPBONIF_EF10 "
            "EF06_INDPRES_S EF06_INDSPERIT_S EF06_INDSTATO_S EF06_INDTIPODIST_EF09 EF06_INDTIPOPER "
            "EF06_NUMASSEGNO EF06_NUMCCASSEGN EF06_NUMDIST_EF09 EF06_NUMORDPBONIF_EF10 EF06_NUMREGMOV_CO99 "
            "EF06_NUMREG_CO99 EF06_NUMRIEMIS_S EF06_NUMSTEFF_S EF06_ORDBONABI_CG13 EF06_ORDBONCAB_CG13 "
            "EF06_ORDBONCAUPAG EF06_ORDBONCCFORN EF06_ORDBONFLGCONF EF06_ORDBONMOTIVO EF06_PROGECMOV_EC01 "
            "EF06_PROGEC_EF01 EF06_PROGEFFSPE EF06_PROGEFF_EF01 EF06_PROGSTO EF06_RIGACONTMOV_CG42 "
            "EF06_RIGACONT_EF01 EF06_SCADE_S EF06_SPESERITBAN_S EF06_SPESERIT_S EF09_ANNO EF09_DATACRESUPP "
            "EF09_DITTA_CG18 EF09_IMPTOTEFF EF09_INDTIPODIST EF09_NUMDIST EF09_NUMTOTEFF EF10_ANNO "
            "EF10_DATAORDPBONIF EF10_DITTA_CG18 EF10_IMPTOTEFF EF10_INDORDPBONIF EF10_NUMORDPBONIF "
            "EF10_NUMTOTEFF "
            "MG0B_CODTESTO MG0B_DESCR MG0B_DITTA_CG18 MG0B_INDTIPO MG17_AGENTE MG17_ANAGEN_CG16 "
            "MG17_DITTA_CG18 "
            "MG17_IDAGENTE MG19_CLIFOR_CG44 MG19_DITTA_CG18 MG19_TIPOCF_CG44 MG35_CCABI MG35_CCCAB "
            "MG35_CLIFOR_CG44 MG35_DITTA_CG18 MG35_IBAN MG35_ID MG35_INDTIPOOP MG35_PROGR MG35_TIPOCF_CG44 "
            "VCG16_44_CF_CLIFOR VCG16_44_CF_DITTA VCG16_44_CF_TIPOCF DATAINIZIOVALIDITA DATAFINEVALIDITA "
            "V_GUID")
            .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto catalogue = Schema::catalogue();
    for (const QString& name : used) EXPECT_NE(catalogue->ownerOfColumn(name), nullptr) << name.toStdString();
    EXPECT_NE(catalogue->table("VCG16_CG44_ALLADATA")->column("CG16_RAGSOANAG"), nullptr);
}

TEST(SchemaDefinition, CodedColumnsExistAsIntegers) {
    const auto catalogue = Schema::catalogue();
    for (const CodeLists::CodedColumn& coded : CodeLists::all()) {
        const TableDef* t = catalogue->table(coded.table);
        ASSERT_NE(t, nullptr) << coded.table.toStdString();
        const ColumnDef* c = t->column(coded.column);
        ASSERT_NE(c, nullptr) << coded.column.toStdString();
        EXPECT_TRUE(c->type == DataType::SmallInt || c->type == DataType::Integer)
            << coded.column.toStdString();
        EXPECT_FALSE(coded.codes.isEmpty());
    }
    EXPECT_EQ(CodeLists::codesOf("ef01_tipoeff").last(), 99);
    EXPECT_FALSE(CodeLists::codesOf("EF01_TIPOEFF").contains(17));
    EXPECT_EQ(CodeLists::codesOf("EF06_INDTIPOPER").size(), 17);
    EXPECT_TRUE(CodeLists::codesOf("EF06_INDTIPODIST_EF09").contains(21));
    EXPECT_EQ(CodeLists::codesOf("EF06_BONFLGCONF"), QList<int>({0, 1}));
    EXPECT_TRUE(CodeLists::codesOf("EF01_IMPEFF_S").isEmpty());
}
