// The reader: what the check pass refuses, and what the apply pass sends.

#include "config/Confronto.h"
#include "config/Formato.h"
#include "island/Codifica.h"
#include "config/Isole.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>

namespace ondrix {
namespace {

using namespace ondrix::test;
using Righe = std::vector<std::string>;
using Scambi = std::vector<Scambio>;

// The file saved from m, with the termination on unless told otherwise.
Righe salvato(const Model& m, bool terminazione = true)
{
    const std::string& caption = terminazione ? m.testi.CaptTerminazioneOff : m.testi.CaptTerminazioneOn;
    return righeDi(decodificaTesto(scriviConfigurazione(m, "INDIRIZZO SLAVE: 5", caption)));
}

// The lines sent, commands and arguments alike.
Righe inviate(const Piano& p)
{
    Righe r;
    for (const auto& s : p.scambi)
        r.push_back(s.comando);
    return r;
}

bool contiene(const Righe& r, const std::string& riga)
{
    return std::find(r.begin(), r.end(), riga) != r.end();
}

// The lines after "SET RELAX" up to and including "1000".
Righe listaRelax(const Piano& p)
{
    Righe r = inviate(p);
    auto it = std::find(r.begin(), r.end(), "SET RELAX");
    return Righe(it + 1, r.end());
}

TEST(Applicazione, AFileSavedFromTheIslandSendsTheWholeSequence)
{
    Model m = isolaProfibus();
    Verifica v;
    const auto p = pianoApplicazione(salvato(m), m, &v);
    ASSERT_TRUE(p);
    EXPECT_TRUE(v.ScriviIngressi);
    EXPECT_TRUE(v.SezioneFinale);
    const Scambi atteso = {
        {"DISABLE DIGITAL", "OK"},
        {"ENABLE DIGITAL", "OLD ADDR"}, {"0", "NEW ADDR"}, {"0", "OK"},
        {"ENABLE DIGITAL", "OLD ADDR"}, {"1", "NEW ADDR"}, {"1", "OK"},
        {"SET SLAVE ADDRESS", "NUM:"}, {"5", "OK"},
        {"DISABLE VALVOLA", "INDICE:"}, {"0", "OK"},
        {"DISABLE VALVOLA", "INDICE:"}, {"1", "OK"},
        {"DISABLE VALVOLA", "INDICE:"}, {"2", "OK"},
        {"DISABLE VALVOLA", "INDICE:"}, {"3", "OK"},
        {"DISABLE VALVOLA", "INDICE:"}, {"4", "OK"},
        {"DISABLE VALVOLA", "INDICE:"}, {"9", "OK"},
        {"TERMINAZIONE ON", "OK"},
        {"ENABLE VALVOLA", "ESP:"}, {"0", "POS:"}, {"1", "INDICE:"}, {"0", "OK"},
        {"ENABLE VALVOLA", "ESP:"}, {"0", "POS:"}, {"2", "INDICE:"}, {"1", "OK"},
        {"ENABLE VALVOLA", "ESP:"}, {"0", "POS:"}, {"3", "INDICE:"}, {"2", "OK"},
        {"ENABLE VALVOLA", "ESP:"}, {"0", "POS:"}, {"4", "INDICE:"}, {"3", "OK"},
        {"ENABLE VALVOLA", "ESP:"}, {"1", "POS:"}, {"1", "INDICE:"}, {"4", "OK"},
        {"ENABLE VALVOLA", "ESP:"}, {"1", "POS:"}, {"3", "INDICE:"}, {"9", "OK"},
        {"SET RELAX", "INDICE:"}, {"1", "INDICE:"}, {"4", "INDICE:"}, {"1000", "OK"},
    };
    EXPECT_EQ(p->scambi, atteso);
    EXPECT_EQ(p->puntoModifiche, 21u);  // after the disable pass
    EXPECT_EQ(p->terminazione, Terminazione::On);
    ASSERT_EQ(p->Diagnosi.size(), 6u);
    EXPECT_EQ(p->Diagnosi[5].Indice, 9);
    EXPECT_EQ(p->ConfBobine[5].Indice, 170);
    EXPECT_EQ(p->ConfBobine[7].Posizione, 0);
}

TEST(Applicazione, RelaxListNamesCoilsByTheirIndexNotTheirRow)
{
    // A head of 2 stations with indexes 0, 1, 2 at positions 1, 2, 3.
    sim::Scenario s;
    s.bodies = {{0, 2, 47, {{1, 0}, {2, 1}, {3, 2}}}};
    const Model m = readModel(s);
    Righe righe = salvato(m);
    // Coil rows start after the 24 lines of a head-only island.
    righe[25] = "4 1 0";
    righe[26] = "0 2 0";
    righe[27] = "9 3 1";
    const auto p = pianoApplicazione(righe, m);
    ASSERT_TRUE(p);
    EXPECT_EQ(listaRelax(*p), (Righe{"9", "1000"}));  // the old rule sent 2
    ASSERT_EQ(p->Diagnosi.size(), 3u);
    EXPECT_EQ(p->Diagnosi[0].Indice, 4);
    EXPECT_EQ(p->Diagnosi[2].Relax, 1);
    EXPECT_EQ(p->Diagnosi[2].Stato, 0);
}

TEST(Applicazione, ModulesAreWrittenOnlyWhenEveryFirmwareCanTakeIt)
{
    Model m = isolaProfibus();
    const Righe corrente = salvato(m);

    // The older layout starts at "[PROTOCOLLO]": the current one less 13 lines.
    const Righe vecchio(corrente.begin() + 13, corrente.end());
    Verifica v;
    auto p = pianoApplicazione(vecchio, m, &v);
    ASSERT_TRUE(p);
    EXPECT_FALSE(v.ScriviIngressi);
    EXPECT_EQ(inviate(*p)[0], "SET SLAVE ADDRESS");
    EXPECT_FALSE(contiene(inviate(*p), "DISABLE DIGITAL"));
    EXPECT_TRUE(contiene(inviate(*p), "TERMINAZIONE ON"));

    // Head firmware 45, or a module below 21: the section is skipped unread.
    Righe rotto = corrente;
    rotto[3] = "testo qualsiasi";
    for (int caso = 0; caso < 2; ++caso) {
        Model n = isolaProfibus();
        if (caso == 0)
            n.RevAtmel = 45;
        else
            n.Moduli(2).RevPic = 20;
        p = pianoApplicazione(rotto, n, &v);
        ASSERT_TRUE(p) << caso;
        EXPECT_FALSE(v.ScriviIngressi);
        EXPECT_EQ(inviate(*p)[0], "SET SLAVE ADDRESS");
        EXPECT_FALSE(contiene(inviate(*p), "ENABLE DIGITAL"));
    }

    // No modules at all: nothing to disable.
    Model d = isolaDevicenet();
    p = pianoApplicazione(salvato(d), d, &v);
    ASSERT_TRUE(p);
    EXPECT_TRUE(v.ScriviIngressi);
    EXPECT_EQ(inviate(*p)[0], "SET SLAVE ADDRESS");
}

TEST(Applicazione, AfterTheModuleRowsTheProtocolHeadingMayBeMissingOrSpaced)
{
    Model m = isolaProfibus();
    const Righe corrente = salvato(m);
    ASSERT_EQ(corrente[13], IntestazioneProtocollo);
    Righe senza = corrente;
    senza.erase(senza.begin() + 13);
    Righe spaziata = corrente;
    spaziata[13] = " [PROTOCOLLO] ";
    const auto atteso = pianoApplicazione(corrente, m);
    ASSERT_TRUE(atteso);
    for (const Righe& r : {senza, spaziata}) {
        const auto p = pianoApplicazione(r, m);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->scambi, atteso->scambi);
        const auto letto = leggiContenutoFile(r);
        ASSERT_TRUE(letto);
        EXPECT_TRUE(differenze(*letto, *leggiContenutoFile(corrente)).empty());
    }
    // With the module rows unread, their 13 skipped lines end where the
    // heading stands: without it the protocol's name is read as its code,
    // and a heading repeated after them is passed over.
    m.RevAtmel = 45;
    Verifica v;
    EXPECT_FALSE(pianoApplicazione(senza, m, &v));
    ASSERT_TRUE(v.rifiuto);
    EXPECT_EQ(v.rifiuto->motivo, Motivo::NonNumero);
    EXPECT_EQ(v.rifiuto->riga, 15);
    Righe doppia = corrente;
    doppia.insert(doppia.begin() + 14, IntestazioneProtocollo);
    EXPECT_TRUE(pianoApplicazione(doppia, m));
}

TEST(Applicazione, TerminationIsOnOnlyForExactlyOn)
{
    Model m = isolaProfibus();
    for (const char* riga : {"ON", " ON", "on", "ON ", "OFF", "X"}) {
        Righe righe = salvato(m);
        righe.back() = riga;
        const auto p = pianoApplicazione(righe, m);
        ASSERT_TRUE(p) << riga;
        const bool on = std::string(riga) == "ON";
        EXPECT_EQ(p->terminazione, on ? Terminazione::On : Terminazione::Off) << riga;
        EXPECT_TRUE(contiene(inviate(*p), on ? "TERMINAZIONE ON" : "TERMINAZIONE OFF")) << riga;
    }
}

TEST(Applicazione, BaudIndexIsSentAsASpaceAndItsDigits)
{
    Model m = isolaDevicenet();
    m.IndiceBaudRate = 2;  // the file's value wins
    Righe righe = salvato(m);
    righe[righe.size() - 2] = " 1 ";
    const auto p = pianoApplicazione(righe, m);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->IndiceBaudRate, 1);
    const Righe r = inviate(*p);
    const auto it = std::find(r.begin(), r.end(), "SET BAUD RATE");
    ASSERT_NE(it, r.end());
    EXPECT_EQ(*(it + 1), " 1");
    EXPECT_EQ(listaRelax(*p), (Righe{"2", "1000"}));
}

