// The file's text form and its writer, byte for byte.

#include "config/Formato.h"
#include "island/Codifica.h"
#include "config/Isole.h"

#include <gtest/gtest.h>

namespace ondrix {
namespace {

using namespace ondrix::test;

// Lines joined with CR LF after each, as the file holds them.
std::string file(std::initializer_list<std::string> righe)
{
    std::string s;
    for (const auto& r : righe)
        s += r + "\r\n";
    return s;
}

std::string ripeti(const std::string& riga, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += riga + "\r\n";
    return s;
}

TEST(EstraiCampo, TakesFieldsBetweenSingleSpaces)
{
    EXPECT_EQ(EstraiCampo("170 3 0", 1), "170");
    EXPECT_EQ(EstraiCampo("170 3 0", 2), "3");
    EXPECT_EQ(EstraiCampo("170 3 0", 3), "0");
    EXPECT_EQ(EstraiCampo("-1 -1 -1", 3), "-1");
    EXPECT_EQ(EstraiCampo("42", 1), "42");
    EXPECT_EQ(EstraiCampo("", 1), "");
    EXPECT_EQ(EstraiCampo("", 3), "");
}

TEST(EstraiCampo, WrapsToTheStartWhenTheRowHasFewerFields)
{
    EXPECT_EQ(EstraiCampo("4 2", 3), "4");  // field 3 of two fields is field 1 again
    EXPECT_EQ(EstraiCampo("4 2", 4), "2");
    EXPECT_EQ(EstraiCampo("7", 2), "7");
}

TEST(EstraiCampo, TwoSpacesMakeAnEmptyField)
{
    EXPECT_EQ(EstraiCampo("1  2", 2), "");
    EXPECT_EQ(EstraiCampo("1  2", 3), "2");
    EXPECT_EQ(EstraiCampo(" 5 6", 1), "");
    EXPECT_EQ(EstraiCampo("5 6 ", 3), "");
}

TEST(Formato, NumberLinesReserveTheSignAndEndInABlank)
{
    EXPECT_EQ(rigaNumero(3), " 3 ");
    EXPECT_EQ(rigaNumero(-1), "-1 ");
    EXPECT_EQ(rigaNumero(0), " 0 ");
    EXPECT_EQ(rigaNumero(256), " 256 ");
}

TEST(Formato, LinesEndAtCrLfCrOrLf)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(righeDi("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(righeDi("a\nb\rc"), (V{"a", "b", "c"}));
    EXPECT_EQ(righeDi("a\r\n\r\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(righeDi("\r\n"), (V{""}));
    EXPECT_EQ(righeDi(""), V{});
}

TEST(Formato, TextIsWindows1252OnDiskAndUtf8Inside)
{
    EXPECT_EQ(utf8ACp1252("N\u00b0 \u00e8 \u20ac"), "N\xB0 \xE8 \x80");
    EXPECT_EQ(utf8ACp1252("\u4e2d"), "?");     // not in the code page
    EXPECT_EQ(utf8ACp1252("a\xFF" "b"), "a?b"); // not UTF-8
    // C1 controls are no characters of the code page, also where a byte
    // reads back as one.
    EXPECT_EQ(utf8ACp1252("\u0080\u0081\u008d\u009f"), "????");
    EXPECT_EQ(cp1252AUtf8("N\xB0 \x80"), "N\u00b0 \u20ac");
    EXPECT_EQ(decodificaTesto("N\xB0"), "N\u00b0");             // Windows-1252
    EXPECT_EQ(decodificaTesto("\xEF\xBB\xBFN\u00b0"), "N\u00b0"); // UTF-8, mark dropped
}

TEST(Scrittura, ProfibusIslandWithTwoModules)
{
    const Model& m = isolaProfibus();
    const std::string atteso =
        file({"[NUMERO MODULI INGRESSI]", " 2 ", "[TIPO - FW - INDIRIZZO]", "0 22 0", "1 23 1"}) +
        ripeti("-1 -1 -1", 8) +
        file({"[PROTOCOLLO]", " 1 ", "PROFIBUS", "[INDIRIZZO PROFIBUS SLAVE]", "5",
              "[NUMERO TOTALE BOBINE]", " 7 ", "[NUMERO DI ESPANSIONI]", " 2 ",
              "[TIPO ESPANSIONE - N\xB0 BOBINE]", "4 4", "2 3",
              "[INDICE PROFIBUS BOBINE - POSIZIONE FISICA - RELAX]",
              // relax looked up by index; 9 is in no diagnosis row
              "0 1 0", "1 2 1", "2 3 0", "3 4 0", "4 1 1", "170 2 0", "9 3 0"}) +
        ripeti("0 0 0", 249) + file({"[RESISTENZA TERMINAZIONE]", "ON"});
    EXPECT_EQ(scriviConfigurazione(m, "INDIRIZZO SLAVE:  5 ", m.testi.CaptTerminazioneOff), atteso);
}

TEST(Scrittura, DevicenetHeadOnlyWithoutModules)
{
    const Model& m = isolaDevicenet();
    const std::string atteso =
        file({"[NUMERO MODULI INGRESSI]", " 0 ", "[TIPO - FW - INDIRIZZO]"}) +
        ripeti("-1 -1 -1", 10) +
        file({"[PROTOCOLLO]", " 3 ", "DEVICENET", "[INDIRIZZO PROFIBUS SLAVE]", "12",
              "[NUMERO TOTALE BOBINE]", " 3 ", "[NUMERO DI ESPANSIONI]", " 1 ",
              "[TIPO ESPANSIONE - N\xB0 BOBINE]", "2 3",
              "[INDICE PROFIBUS BOBINE - POSIZIONE FISICA - RELAX]", "0 1 0", "1 2 0",
              "2 4 1"}) +
        ripeti("0 0 0", 253) + file({"[BAUD RATE]", " 1 ", "250 Kbit/s"});
    const std::string scritto = scriviConfigurazione(m, "NODE:12", "250 Kbit/s");
    EXPECT_EQ(scritto, atteso);
    // The coil header of a head-only island is line 25.
    EXPECT_EQ(righeDi(scritto)[24], IntestazioneBobine);
}

TEST(Scrittura, TerminationAndOtherProtocols)
{
    Model m = isolaProfibus();
    // Any caption but the switch-off one means the termination is off.
    for (const std::string& caption : {m.testi.CaptTerminazioneOn, std::string(), std::string("terminazione off")}) {
        const auto righe = righeDi(scriviConfigurazione(m, "A: 5", caption));
        EXPECT_EQ(righe.back(), "OFF") << caption;
    }
    // An unknown protocol has no name line and nothing after the coil rows.
    m.Protocollo = 7;
    const auto righe = righeDi(scriviConfigurazione(m, "A: 5", m.testi.CaptTerminazioneOff));
    EXPECT_EQ(righe[15], IntestazioneIndirizzo);
    EXPECT_EQ(righe.size(), 281u);
    EXPECT_EQ(righe.back(), "0 0 0");
}

TEST(Scrittura, ModelTextsGoOutInTheCodePage)
{
    Model m = isolaDevicenet();
    m.TestiBaudRate(2) = "250 kbit/s \u00b1";
    const std::string scritto = scriviConfigurazione(m, "NODO: 1\u00b0", "");
    EXPECT_NE(scritto.find("\r\n1\xB0\r\n"), std::string::npos);
    EXPECT_NE(scritto.find("\r\n250 kbit/s \xB1\r\n"), std::string::npos);
    // An index that has no text gives an empty text line.
    m.IndiceBaudRate = 9;
    EXPECT_EQ(righeDi(scriviConfigurazione(m, "", "")).back(), "");
}

} // namespace
} // namespace ondrix
