// The configuration readout's parsers on literal reply texts: the layouts the
// island sends, their edge cases, and hostile replies (no crash, no hang,
// every count within its table).

#include "island/Lettura.h"
#include "island/Risposte.h"

#include <gtest/gtest.h>

#include <string>

namespace ondrix {
namespace {

const std::string TestaValvole = "ESP\tBOB\tPOSTI\tIND\tPOS\r\n";  // 23 characters
const std::string TestaDiagnosi = "STATO BOBINE\r\n";            // 14
const std::string TestaRelax = "RELAX BOBINE\r\n";               // 14
const std::string TestaRevFw = "FIRMWARE REV:\r\n";              // 15
const std::string TestaIngressi = "INGRESSI DIGITALI: MODULI\r\n"; // 27

// A body line with its coils as the island lays them out.
std::string corpo(int numero, int posti, std::vector<std::pair<int, int>> bobine, bool primo = false,
                  int numBobine = -1)
{
    std::string r = primo ? "" : "\n";
    r += std::to_string(numero) + "\t" + std::to_string(numBobine < 0 ? bobine.size() : numBobine) +
         "\t" + std::to_string(posti) + "\t";
    for (std::size_t j = 0; j < bobine.size(); ++j) {
        if (j > 0)
            r += "\n  ";
        r += std::to_string(bobine[j].first) + "\t" + std::to_string(bobine[j].second) + "\r";
    }
    return r;
}

std::string diagnosi(const std::string& lettere)  // one letter per slot, 32
{
    std::string r = TestaDiagnosi;
    for (int i = 0; i < 32; ++i)
        r += std::to_string(i) + "\t" + lettere[static_cast<std::size_t>(i)] + "XX\r\n";
    return r + "OK";
}

TEST(ValvolePresenti, BodiesAndCoilsOfTheUsualLayout)
{
    Model m;
    std::string r = TestaValvole + corpo(0, 8, {{0, 1}, {1, 2}, {170, 6}}, true) +
                    corpo(1, 4, {{14, 1}, {15, 0}}) + "OK";
    LeggiValvolePresenti(r, m);
    ASSERT_EQ(m.NumEspansioni, 2);
    ASSERT_EQ(m.TotaleBobine, 5);
    EXPECT_EQ(m.Espansioni(1).Numero, 0);
    EXPECT_EQ(m.Espansioni(1).NumBobine, 3);
    EXPECT_EQ(m.Espansioni(1).NumPosti, 8);
    EXPECT_EQ(m.Espansioni(2).Numero, 1);
    EXPECT_EQ(m.Espansioni(2).NumPosti, 4);
    EXPECT_EQ(m.ConfBobine(3).Indice, 170);
    EXPECT_EQ(m.ConfBobine(3).Posizione, 6);
    EXPECT_EQ(m.ConfBobine(4).Indice, 14);
    EXPECT_EQ(m.ConfBobine(5).Posizione, 1) << "a coil at position 0 is stored at position 1";
    EXPECT_TRUE(r.empty());
}

TEST(ValvolePresenti, BodyWithZeroCoilsCountsAsOneAndConsumesOneCoilLine)
{
    Model m;
    std::string r = TestaValvole + corpo(0, 8, {{255, 0}}, true, 0) + corpo(1, 2, {{3, 4}}) + "OK";
    LeggiValvolePresenti(r, m);
    ASSERT_EQ(m.NumEspansioni, 2);
    EXPECT_EQ(m.Espansioni(1).NumBobine, 1);
    EXPECT_EQ(m.ConfBobine(1).Indice, 255);
    EXPECT_EQ(m.ConfBobine(1).Posizione, 1);
    EXPECT_EQ(m.ConfBobine(2).Indice, 3);
    EXPECT_EQ(m.TotaleBobine, 2);
}

TEST(ValvolePresenti, HostileRepliesEndWithinTheBounds)
{
    {  // 20 bodies of 8 coils: the list stops at 16 bodies
        Model m;
        std::string r = TestaValvole;
        for (int b = 0; b < 20; ++b) {
            std::vector<std::pair<int, int>> bob;
            for (int j = 1; j <= 8; ++j)
                bob.push_back({j, j});
            r += corpo(b, 8, bob, b == 0);
        }
        r += "OK";
        LeggiValvolePresenti(r, m);
        EXPECT_EQ(m.NumEspansioni, 16);
        EXPECT_EQ(m.TotaleBobine, 128);
    }
    {  // a full island: 16 bodies of 16 coils, 256 rows, the last body read too
        Model m;
        std::string r = TestaValvole;
        for (int b = 0; b < 16; ++b) {
            std::vector<std::pair<int, int>> bob;
            for (int j = 1; j <= 16; ++j)
                bob.push_back({b, j});
            r += corpo(b, 8, bob, b == 0);
        }
        r += "OK";
        LeggiValvolePresenti(r, m);
        EXPECT_EQ(m.NumEspansioni, 16);
        EXPECT_EQ(m.TotaleBobine, 256);
        EXPECT_EQ(m.Espansioni(16).Numero, 15);
        EXPECT_EQ(m.ConfBobine(256).Indice, 15);
        EXPECT_EQ(m.ConfBobine(256).Posizione, 16);
    }
    {  // 3 bodies of 100 coils: the third would pass 256 coils
        Model m;
        std::string r = TestaValvole;
        for (int b = 0; b < 3; ++b) {
            std::vector<std::pair<int, int>> bob(100, {1, 1});
            r += corpo(b, 8, bob, b == 0);
        }
        r += "OK";
        LeggiValvolePresenti(r, m);
        EXPECT_EQ(m.NumEspansioni, 2);
        EXPECT_EQ(m.TotaleBobine, 200);
    }
    {  // a trailing line feed after the OK: the loop ends, nothing phantom counted
        Model m;
        std::string r = TestaValvole + corpo(0, 8, {{0, 1}}, true) + "OK\n";
        LeggiValvolePresenti(r, m);
        EXPECT_EQ(m.NumEspansioni, 1);
        EXPECT_EQ(m.TotaleBobine, 1);
    }
    {  // neither TAB nor CR: nothing consumed, no body
        Model m;
        std::string r = TestaValvole + "garbage without separatorsOK";
        LeggiValvolePresenti(r, m);
        EXPECT_EQ(m.NumEspansioni, 0);
        EXPECT_EQ(m.TotaleBobine, 0);
        // No TAB but a CR: no body line either.
        std::string r2 = TestaValvole + "garbage\rOK";
        LeggiValvolePresenti(r2, m);
        EXPECT_EQ(m.NumEspansioni, 0);
    }
    {  // a negative or huge coil count ends the list
        Model m;
        std::string r = TestaValvole + corpo(0, 8, {{0, 1}}, true) + "\n1\t-3\t8\t0\t1\rOK";
        LeggiValvolePresenti(r, m);
        EXPECT_EQ(m.NumEspansioni, 1);
        std::string r2 = TestaValvole + "0\t30000\t8\t0\t1\rOK";
        LeggiValvolePresenti(r2, m);
        EXPECT_EQ(m.NumEspansioni, 0);
        EXPECT_EQ(m.TotaleBobine, 0);
    }
    {  // empty and truncated replies fail the step; the counts keep what they had
        Model m;
        m.NumEspansioni = 2;
        std::string vuota;
        EXPECT_THROW(LeggiValvolePresenti(vuota, m), ParseError);
        std::string corta = TestaValvole.substr(0, 10);
        EXPECT_THROW(LeggiValvolePresenti(corta, m), ParseError);
        EXPECT_EQ(m.NumEspansioni, 2);
    }
    {  // cut in the middle of a body (4 coils announced, 1 sent): only the whole body before it
        Model m;
        std::string r = TestaValvole + corpo(0, 8, {{0, 1}, {1, 2}}, true) + "\n1\t4\t4\t14\t1\rOK";
        LeggiValvolePresenti(r, m);
        EXPECT_EQ(m.NumEspansioni, 1);
        EXPECT_EQ(m.TotaleBobine, 2);
    }
}

TEST(Diagnosi, LettersSetStatesAndAbsentCoilsLoseTheirIndex)
{
    Model m;
    std::string lettere(32, 'A');
    lettere[0] = 'P';
    lettere[1] = 'C';
    lettere[2] = 'I';
    lettere[3] = 'X';
    m.Diagnosi(4).Stato = 5;
    std::string r = diagnosi(lettere);
    LeggiDiagnosi(r, m);
    EXPECT_EQ(m.Diagnosi(1).Indice, 0);
    EXPECT_EQ(m.Diagnosi(1).Stato, stato::Presente);
    EXPECT_EQ(m.Diagnosi(2).Stato, stato::GuastaC);
    EXPECT_EQ(m.Diagnosi(3).Stato, stato::GuastaI);
    EXPECT_EQ(m.Diagnosi(4).Indice, 3);
    EXPECT_EQ(m.Diagnosi(4).Stato, 5) << "an unknown letter leaves the state";
    EXPECT_EQ(m.Diagnosi(5).Indice, -1) << "absent, whatever index was printed";
    EXPECT_EQ(m.Diagnosi(5).Stato, stato::Assente);
    EXPECT_EQ(m.Diagnosi(32).Indice, -1);
}

TEST(Diagnosi, ShortOrMalformedRepliesStopKeepingTheRowsRead)
{
    Model m;
    m.Diagnosi(3).Indice = 77;
    std::string r = TestaDiagnosi + "0\tP\r\n1\tP\r\n";  // only two records
    EXPECT_FALSE(LeggiDiagnosi(r, m));
    EXPECT_EQ(m.Diagnosi(2).Indice, 1);
    EXPECT_EQ(m.Diagnosi(3).Indice, 77);
    std::string vuota;
    EXPECT_FALSE(LeggiDiagnosi(vuota, m));
    std::string nonNumero = TestaDiagnosi + "x\tP\r\n";
    EXPECT_FALSE(LeggiDiagnosi(nonNumero, m));
}

TEST(Relax, OnlyTheWordWithExactlyOneCharacterBeforeTheCrCounts)
{
    Model m;
    for (int i = 1; i <= 32; ++i)
        m.Diagnosi(i).Relax = 7;
    std::string r = TestaRelax + "0\tCLOSE \r\n1\tOPEN \r\n2\tCLOSE\r\n3\tOPEN  \r\n4\tclose \r\n";
    for (int i = 5; i < 32; ++i)
        r += std::to_string(i) + "\tOPEN \r\n";
    r += "OK";
    LeggiRelax(r, m);
    EXPECT_EQ(m.Diagnosi(1).Relax, 1);
    EXPECT_EQ(m.Diagnosi(2).Relax, 0);
    EXPECT_EQ(m.Diagnosi(3).Relax, 7) << "no character between word and CR";
    EXPECT_EQ(m.Diagnosi(4).Relax, 7) << "two characters between word and CR";
    EXPECT_EQ(m.Diagnosi(5).Relax, 7) << "lower case";
    EXPECT_EQ(m.Diagnosi(32).Relax, 0);

    std::string corta = TestaRelax + "0\tCLOSE \r\n1\tOPEN";  // no CR after the second word
    EXPECT_THROW(LeggiRelax(corta, m), ParseError);
}

TEST(RevFw, MainControllerBodiesAndTheRestForTheModules)
{
    Model m;
    m.NumEspansioni = 2;
    std::string r = TestaRevFw + "ATMEL\t47\tCPU\r\nPIC 0\t45\tESP\r\nPIC 1\t39\tESP\r\n" +
                    "DIG 1\t23 A\t16IN\r\nOK";
    std::optional<std::string> testoAtmel;
    std::string resto;
    LeggiRevFw(r, m, testoAtmel, resto);
    EXPECT_EQ(m.RevAtmel, 47);
    EXPECT_EQ(testoAtmel, "47");
    EXPECT_EQ(m.Espansioni(1).RevPic, 45);
    EXPECT_EQ(m.Espansioni(2).RevPic, 39);
    EXPECT_EQ(resto, "\nDIG 1\t23 A\t16IN\r\n");

    // A revision that is not a number fails the step; what was read stays.
    Model m2;
    m2.NumEspansioni = 1;
    m2.Espansioni(1).RevPic = 9;
    std::string cattiva = TestaRevFw + "ATMEL\t46\tCPU\r\nPIC 0\tXX\tESP\r\nOK";
    testoAtmel.reset();
    EXPECT_THROW(LeggiRevFw(cattiva, m2, testoAtmel, resto), ParseError);
    EXPECT_EQ(m2.RevAtmel, 46);
    EXPECT_EQ(testoAtmel, "46");
    EXPECT_EQ(m2.Espansioni(1).RevPic, 9);
}

TEST(InterfacciaEBaudRate, LettersTextsAndTheDigitBeforeTheCr)
{
    EXPECT_EQ(LeggiInterfaccia("PROFIBUS\r\nOK"), 'P');
    EXPECT_EQ(LeggiInterfaccia("CANOPEN\r\nOK"), 'C');
    EXPECT_EQ(LeggiInterfaccia("DEVICENET\r\nOK"), 'D');
    EXPECT_EQ(LeggiInterfaccia("ERROR"), 0);
    EXPECT_EQ(LeggiInterfaccia(""), 0);

    Model m;
    m.TestiBaudRate(8) = "keep";
    std::string suffisso;
    EXPECT_EQ(ApplicaInterfaccia('D', m, suffisso), 3);
    EXPECT_EQ(suffisso, " - DEVICENET");
    EXPECT_EQ(m.TestiBaudRate(1), "125 Kbit/s");
    EXPECT_EQ(m.TestiBaudRate(3), "500 Kbit/s");
    EXPECT_EQ(m.TestiBaudRate(4), "");
    EXPECT_EQ(m.TestiBaudRate(8), "keep") << "DeviceNet sets only seven texts";
    EXPECT_EQ(ApplicaInterfaccia('C', m, suffisso), 2);
    EXPECT_EQ(m.TestiBaudRate(8), "1 Mbit/s");
    EXPECT_EQ(ApplicaInterfaccia('P', m, suffisso), 1);
    EXPECT_EQ(suffisso, " - PROFIBUS");
    EXPECT_EQ(ApplicaInterfaccia(0, m, suffisso), 0);

    EXPECT_EQ(LeggiBaudRate("BAUD RATE: 3 \r\nOK"), 3);
    EXPECT_EQ(LeggiBaudRate("7 \r\nOK"), 7);
    EXPECT_EQ(LeggiBaudRate("BAUD RATE: x \r\nOK"), 0);
    EXPECT_THROW(LeggiBaudRate("BAUD RATE: 8 \r\nOK"), ParseError) << "no ninth option button";
    EXPECT_THROW(LeggiBaudRate("BAUD RATE: 9 \r\nOK"), ParseError);
    EXPECT_THROW(LeggiBaudRate("3\r\nOK"), ParseError);
    EXPECT_THROW(LeggiBaudRate("no carriage return"), ParseError);
    EXPECT_THROW(LeggiBaudRate(""), ParseError);
}

TEST(StatoValvola, OnAnywhereMeansEnergised)
{
    EXPECT_TRUE(LeggiStatoValvola("ON\r\nOK"));
    EXPECT_TRUE(LeggiStatoValvola("CONTROL\r\nOK")) << "inside a longer word";
    EXPECT_FALSE(LeggiStatoValvola("OFF\r\nOK"));
    EXPECT_FALSE(LeggiStatoValvola("on\r\nOK"));
    EXPECT_FALSE(LeggiStatoValvola(""));
}

std::string modulo(int k, const std::string& tipo, int n, bool primo = false)
{
    std::string r = (primo ? "" : "\n") + std::string("MOD ") + std::to_string(k) + "\t" + tipo + "\t";
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            r += "\n ";
        r += std::to_string(i) + "\tIN\t" + (i % 2 ? "ON" : "OFF") + "\r";
    }
    return r;
}

std::string revModuli(int n)
{
    std::string r;
    for (int k = 1; k <= n; ++k)
        r += "DIG " + std::to_string(k) + "\t2" + std::to_string(k % 10) + " A\t16IN\r\n";
    return r;
}

TEST(Ingressi, ModulesInputsAndRevisionsFromTheFirmwareList)
{
    Model m;
    m.Moduli.fill({-1, -1, -1, -1, -1});
    std::string r = TestaIngressi + modulo(1, "16IN", 16, true) + modulo(2, "8IN", 8) + "OK";
    std::string revFw = revModuli(2);
    LeggiModuli(r, m, revFw);
    ASSERT_EQ(m.NumModuli, 2);
    EXPECT_EQ(m.TotaleIngressi, 24);
    EXPECT_EQ(m.Moduli(1).Tipo, 0);
    EXPECT_EQ(m.Moduli(1).NumIngressi, 16);
    EXPECT_EQ(m.Moduli(1).RevPic, 21);
    EXPECT_EQ(m.Moduli(1).Indirizzo, -1);
    EXPECT_EQ(m.Moduli(2).Tipo, 1);
    EXPECT_EQ(m.Moduli(2).Ingressi, 8);
    EXPECT_EQ(m.Moduli(2).RevPic, 22);
    EXPECT_EQ(m.NumeriIngressi(17), 0);
    EXPECT_EQ(m.StatoIngressi(1), 0);
    EXPECT_EQ(m.StatoIngressi(2), 1);
    EXPECT_EQ(m.StatoIngressi(24), 1);
    EXPECT_EQ(revFw, "\n") << "each module consumes its firmware line";
}

TEST(Ingressi, UnknownTypeEndsTheListKeepingTheModulesBefore)
{
    Model m;
    m.Moduli.fill({-1, -1, -1, -1, -1});
    std::string r = TestaIngressi + modulo(1, "8IN", 8, true) + modulo(2, "4OUT", 4) +
                    modulo(3, "8IN", 8) + "OK";
    std::string revFw = revModuli(3);
    LeggiModuli(r, m, revFw);
    EXPECT_EQ(m.NumModuli, 1);
    EXPECT_EQ(m.TotaleIngressi, 8);
    EXPECT_EQ(m.Moduli(2).Tipo, -1);
}

TEST(Ingressi, HostileRepliesKeepTheBoundsAndEnd)
{
    {  // 12 modules of 8 inputs: 6 fit the 50 inputs
        Model m;
        std::string r = TestaIngressi;
        for (int k = 1; k <= 12; ++k)
            r += modulo(k, "8IN", 8, k == 1);
        r += "OK";
        std::string revFw = revModuli(12);
        LeggiModuli(r, m, revFw);
        EXPECT_EQ(m.NumModuli, 6);
        EXPECT_EQ(m.TotaleIngressi, 48);
    }
    {  // 12 modules of 16 inputs: 3 fit
        Model m;
        std::string r = TestaIngressi;
        for (int k = 1; k <= 12; ++k)
            r += modulo(k, "16IN", 16, k == 1);
        r += "OK";
        std::string revFw = revModuli(12);
        LeggiModuli(r, m, revFw);
        EXPECT_EQ(m.NumModuli, 3);
        EXPECT_EQ(m.TotaleIngressi, 48);
    }
    {  // a trailing line feed leaves "O" behind: the reading ends there, the module read stays
        Model m;
        std::string r = TestaIngressi + modulo(1, "8IN", 8, true) + "OK\n";
        std::string revFw = revModuli(1);
        EXPECT_FALSE(LeggiModuli(r, m, revFw));
        EXPECT_EQ(m.NumModuli, 1);
        EXPECT_EQ(m.TotaleIngressi, 8);
        std::string senzaTab = TestaIngressi + "nothing here\rOK";
        EXPECT_FALSE(LeggiModuli(senzaTab, m, revFw));
        EXPECT_EQ(m.NumModuli, 0);
    }
    {  // a module cut short is not counted
        Model m;
        std::string r = TestaIngressi + modulo(1, "8IN", 8, true) + "\nMOD 2\t16IN\t0\tIN\tON\rOK";
        std::string revFw = revModuli(2);
        EXPECT_FALSE(LeggiModuli(r, m, revFw));
        EXPECT_EQ(m.NumModuli, 1);
        EXPECT_EQ(m.TotaleIngressi, 8);
    }
    {
        Model m;
        std::string vuota;
        std::string revFw;
        EXPECT_FALSE(LeggiModuli(vuota, m, revFw));
    }
}

TEST(IndirizziModuli, AddressBetweenIndAndTheNextCapitalO)
{
    Model m;
    m.NumModuli = 2;
    m.Moduli.fill({-1, -1, -1, -1, -1});
    std::string r = "CONFIGURAZIONE\r\nSLAVE ADDRESS: 5\r\nESP 0 POSTI 8\t 1:  1:\t  0\r\n"
                    "NR.DIG IN: 2\r\nMOD 1 16IN IND: 0 ON\r\nMOD 2 8IN IND: 2 OFF\r\nOK";
    LeggiIndirizziModuli(r, m);
    EXPECT_EQ(m.Moduli(1).Indirizzo, 0);
    EXPECT_EQ(m.Moduli(2).Indirizzo, 2);

    std::string senzaMarcatore = "CONFIGURAZIONE\r\nOK";
    EXPECT_THROW(LeggiIndirizziModuli(senzaMarcatore, m), ParseError);
    m.NumModuli = 3;
    std::string unModulo = "NR.DIG IN: 1\r\nMOD 1 16IN IND: 4 ON\r\n";
    EXPECT_THROW(LeggiIndirizziModuli(unModulo, m), ParseError);
    EXPECT_EQ(m.Moduli(1).Indirizzo, 4);
}

TEST(IndirizzoSlave, TextAfterTheColonWithoutTheOk)
{
    EXPECT_EQ(LeggiIndirizzoSlave("SLAVE ADDRESS: 5\r\nOK"), "5");
    EXPECT_EQ(LeggiIndirizzoSlave("SLAVE ADDRESS:  126 \r\nOK"), "126");
    EXPECT_EQ(LeggiIndirizzoSlave("42\r\nOK"), "42");
    EXPECT_THROW(LeggiIndirizzoSlave("OK"), ParseError);
    EXPECT_THROW(LeggiIndirizzoSlave(""), ParseError);
}

} // namespace
} // namespace ondrix