TEST(Applicazione, ThirtyTwoCoilsFillTheDiagnosisAndTheLastSectionStillApplies)
{
    // Five bodies of 4 stations with 8 coils each: coils 1..32 enabled, 33..40 disabled.
    sim::Scenario s;
    for (int k = 0; k < 5; ++k) {
        s.bodies.push_back({k, 4, 47, {}});
        for (int p = 1; p <= 8; ++p) {
            const int n = k * 8 + p;
            s.bodies.back().coils.push_back({p, n <= 32 ? n - 1 : sim::DisabledIndex});
        }
    }
    const Model m = readModel(s);
    Righe righe = salvato(m, false);
    righe[28 + 40] = "31 8 1";  // coil 40 takes the index of coil 32
    righe[28 + 32] = "170 8 0";
    const auto p = pianoApplicazione(righe, m);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Diagnosi.size(), 32u);
    EXPECT_EQ(p->terminazione, Terminazione::Off);
    EXPECT_EQ(std::count(p->scambi.begin(), p->scambi.end(), Scambio{"ENABLE VALVOLA", "ESP:"}), 32);
    EXPECT_EQ(listaRelax(*p), (Righe{"31", "1000"}));
    // Coil 40 sits on the fifth body.
    const auto ultimo = std::find(p->scambi.rbegin(), p->scambi.rend(), Scambio{"ENABLE VALVOLA", "ESP:"});
    EXPECT_EQ((ultimo - 1)->comando, "4");
}

TEST(Applicazione, ADisabledCoilIsDisabledAndNotEnabledAgain)
{
    Model m = isolaProfibus();
    Righe righe = salvato(m);
    righe[25 + 3] = "170 3 0";  // coil row 3 (index 2)
    const auto p = pianoApplicazione(righe, m);
    ASSERT_TRUE(p);
    const Scambi& s = p->scambi;
    EXPECT_EQ(std::count(s.begin(), s.end(), Scambio{"DISABLE VALVOLA", "INDICE:"}), 6);
    EXPECT_EQ(std::count(s.begin(), s.end(), Scambio{"ENABLE VALVOLA", "ESP:"}), 5);
    EXPECT_EQ(std::count(s.begin(), s.end(), Scambio{"2", "OK"}), 1);  // disabled only
}

// ---- Refusals ----------------------------------------------------------------

struct Modifica {
    const char* nome;   // the case's name in the test list
    int riga;           // 1-based line of the PROFIBUS file to replace
    const char* testo;  // its new text
    Motivo motivo;
    int rigaRifiuto;
};

class Rifiuti : public ::testing::TestWithParam<Modifica> {};

TEST_P(Rifiuti, EveryMismatchOrBadValueRefusesTheWholeFile)
{
    const Modifica& c = GetParam();
    Model m = isolaProfibus();
    Righe righe = salvato(m);
    righe[static_cast<std::size_t>(c.riga - 1)] = c.testo;
    Verifica v;
    EXPECT_FALSE(pianoApplicazione(righe, m, &v));
    ASSERT_TRUE(v.rifiuto);
    EXPECT_EQ(v.rifiuto->motivo, c.motivo);
    EXPECT_EQ(v.rifiuto->riga, c.rigaRifiuto);
}

// The PROFIBUS file: modules on lines 2..13, protocol 15, address 17..18,
// coil count 20, body count 22, body rows 24..25, coil rows 27..282,
// termination 283..284.
INSTANTIATE_TEST_SUITE_P(
    Configurazione, Rifiuti,
    ::testing::Values(
        Modifica{"ModulesHeaderInLowerCase", 1, "[numero moduli ingressi]", Motivo::Intestazione, 1},
        Modifica{"ModulesHeaderMissing", 1, "", Motivo::Intestazione, 1},
        Modifica{"ModuleCountOfAnotherIsland", 2, " 3 ", Motivo::Diverso, 2},
        Modifica{"ModuleCountEmpty", 2, "", Motivo::NonNumero, 2},
        Modifica{"ModuleCountNotANumber", 2, " 2x ", Motivo::NonNumero, 2},
        Modifica{"ModuleCountWithDecimals", 2, "2.0", Motivo::NonNumero, 2},
        Modifica{"ModuleType", 4, "1 22 0", Motivo::Diverso, 4},      // module type
        Modifica{"UnusedModuleRowFilledIn", 13, "0 -1 -1", Motivo::Diverso, 13},   // unused module row
        Modifica{"ModuleAddressAboveTwo", 5, "1 23 3", Motivo::FuoriLimiti, 5},  // module address
        Modifica{"ModuleAddressNegative", 5, "1 23 -1", Motivo::FuoriLimiti, 5},
        Modifica{"ModuleAddressNotANumber", 5, "1 23 due", Motivo::NonNumero, 5},
        Modifica{"ModuleAddressTakenTwice", 5, "1 23 0", Motivo::FuoriLimiti, 5},  // both modules at 0
        Modifica{"ProtocolOfAnotherIsland", 15, " 2 ", Motivo::Diverso, 15},       // protocol
        Modifica{"ProtocolNotANumber", 15, "PROFIBUS", Motivo::NonNumero, 15},
        Modifica{"AddressHeaderMissing", 17, "[INDIRIZZO SLAVE]", Motivo::IndirizzoMancante, 17},
        Modifica{"ProfibusAddressBelow3", 18, "2", Motivo::FuoriLimiti, 18},     // PROFIBUS takes 3..126
        Modifica{"ProfibusAddressAbove126", 18, "127", Motivo::FuoriLimiti, 18},
        Modifica{"AddressEmpty", 18, "", Motivo::NonNumero, 18},
        Modifica{"AddressNotANumber", 18, "5a", Motivo::NonNumero, 18},
        Modifica{"CoilCountOfAnotherIsland", 20, " 8 ", Motivo::Diverso, 20},       // coil count
        Modifica{"BodyCountOfAnotherIsland", 22, " 3 ", Motivo::Diverso, 22},       // body count
        Modifica{"BodyStations", 24, "8 4", Motivo::Diverso, 24},       // stations
        Modifica{"BodyCoilCount", 25, "2 2", Motivo::Diverso, 25},       // coils of a body
        Modifica{"BodyRowOfOneFieldWraps", 25, "2", Motivo::Diverso, 25},         // field 2 wraps to field 1
        Modifica{"CoilPosition", 27, "0 2 0", Motivo::Diverso, 27},     // position
        Modifica{"CoilIndex32", 27, "32 1 0", Motivo::FuoriLimiti, 27},
        Modifica{"CoilIndexNegative", 27, "-1 1 0", Motivo::FuoriLimiti, 27},
        Modifica{"RelaxFlag2", 27, "0 1 2", Motivo::FuoriLimiti, 27}, // relax flag
        Modifica{"CoilIndexTakenTwice", 28, "0 2 0", Motivo::FuoriLimiti, 28}, // index 0 twice
        Modifica{"CoilRowWithAnEmptyField", 27, "0 1  0", Motivo::NonNumero, 27},  // two spaces: empty field
        Modifica{"RelaxNotANumber", 27, "0 1 x", Motivo::NonNumero, 27},
        Modifica{"CoilIndexBeyond16Bits", 27, "99999 1 0", Motivo::NonNumero, 27},
        Modifica{"UnusedCoilRowWithRelax", 100, "0 0 5", Motivo::FuoriLimiti, 100},
        Modifica{"UnusedCoilRowNotANumber", 100, "zero 0 0", Motivo::NonNumero, 100}),
    [](const ::testing::TestParamInfo<Modifica>& i) { return std::string(i.param.nome); });

TEST(Rifiuti, MissingLinesAnywhereRefuseTheFile)
{
    Model m = isolaProfibus();
    const Righe intero = salvato(m);
    ASSERT_EQ(intero.size(), 284u);
    for (std::size_t n : {0u, 1u, 13u, 17u, 18u, 25u, 26u, 100u, 282u, 283u}) {
        const Righe corto(intero.begin(), intero.begin() + static_cast<long>(n));
        Verifica v;
        EXPECT_FALSE(pianoApplicazione(corto, m, &v)) << n;
        ASSERT_TRUE(v.rifiuto) << n;
        EXPECT_EQ(v.rifiuto->motivo, Motivo::RigaMancante) << n;
        EXPECT_EQ(v.rifiuto->riga, static_cast<int>(n) + 1) << n;
    }
    // Lines after the termination value are ignored.
    Righe lungo = intero;
    lungo.push_back("altro");
    EXPECT_TRUE(pianoApplicazione(lungo, m));
}

TEST(Rifiuti, TheAddressHeaderMustBeWhereTheAddressIs)
{
    // With the module rows unread, an address header among them would make
    // the apply pass read the wrong line as the address.
    Model m = isolaProfibus();
    m.RevAtmel = 45;
    Righe righe = salvato(m);
    righe[5] = IntestazioneIndirizzo;
    Verifica v;
    EXPECT_FALSE(pianoApplicazione(righe, m, &v));
    ASSERT_TRUE(v.rifiuto);
    EXPECT_EQ(v.rifiuto->motivo, Motivo::IndirizzoMancante);
}

TEST(Rifiuti, ValuesNoIslandCanHold)
{
    Model m = isolaDevicenet();
    const Righe buono = salvato(m);
    const auto rifiutato = [&](const Model& modello, std::size_t riga, const char* testo) {
        Righe r = buono;
        r[riga] = testo;
        Verifica v;
        const bool refused = !pianoApplicazione(r, modello, &v);
        return refused && v.rifiuto && v.rifiuto->motivo == Motivo::FuoriLimiti;
    };
    const std::size_t baud = buono.size() - 2, indirizzo = 17;
    EXPECT_TRUE(rifiutato(m, baud, " 8 "));
    EXPECT_TRUE(rifiutato(m, baud, "-1 "));
    EXPECT_FALSE(rifiutato(m, baud, " 7 "));
    EXPECT_TRUE(rifiutato(m, indirizzo, "64"));   // DEVICENET takes 1..63
    EXPECT_TRUE(rifiutato(m, indirizzo, "0"));
    EXPECT_FALSE(rifiutato(m, indirizzo, "63"));
    m.Protocollo = 2;                              // CANOPEN takes 1..127
    Righe canopen = buono;
    canopen[14] = " 2 ";
    canopen[17] = "127";
    EXPECT_TRUE(pianoApplicazione(canopen, m));

    // A position beyond 16, and an enabled coil beyond the bodies' coils, even
    // when the island's model holds the same.
    Model n = isolaDevicenet();
    n.ConfBobine(1).Posizione = 17;
    EXPECT_TRUE(rifiutato(n, 25, "0 17 0"));
    Model o = isolaDevicenet();
    o.ConfBobine(4) = {3, 1};
    EXPECT_TRUE(rifiutato(o, 28, "3 1 0"));
}

TEST(Rifiuti, NoMutatedFileMakesTheApplyPassReadPastItsEnd)
{
    // A file the check accepts is one the apply pass reads to its end without
    // running out of lines or meeting a value it cannot take (it would throw).
    const std::vector<std::string> pezzi = {
        "", " ", "0", " 1 ", "-1", "170", "2 3", "0 0 0", "1 1 1", "31 16 1", "ON",
        IntestazioneProtocollo, IntestazioneModuli, IntestazioneIndirizzo, IntestazioneBobine,
        "x", "5", "99999"};
    std::mt19937 caso(20240607);
    int accettati = 0;
    for (int giro = 0; giro < 3000; ++giro) {
        const Model& m = giro % 2 ? isolaProfibus() : isolaDevicenet();
        Righe righe = salvato(m);
        if (giro % 5 == 0)
            righe.erase(righe.begin(), righe.begin() + 13);  // older layout
        const int mutazioni = 1 + static_cast<int>(caso() % 3);
        for (int k = 0; k < mutazioni && !righe.empty(); ++k) {
            const std::size_t i = caso() % righe.size();
            switch (caso() % 4) {
            case 0:
                righe.erase(righe.begin() + static_cast<long>(i));
                break;
            case 1:
                righe.insert(righe.begin() + static_cast<long>(i), pezzi[caso() % pezzi.size()]);
                break;
            case 2:
                righe[i] = pezzi[caso() % pezzi.size()];
                break;
            default:
                righe.resize(i);
                break;
            }
        }
        try {
            if (pianoApplicazione(righe, m))
                ++accettati;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "round " << giro << ": " << e.what();
            break;
        }
    }
    EXPECT_GT(accettati, 0);  // some changes touch nothing the check reads
}

} // namespace
} // namespace ondrix
